#include "backup/BackupManifest.h"

namespace {

constexpr std::string_view Heading = "# Zorvi backup manifest 1";

bool isHex64(std::string_view text) {
    if (text.size() != 64) return false;
    for (char c : text)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    return true;
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const size_t lf = text.find('\n');
        lines.push_back(text.substr(0, lf));
        text = lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
    }
    return lines;
}

} // namespace

namespace BackupManifest {

std::string text(const std::vector<ManifestEntry>& entries) {
    std::string out(Heading);
    out += '\n';
    for (const ManifestEntry& e : entries)
        out += e.sha256 + ' ' + std::to_string(e.size) + ' ' + e.name + '\n';
    return out;
}

std::optional<std::vector<ManifestEntry>> parse(std::string_view text) {
    std::vector<std::string_view> lines = linesOf(text);
    if (lines.empty() || lines.front() != Heading) return std::nullopt;
    std::vector<ManifestEntry> entries;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::string_view line = lines[i];
        const size_t first = line.find(' ');
        const size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
        if (second == std::string_view::npos || !isHex64(line.substr(0, first)))
            return std::nullopt;
        const std::string_view size = line.substr(first + 1, second - first - 1);
        if (size.empty() || size.size() > 19 || size.find_first_not_of("0123456789") != size.npos)
            return std::nullopt;
        ManifestEntry e;
        e.sha256 = line.substr(0, first);
        e.size = std::stoull(std::string(size));
        e.name = line.substr(second + 1);
        if (e.name.empty()) return std::nullopt;
        entries.push_back(std::move(e));
    }
    return entries;
}

std::string sideFileText(const std::string& sha256, const std::string& archiveName) {
    return sha256 + "  " + archiveName + "\n";
}

std::optional<std::string> parseSideFile(std::string_view text, const std::string& archiveName) {
    for (std::string_view line : linesOf(text)) {
        if (line.size() < 66 || !isHex64(line.substr(0, 64))) continue;
        // "  NAME" for text mode, " *NAME" for binary mode.
        if (line[64] != ' ' || (line[65] != ' ' && line[65] != '*')) continue;
        if (line.substr(66) == archiveName) return std::string(line.substr(0, 64));
    }
    return std::nullopt;
}

} // namespace BackupManifest
