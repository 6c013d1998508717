#pragma once

#include "platform/Ports.h"

// Serial devices as files: opened without creating anything, without
// blocking and without becoming our controlling terminal. Line settings are
// left as the system has them unless a write brings its own.
class PosixPorts : public Ports {
  public:
    explicit PosixPorts(int deadlineMs = 1000) : m_deadlineMs(deadlineMs) {}
    bool write(const std::string& devicePath, const std::string& bytes,
               const std::optional<SerialLine>& line) override;

  private:
    int m_deadlineMs;
};
