#pragma once

#include <string>

// An exclusive lock on a file, held until release or the end of the process
// (the system drops it even when the program dies), so a second copy of the
// program can tell that the first is at work on the same data directory.
class FileLock {
  public:
    FileLock() = default;
    ~FileLock() { release(); }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // False when another holder has it (or the file cannot be made).
    bool tryAcquire(const std::string& path);
    void release();
    bool held() const { return m_fd >= 0; }

  private:
    int m_fd = -1;
};
