// zorvi-verify [SHOPDIR]: checks the sealed takings of a shop without its
// screens. Exit status 0 when all holds, 1 when something differs, 2 when
// the shop cannot be read.
#include "takings/SealCheck.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc > 2 || (argc == 2 && std::string(argv[1]).rfind("-", 0) == 0)) {
        std::fprintf(stderr, "Usage: zorvi-verify [SHOPDIR]\n");
        return 2;
    }
    std::string dir = argc == 2 ? argv[1] : ".";
    if (!dir.empty() && dir.back() != '/') dir += '/';
    const SealCheck check = CheckSeals(dir);
    for (const std::string& line : SealCheckReport(check))
        std::printf("%s\n", line.c_str());
    return SealCheckStatus(check);
}
