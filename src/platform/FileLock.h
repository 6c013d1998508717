#pragma once

#include <string>

// An exclusive lock on a file, held until release or the end of the process
// (the system drops it even when the program dies), so a second copy of the
// program can tell that the first is at work on the same data directory.
// The holder removes the file as it lets go, so none stays in the shop's
// folder after a normal run.
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

    // Removes a file no running process holds locked; one that is held is
    // another process's work in progress and stays. False when it stays.
    static bool removeUnlessHeld(const std::string& path);

  private:
    int m_fd = -1;
    std::string m_path;
};
