// zorvi-script SHOPDIR [SCRIPT]: rings up sales and closes the day in a shop
// directory without the screens, through the program's own till and close.
// Exit status 0 when every step was taken, 1 when one was refused, 2 when
// the shop cannot be used. Dates and times take the system's regional
// settings, through the same seam as the program's.
#include "app/TillScript.h"
#include "platform/QtSystem.h"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

int main(int argc, char** argv) {
    const std::string first = argc > 1 ? argv[1] : "";
    if (first == "--help" || first == "-h") {
        std::printf("%s", TillScriptUsage().c_str());
        return 0;
    }
    if (argc < 2 || argc > 3 || first.empty() || first.front() == '-') {
        std::fprintf(stderr, "Usage: zorvi-script SHOPDIR [SCRIPT]\n");
        return 2;
    }
    std::string script;
    if (argc == 3) {
        std::ifstream in(argv[2], std::ios::binary);
        if (!in) {
            std::fprintf(stderr, "%s: cannot be read\n", argv[2]);
            return 2;
        }
        script.assign(std::istreambuf_iterator<char>(in), {});
    } else {
        script.assign(std::istreambuf_iterator<char>(std::cin), {});
    }
    const TillScriptRun run = RunTillScript(first, script, QtRegional().formats());
    for (const std::string& line : run.told)
        std::fprintf(stderr, "%s\n", line.c_str());
    for (const std::string& line : run.output)
        std::printf("%s\n", line.c_str());
    return run.status;
}
