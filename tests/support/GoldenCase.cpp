#include "support/GoldenCase.h"

#include "support/TestDir.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace fs = std::filesystem;

const GoldenCase::Step* GoldenCase::find(const std::string& word) const {
    auto it =
        std::find_if(steps.begin(), steps.end(), [&word](const Step& s) { return s.word == word; });
    return it == steps.end() ? nullptr : &*it;
}

GoldenFiles GoldenFilesIn(const fs::path& dir) {
    GoldenFiles files;
    if (!fs::is_directory(dir)) return files;
    for (const auto& e : fs::recursive_directory_iterator(dir))
        if (e.is_regular_file())
            files[fs::relative(e.path(), dir).generic_string()] = ReadFileBytes(e.path().string());
    return files;
}

GoldenCase ReadGoldenCase(const fs::path& dir) {
    GoldenCase c;
    c.name = dir.filename().string();
    c.input = GoldenFilesIn(dir / "input");
    c.expected = GoldenFilesIn(dir / "expected");
    std::istringstream in(ReadFileBytes((dir / "case.txt").string()));
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const size_t blank = line.find(' ');
        c.steps.push_back({number, line.substr(0, blank),
                           blank == std::string::npos ? "" : line.substr(blank + 1)});
    }
    return c;
}

std::vector<GoldenCase> ReadGoldenCases() {
    std::vector<GoldenCase> cases;
    for (const auto& e : fs::directory_iterator(fs::path(ZORVI_SOURCE_DIR) / "tests" / "golden"))
        if (e.is_directory()) cases.push_back(ReadGoldenCase(e.path()));
    std::sort(cases.begin(), cases.end(),
              [](const GoldenCase& a, const GoldenCase& b) { return a.name < b.name; });
    return cases;
}

bool ParseGoldenDate(const std::string& text, DateTime& into) {
    return std::sscanf(text.c_str(), "%d-%d-%d", &into.year, &into.month, &into.day) == 3;
}

std::string GoldenText(std::string text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        text = text.substr(1, text.size() - 2);
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c;
    }
    return out;
}
