#pragma once

#include <cstddef>
#include <string>

// What a power cut can leave at the end of a file that is only ever appended
// to: the file system grew the file but the bytes never reached the disk
// (a tail of NUL bytes), or the last line stopped half way (no line end).
struct TailRepair {
    size_t nulBytesCut = 0;
    bool lineEnded = false;
};

// Cuts a tail of NUL bytes and ends a last line that has no line end with
// CR LF (a lone CR gets its LF), so the next line appended starts on a line of
// its own. What changed is on disk, the directory too, when it returns. A
// missing file, or one that is not a regular file, is left alone. Throws
// IoError when the file cannot be read or changed.
TailRepair RepairFileTail(const std::string& path);
