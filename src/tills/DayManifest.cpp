#include "tills/DayManifest.h"

#include "store/Digits.h"
#include "store/Sha256.h"

#include <cstdio>

namespace {

// A whole number of at most 18 digits without sign or leading blanks.
std::optional<std::uint64_t> number(std::string_view text) {
    if (!Digits::all(text) || text.size() > 18) return std::nullopt;
    std::uint64_t n = 0;
    for (char c : text)
        n = n * 10 + static_cast<std::uint64_t>(c - '0');
    return n;
}

bool plainName(std::string_view name) {
    if (name.empty() || name == "." || name == ".." || name == ManifestName) return false;
    for (char c : name)
        if (c == '/' || c == '\\' || static_cast<unsigned char>(c) <= ' ') return false;
    return true;
}

bool validDate(std::string_view date) {
    if (date.size() != 8 || !Digits::all(date)) return false;
    const int month = (date[4] - '0') * 10 + (date[5] - '0');
    const int day = (date[6] - '0') * 10 + (date[7] - '0');
    return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

bool validHex(std::string_view hex) {
    Sha256Digest digest;
    if (!DigestOfHex(hex, digest)) return false;
    for (char c : hex)
        if (c >= 'A' && c <= 'F') return false;
    return true;
}

bool parseFileLine(std::string_view value, ManifestFile& file) {
    const size_t first = value.find(' ');
    const size_t second = value.find(' ', first == std::string_view::npos ? first : first + 1);
    if (second == std::string_view::npos) return false;
    file.name = value.substr(0, first);
    const std::optional<std::uint64_t> size = number(value.substr(first + 1, second - first - 1));
    file.sha256 = value.substr(second + 1);
    if (!size || !plainName(file.name) || !validHex(file.sha256)) return false;
    file.size = *size;
    return true;
}

} // namespace

ManifestFile ManifestEntry(const std::string& name, std::string_view bytes) {
    return {name, bytes.size(), Sha256Hex(bytes)};
}

std::string ManifestText(const DayManifest& m) {
    std::string text = "till=" + std::to_string(m.till) + "\r\ndate=" + m.date +
                       "\r\nz=" + std::to_string(m.z) + "\r\n";
    for (const ManifestFile& f : m.files)
        text += "file=" + f.name + " " + std::to_string(f.size) + " " + f.sha256 + "\r\n";
    return text;
}

std::optional<DayManifest> ParseManifest(std::string_view text, std::string& fault) {
    DayManifest m;
    size_t lineNumber = 0;
    bool seen[3] = {false, false, false};
    while (!text.empty()) {
        const size_t lf = text.find('\n');
        std::string_view line = text.substr(0, lf);
        text = lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        ++lineNumber;
        const size_t eq = line.find('=');
        const std::string_view key = line.substr(0, eq);
        const std::string_view value =
            eq == std::string_view::npos ? std::string_view{} : line.substr(eq + 1);
        bool good = eq != std::string_view::npos;
        if (good && key == "till") {
            const auto n = number(value);
            good = !seen[0] && n && *n >= 1 && *n <= 99;
            m.till = good ? static_cast<int>(*n) : 0;
            seen[0] = true;
        } else if (good && key == "date") {
            good = !seen[1] && validDate(value);
            m.date = value;
            seen[1] = true;
        } else if (good && key == "z") {
            const auto n = number(value);
            good = !seen[2] && n && *n <= 999999;
            m.z = good ? static_cast<long>(*n) : 0;
            seen[2] = true;
        } else if (good && key == "file") {
            good = parseFileLine(value, m.files.emplace_back());
            for (size_t i = 0; good && i + 1 < m.files.size(); ++i)
                good = m.files[i].name != m.files.back().name;
        } else {
            good = false;
        }
        if (!good) {
            fault = "line " + std::to_string(lineNumber) + ": \"" +
                    std::string(line.substr(0, 90)) + "\" cannot be read";
            return std::nullopt;
        }
    }
    if (!seen[0] || !seen[1] || !seen[2]) {
        fault = "the till, the date or the Z number is missing";
        return std::nullopt;
    }
    return m;
}

std::string DayFolderName(int till, const std::string& date, long z) {
    char tillText[8];
    std::snprintf(tillText, sizeof tillText, "%02d", till);
    return date + "-T" + tillText + "-Z" + std::to_string(z);
}

std::optional<DayManifest> ParseDayFolderName(std::string_view name) {
    // YYYYMMDD-Tnn-Zn
    if (name.size() < 15 || name.substr(8, 2) != "-T" || name.substr(12, 2) != "-Z")
        return std::nullopt;
    DayManifest m;
    m.date = name.substr(0, 8);
    const auto till = number(name.substr(10, 2));
    const std::string_view zText = name.substr(14);
    const auto z = number(zText);
    if (!validDate(m.date) || !till || *till < 1 || *till > 99 || !z || *z > 999999 ||
        (zText.size() > 1 && zText.front() == '0'))
        return std::nullopt;
    m.till = static_cast<int>(*till);
    m.z = static_cast<long>(*z);
    return m;
}
