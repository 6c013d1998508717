#pragma once

// Cases kept as text beside the tests that read them, so that a row or an
// expected layout is added without C++. A case file holds blocks:
//
//   == name            starts a case
//   key = value        a field ("..." keeps blanks at the ends)
//   -- section         the lines that follow, byte for byte, up to the next
//                      "==" or "--" line; blank lines at its end are layout
//
// A '#' line is a remark before the first "--" of a block (inside a section
// it is a line like any other). In values and section lines \xNN is a byte,
// \t a tab, \r and \n the line-end bytes, \\ a backslash, \s a blank (for one
// that ends a line) and a line that is only "\" an empty line; a section
// line ending in \c gets no CR LF of its own. A table file is one line of
// column names and then one case a line, the values split at '|'.

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

struct TestCase {
    std::string where; // file:line, for messages
    std::string name;
    std::map<std::string, std::string> fields;
    std::map<std::string, std::vector<std::string>> sections;

    bool has(const std::string& key) const { return fields.count(key) != 0; }
    const std::string& operator[](const std::string& key) const {
        auto it = fields.find(key);
        if (it == fields.end()) throw std::runtime_error(where + ": no field " + key);
        return it->second;
    }
    std::string get(const std::string& key, const std::string& otherwise) const {
        return has(key) ? fields.at(key) : otherwise;
    }
    double number(const std::string& key, double otherwise = 0) const {
        return has(key) && !fields.at(key).empty() ? std::stod(fields.at(key)) : otherwise;
    }
    bool flag(const std::string& key) const { return get(key, "") == "yes"; }
    std::vector<std::string> lines(const std::string& section) const;
    // The section as a data file holds it: every line ended by CR LF.
    std::string crlf(const std::string& section) const;
    // The section as a script holds it: every line ended by LF.
    std::string text(const std::string& section) const {
        std::string out;
        for (const std::string& line : lines(section))
            out += line + "\n";
        return out;
    }
    // The sections named "<prefix> <file>", by file, as CR LF bytes.
    std::map<std::string, std::string> files(const std::string& prefix) const {
        std::map<std::string, std::string> out;
        for (const auto& [section, body] : sections)
            if (section.rfind(prefix + " ", 0) == 0)
                out[section.substr(prefix.size() + 1)] = crlf(section);
        return out;
    }
};

namespace casetable {

inline std::string unescape(const std::string& text) {
    if (text == "\\") return "";
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
        } else if (text[i + 1] == 'x' && i + 3 < text.size()) {
            out += static_cast<char>(std::stoi(text.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            const char c = text[++i];
            out += c == 's' ? ' ' : c == 't' ? '\t' : c == 'r' ? '\r' : c == 'n' ? '\n' : c;
        }
    }
    return out;
}

inline std::string trim(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    std::string value = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return unescape(value);
}

inline std::vector<std::string> readLines(const std::string& relative) {
    std::ifstream in(std::string(ZORVI_TESTS_DIR) + "/" + relative, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + relative);
    std::vector<std::string> lines;
    // Bytes that matter are written as escapes, so a checkout's CR LF is layout.
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.empty() || line.back() != '\r' ? line
                                                            : line.substr(0, line.size() - 1));
    return lines;
}

inline std::vector<std::string> split(const std::string& line) {
    std::vector<std::string> cells;
    std::stringstream in(line);
    for (std::string cell; std::getline(in, cell, '|');)
        cells.push_back(trim(cell));
    return cells;
}

inline bool joined(const std::string& raw) {
    return raw.size() >= 2 && raw.compare(raw.size() - 2, 2, "\\c") == 0;
}

} // namespace casetable

inline std::vector<std::string> TestCase::lines(const std::string& section) const {
    auto it = sections.find(section);
    if (it == sections.end()) throw std::runtime_error(where + ": no section " + section);
    std::vector<std::string> out;
    for (const std::string& raw : it->second)
        out.push_back(
            casetable::unescape(casetable::joined(raw) ? raw.substr(0, raw.size() - 2) : raw));
    return out;
}

inline std::string TestCase::crlf(const std::string& section) const {
    const std::vector<std::string> all = lines(section);
    std::string out;
    for (size_t i = 0; i < all.size(); ++i)
        out += all[i] + (casetable::joined(sections.at(section)[i]) ? "" : "\r\n");
    return out;
}

// The blocks of a case file under tests/.
inline std::vector<TestCase> ReadCases(const std::string& relative) {
    std::vector<TestCase> cases;
    std::vector<std::string>* section = nullptr;
    const std::vector<std::string> lines = casetable::readLines(relative);
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        const std::string where = relative + ":" + std::to_string(n + 1);
        if (line.rfind("== ", 0) == 0) {
            cases.push_back({where, line.substr(3), {}, {}});
            section = nullptr;
        } else if (line.rfind("-- ", 0) == 0 && !cases.empty()) {
            section = &cases.back().sections[line.substr(3)];
        } else if (section) {
            section->push_back(line);
        } else if (!line.empty() && line[0] != '#') {
            const size_t eq = line.find(" = ");
            if (cases.empty() || eq == std::string::npos)
                throw std::runtime_error(where + ": neither a field nor a section");
            cases.back().fields[line.substr(0, eq)] = casetable::trim(line.substr(eq + 3));
        }
    }
    for (TestCase& c : cases)
        for (auto& [name, text] : c.sections)
            while (!text.empty() && text.back().empty())
                text.pop_back();
    return cases;
}

// The rows of a table file under tests/, each a case named by its "name"
// column when it has one.
inline std::vector<TestCase> ReadTable(const std::string& relative) {
    std::vector<TestCase> rows;
    std::vector<std::string> header;
    const std::vector<std::string> lines = casetable::readLines(relative);
    for (size_t n = 0; n < lines.size(); ++n) {
        if (lines[n].empty() || lines[n][0] == '#') continue;
        std::vector<std::string> cells = casetable::split(lines[n]);
        if (header.empty()) {
            header = cells;
            continue;
        }
        const std::string where = relative + ":" + std::to_string(n + 1);
        if (cells.size() != header.size()) throw std::runtime_error(where + ": wrong column count");
        TestCase row{where, where, {}, {}};
        for (size_t i = 0; i < header.size(); ++i)
            row.fields[header[i]] = cells[i];
        if (row.has("name")) row.name = row["name"];
        rows.push_back(row);
    }
    return rows;
}
