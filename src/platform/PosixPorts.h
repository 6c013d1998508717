#pragma once

#include "platform/Ports.h"

// Serial devices as files: opened without creating anything, without
// blocking and without becoming our controlling terminal; line settings are
// left as the system has them.
class PosixPorts : public Ports {
  public:
    explicit PosixPorts(int deadlineMs = 1000) : m_deadlineMs(deadlineMs) {}
    bool writeLine(const std::string& devicePath, const std::string& text) override;

  private:
    int m_deadlineMs;
};
