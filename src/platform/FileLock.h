#pragma once

#include <string>
#include <string_view>

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

    // Puts a short text into the held file (in place of what it held), for
    // whoever is refused the lock to read. False when it cannot be written.
    bool writeNote(std::string_view text);
    // The text the holder of the file at `path` put there; empty when none.
    static std::string readNote(const std::string& path);

    // Whether a running process holds the file at `path` locked.
    static bool heldElsewhere(const std::string& path);
    // Removes a file no running process holds locked; one that is held is
    // another process's work in progress and stays. False when it stays.
    static bool removeUnlessHeld(const std::string& path);

  private:
    int m_fd = -1;
    std::string m_path;
};
