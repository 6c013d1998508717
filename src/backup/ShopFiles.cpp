#include "backup/ShopFiles.h"

#include <algorithm>
#include <filesystem>
#include <strings.h>
#include <system_error>

namespace fs = std::filesystem;

namespace {

bool same(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool endsWith(std::string_view name, std::string_view end) {
    return name.size() >= end.size() && same(name.substr(name.size() - end.size()), end);
}

bool startsWith(std::string_view name, std::string_view start) {
    return name.size() >= start.size() && same(name.substr(0, start.size()), start);
}

// A plain file, also through a link; never a device, a pipe or a folder.
bool plainFile(const fs::directory_entry& entry) {
    std::error_code error;
    return entry.is_regular_file(error) && !error;
}

bool realFolder(const fs::directory_entry& entry) {
    std::error_code error;
    return entry.is_directory(error) && !entry.is_symlink(error);
}

bool sameFolder(const fs::path& a, const std::string& b) {
    std::error_code error;
    return !b.empty() && fs::equivalent(a, b, error) && !error;
}

void walk(const fs::path& dir, const std::string& prefix, const std::string& skipDir,
          ShopFileList& out) {
    std::error_code error;
    fs::directory_iterator it(dir, error);
    if (error) {
        out.unreadable.push_back((prefix.empty() ? dir.string() : prefix) + " (" + error.message() +
                                 ")");
        return;
    }
    for (; it != fs::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (realFolder(*it)) {
            if ((prefix.empty() && ShopFiles::leftOutFolder(name)) ||
                sameFolder(it->path(), skipDir))
                continue;
            walk(it->path(), prefix + name + "/", skipDir, out);
        } else if (plainFile(*it) && ShopFiles::backedUp(name) &&
                   !(prefix.empty() && ShopFiles::programFile(name))) {
            out.names.push_back(prefix + name);
        }
    }
    if (error) out.unreadable.push_back(dir.string() + " (" + error.message() + ")");
}

} // namespace

namespace ShopFiles {

bool backedUp(std::string_view name) {
    // Names with line breaks cannot stand in the manifest.
    if (name.find_first_of("\r\n") != std::string_view::npos) return false;
    for (std::string_view work :
         {".wrk", ".new", ".bak", ".lck", ".~stg", ".~tmp", ".~probe", ".~part", ".tmp"})
        if (endsWith(name, work)) return false;
    return !same(name, "Commit.jnl");
}

bool leftOutFolder(std::string_view name) {
    return same(name, "Backup") || same(name, "Outbox") || startsWith(name, "replaced-");
}

bool programFile(std::string_view name) {
    return same(name, "zorvi") || startsWith(name, "zorvi-") || endsWith(name, ".exe") ||
           startsWith(name, "hlpf.");
}

ShopFileList list(const std::string& shopDir, const std::string& skipDir) {
    ShopFileList out;
    walk(shopDir.empty() ? fs::path(".") : fs::path(shopDir), {}, skipDir, out);
    std::sort(out.names.begin(), out.names.end());
    return out;
}

bool holdsShopData(const std::string& dir) {
    std::error_code error;
    if (!fs::is_directory(dir, error)) return false;
    return !list(dir).names.empty();
}

} // namespace ShopFiles
