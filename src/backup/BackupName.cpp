#include "backup/BackupName.h"

#include <cstdio>
#include <tuple>

namespace {

constexpr std::string_view Prefix = "zorvi-";
constexpr std::string_view Suffix = ".tar.zst";

std::optional<long> digits(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    long n = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

} // namespace

std::string BackupFileName(const BackupStamp& s) {
    char text[64];
    std::snprintf(text, sizeof text, "zorvi-%04d%02d%02d-%02d%02d-Z%ld.tar.zst", s.when.year,
                  s.when.month, s.when.day, s.when.hour, s.when.minute, s.z);
    return text;
}

std::optional<BackupStamp> ParseBackupFileName(std::string_view name) {
    if (!name.starts_with(Prefix) || !name.ends_with(Suffix)) return std::nullopt;
    std::string_view rest = name.substr(Prefix.size(), name.size() - Prefix.size() - Suffix.size());
    // YYYYMMDD-HHMM-Zn
    if (rest.size() < 16 || rest[8] != '-' || rest[13] != '-' || rest[14] != 'Z')
        return std::nullopt;
    const auto date = digits(rest.substr(0, 8));
    const auto time = digits(rest.substr(9, 4));
    const auto z = digits(rest.substr(15));
    if (!date || !time || !z || rest.substr(0, 8).size() != 8) return std::nullopt;
    BackupStamp s;
    s.when = {static_cast<int>(*date / 10000), static_cast<int>(*date / 100 % 100),
              static_cast<int>(*date % 100),   static_cast<int>(*time / 100),
              static_cast<int>(*time % 100),   0};
    s.z = *z;
    if (s.when.month < 1 || s.when.month > 12 || s.when.day < 1 || s.when.day > 31 ||
        s.when.hour > 23 || s.when.minute > 59)
        return std::nullopt;
    // One spelling per backup: "Z007" is not ours.
    if (BackupFileName(s) != name) return std::nullopt;
    return s;
}

bool EarlierBackup(const BackupStamp& a, const BackupStamp& b) {
    const auto key = [](const BackupStamp& s) {
        return std::tuple(s.when.year, s.when.month, s.when.day, s.when.hour, s.when.minute, s.z);
    };
    return key(a) < key(b);
}
