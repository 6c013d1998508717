#pragma once

#include <string>

// A lock on a directory itself, so it leaves no file behind. A change of
// several files holds it shared from its first staging file to its end; the
// start's clean-up takes it exclusively, so that it never clears away the
// staging files of a change another copy of the program is making at that
// moment. The system drops it when the process ends, however it ends.
class DirectoryLock {
  public:
    DirectoryLock() = default;
    ~DirectoryLock() { release(); }
    DirectoryLock(const DirectoryLock&) = delete;
    DirectoryLock& operator=(const DirectoryLock&) = delete;

    // Waits while an exclusive holder has it; a clean-up is over in moments.
    void share(const std::string& dir);
    // False only when another holder has it. Where the file system has no
    // such locks there is nothing to wait for, and the answer is true.
    bool tryExclusive(const std::string& dir);
    void release();

  private:
    bool lock(const std::string& dir, int operation);
    int m_fd = -1;
};
