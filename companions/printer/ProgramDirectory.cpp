#include "printer/ProgramDirectory.h"

#include "store/FileNames.h"

#include <climits>
#include <unistd.h>

std::string ProgramDirectory() {
    char buf[PATH_MAX];
    ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return "./";
    return FileNames::directoryOf(std::string(buf, static_cast<size_t>(n)));
}
