// zorvi-collect OFFICEDIR: merges the days the tills have sent into the
// office's books. Exit status 0 when all holds, 1 when something was found
// and left out, 2 when the office directory cannot be used.
//
// zorvi-collect --publish-prices OFFICEDIR: puts the office's price list
// where the tills take it from at their next start.
#include "platform/LocalClock.h"
#include "tills/Collect.h"
#include "tills/PublishedPrices.h"

#include <cstdio>
#include <ctime>
#include <string>

int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--help" || first == "-h") {
        std::printf("Usage: zorvi-collect OFFICEDIR\n"
                    "       zorvi-collect --publish-prices OFFICEDIR\n"
                    "Checks the days received in OFFICEDIR/Tills/Tnn/ against their manifests,\n"
                    "adds each new one once to OFFICEDIR's Daybyday.dat (each till's lines,\n"
                    "set in by a blank, and the total of each date) and Spersons.dat,\n"
                    "makes Balance.dat and Balance.Tot again from all days collected, and\n"
                    "acknowledges it in OFFICEDIR/Acks/Tnn/ for the till.\n"
                    "With --publish-prices it copies OFFICEDIR/Pricelist.dat into\n"
                    "OFFICEDIR/Prices/ (shared with the tills' Prices/ folders), and each till\n"
                    "takes it at its next start. A list that fails the price list editor's\n"
                    "checks, which the tills make too, is not published (exit status 1).\n");
        return 0;
    }
    if (argc == 3 && first == "--publish-prices") {
        const PricesPublished published = PublishPrices(argv[2], LocalClock().now());
        std::fprintf(published.status == 0 ? stdout : stderr, "%s\n", published.message.c_str());
        return published.status;
    }
    if (argc != 2 || first.empty() || first.front() == '-') {
        std::fprintf(stderr, "Usage: zorvi-collect OFFICEDIR\n"
                             "       zorvi-collect --publish-prices OFFICEDIR\n");
        return 2;
    }
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    char today[16] = "";
    if (localtime_r(&now, &local)) std::strftime(today, sizeof today, "%Y%m%d", &local);
    const CollectResult result = Collect(first, today);
    for (const std::string& line : result.merged)
        std::printf("%s\n", line.c_str());
    for (const std::string& line : result.findings)
        std::fprintf(stderr, "%s\n", line.c_str());
    if (result.unusable) return 2;
    return result.findings.empty() ? 0 : 1;
}
