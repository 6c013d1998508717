#pragma once

#include <string>

// Starts the companion programs.
class Launcher {
  public:
    virtual ~Launcher() = default;
    // Starts the program hidden without waiting. Like the system call it stands
    // for, a result below 32 means the program could not be started.
    virtual int startHidden(const std::string& program) = 0;
    // Starts the program and waits for it to end, at most timeoutMs. Returns
    // false when it could not be started; true when it started (finished or not).
    virtual bool runAndWait(const std::string& program, int timeoutMs) = 0;
};
