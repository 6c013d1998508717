#pragma once

#include <initializer_list>
#include <map>
#include <string>

// A fresh data directory for one test, removed afterwards. Its path ends in
// a separator, as the data directory does.
class TestDir {
  public:
    explicit TestDir(const std::string& leaf = "zt");
    ~TestDir();
    TestDir(const TestDir&) = delete;
    TestDir& operator=(const TestDir&) = delete;

    const std::string& path() const { return m_path; }
    std::string file(const std::string& name) const { return m_path + name; }
    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;
    // Whether this process still has the file of that name open, the one
    // there now or one it has since been replaced by or removed.
    bool heldOpen(const std::string& name) const;
    // Every file of the directory by name, with its bytes.
    std::map<std::string, std::string> files() const;

  private:
    std::string m_root;
    std::string m_path;
};

// Reads a whole file; empty when missing.
std::string ReadFileBytes(const std::string& path);

// The lines, each ended by CR LF as the data files end them.
std::string crlf(std::initializer_list<std::string> lines);
// Blanks that fill fixed columns.
inline std::string sp(size_t n) {
    return std::string(n, ' ');
}
