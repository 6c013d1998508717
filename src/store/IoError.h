#pragma once

#include <stdexcept>
#include <string>

// A read or write that failed after its file was opened. The screens show it
// with the file's path and abandon the handler that raised it.
class IoError : public std::runtime_error {
  public:
    IoError(const std::string& path, const std::string& what)
        : std::runtime_error(what + ": " + path), m_path(path) {}
    const std::string& path() const { return m_path; }
    // What the operator is shown: the file's path, then the cause.
    std::string message() const { return "I/O error in file " + m_path + "\r\n" + what(); }

  private:
    std::string m_path;
};
