#include "support/TestDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

TestDir::TestDir(const std::string& leaf) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "zXXXXXX").string();
    if (!::mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    m_root = tmpl;
    std::filesystem::create_directories(m_root + "/" + leaf);
    m_path = m_root + "/" + leaf + "/";
}

TestDir::~TestDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_root, ec);
}

void TestDir::write(const std::string& name, const std::string& bytes) const {
    std::ofstream out(file(name), std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string TestDir::read(const std::string& name) const {
    return ReadFileBytes(file(name));
}

bool TestDir::exists(const std::string& name) const {
    return std::filesystem::exists(file(name));
}

bool TestDir::heldOpen(const std::string& name) const {
    namespace fs = std::filesystem;
    const std::string path = fs::weakly_canonical(file(name)).string();
    std::error_code ec;
    for (const auto& fd : fs::directory_iterator("/proc/self/fd", ec)) {
        std::error_code unreadable;
        const std::string target = fs::read_symlink(fd.path(), unreadable).string();
        if (target == path || target == path + " (deleted)") return true;
    }
    return false;
}

std::map<std::string, std::string> TestDir::files() const {
    std::map<std::string, std::string> out;
    for (const auto& e : std::filesystem::directory_iterator(m_path))
        out[e.path().filename().string()] = ReadFileBytes(e.path().string());
    return out;
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string crlf(std::initializer_list<std::string> lines) {
    std::string out;
    for (const std::string& line : lines)
        out += line + "\r\n";
    return out;
}
