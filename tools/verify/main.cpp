// zorvi-verify [SHOPDIR]: checks the sealed takings of a shop without its
// screens. Exit status 0 when all holds, 1 when something differs, 2 when
// the shop cannot be read.
//
// zorvi-verify --reset-pin SHOPDIR: removes a forgotten owner PIN. It asks
// nothing, so whoever can write the shop's directory can do it.
#include "platform/LocalClock.h"
#include "store/OwnerPin.h"
#include "takings/SealCheck.h"

#include <cstdio>
#include <string>

namespace {

std::string shopDir(std::string dir) {
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return dir;
}

int resetPin(const std::string& dir) {
    const OwnerPinReset reset = ResetOwnerPin(shopDir(dir), LocalClock().now());
    std::printf("%s\n", reset.message.c_str());
    return reset.outcome == OwnerPinReset::Outcome::Failed ? 2 : 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "--reset-pin") return resetPin(argv[2]);
    if (argc > 2 || (argc == 2 && std::string(argv[1]).rfind('-', 0) == 0)) {
        std::fprintf(stderr, "Usage: zorvi-verify [SHOPDIR]\n"
                             "       zorvi-verify --reset-pin SHOPDIR\n");
        return 2;
    }
    const std::string dir = shopDir(argc == 2 ? argv[1] : ".");
    const SealCheck check = CheckSeals(dir);
    for (const std::string& line : SealCheckReport(check))
        std::printf("%s\n", line.c_str());
    return SealCheckStatus(check);
}
