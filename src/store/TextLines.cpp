#include "store/TextLines.h"

#include "store/IoError.h"

#include <fstream>
#include <iterator>

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) throw IoError(path, "Read error");
    return bytes;
}
