#pragma once

#include <string>
#include <string_view>
#include <vector>

// Which files of a shop's directory a backup holds: every data file, the
// archives, the journals and the settings, in sub-folders too; not the
// program and its companions, the help texts, work copies (*.wrk, *.new,
// *.bak), staging, temporary and lock files, nor the Backup/, Outbox/ and
// replaced-*/ folders. Names are matched without regard to case, like every
// data file.

struct ShopFileList {
    // Relative to the shop's directory, "/" between folders, sorted.
    std::vector<std::string> names;
    // Folders that could not be read, with the reason.
    std::vector<std::string> unreadable;
};

namespace ShopFiles {
// Whether a plain file of this name (at any depth) is backed up.
bool backedUp(std::string_view fileName);
// Whether a folder directly in the shop's directory is left out whole.
bool leftOutFolder(std::string_view folderName);
// The program's own files directly in the shop's directory, which a restore
// with --replace leaves where they are.
bool programFile(std::string_view fileName);

// The files of `shopDir` (ending in "/") to back up. `skipDir`, when not
// empty, is a folder left out as well: the backup folder, when the shop has
// put it inside its directory under another name.
ShopFileList list(const std::string& shopDir, const std::string& skipDir = {});
// Whether the directory holds anything a backup would hold.
bool holdsShopData(const std::string& dir);
} // namespace ShopFiles
