#include "store/TextLines.h"

#include "store/IoError.h"

#include <fstream>
#include <unistd.h>

std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        // A file that is there but cannot be opened is not a missing one.
        if (::access(path.c_str(), F_OK) == 0) throw IoError(path, "Open error");
        return {};
    }
    std::string bytes(static_cast<size_t>(in.tellg()), '\0');
    in.seekg(0);
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad() || static_cast<size_t>(in.gcount()) != bytes.size())
        throw IoError(path, "Read error");
    return bytes;
}
