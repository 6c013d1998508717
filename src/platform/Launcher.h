#pragma once

#include <string>
#include <vector>

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
    // Runs the program with these arguments, waiting for it at most timeoutMs.
    // Its exit code; -1 when it could not be started, crashed or did not end
    // in time (then it is stopped).
    virtual int run(const std::string& program, const std::vector<std::string>& arguments,
                    int timeoutMs) = 0;
};
