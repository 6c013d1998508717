#include "store/AuditTrail.h"

#include "store/Digits.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/Padding.h"
#include "store/Sha256.h"
#include "store/TextAppender.h"
#include "store/TextLines.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr size_t LineLength = 203;

std::string field(const std::string& text, size_t width) {
    return PadRight(text, width).substr(0, width);
}

std::vector<std::string_view> linesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    ForEachLine(text, [&lines](std::string_view line, size_t) { lines.push_back(line); });
    return lines;
}

std::string hashOf(const std::optional<std::string_view>& bytes) {
    return bytes ? Sha256Hex(*bytes) : AbsentFileHash();
}

std::string pathOf(const std::string& dataDir) {
    return FileNames::resolve(dataDir, AuditTrailName);
}

} // namespace

std::string AbsentFileHash() {
    return std::string(64, '0');
}

AuditEntry AuditChange(const DateTime& at, std::string action, std::string file,
                       const std::optional<std::string_view>& before,
                       const std::optional<std::string_view>& after) {
    AuditEntry entry;
    entry.at = at;
    entry.action = std::move(action);
    entry.file = std::move(file);
    entry.before = hashOf(before);
    entry.after = hashOf(after);
    const std::vector<std::string_view> a = linesOf(before.value_or("")),
                                        b = linesOf(after.value_or(""));
    size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        ++head;
    size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    entry.linesChanged = static_cast<long>(std::max(a.size(), b.size()) - head - tail);
    return entry;
}

std::string AuditLineText(const AuditEntry& e) {
    const std::string date =
        std::to_string(e.at.year) + "-" + Digits::two(e.at.month) + "-" + Digits::two(e.at.day);
    const std::string time =
        Digits::two(e.at.hour) + ":" + Digits::two(e.at.minute) + ":" + Digits::two(e.at.second);
    return field(date, 10) + " " + time + " " + field(e.who, 12) + " " + field(e.action, 16) + " " +
           field(e.file, 14) + " " + field(e.before, 64) + " " + field(e.after, 64) + " " +
           PadLeft(std::to_string(std::min(e.linesChanged, 99999999L)), 8);
}

bool ParseAuditLine(std::string_view t, AuditEntry& e) {
    if (t.size() != LineLength) return false;
    for (size_t blank : {10, 19, 32, 49, 64, 129, 194})
        if (t[blank] != ' ') return false;
    const std::string_view date = t.substr(0, 10), time = t.substr(11, 8);
    if (!Digits::all(date.substr(0, 4)) || date[4] != '-' || !Digits::all(date.substr(5, 2)) ||
        date[7] != '-' || !Digits::all(date.substr(8, 2)) || !Digits::all(time.substr(0, 2)) ||
        time[2] != ':' || !Digits::all(time.substr(3, 2)) || time[5] != ':' ||
        !Digits::all(time.substr(6, 2)))
        return false;
    const std::string_view before = t.substr(65, 64), after = t.substr(130, 64),
                           lines = TrimBlanks(t.substr(195, 8));
    auto hex = [](std::string_view h) {
        return std::all_of(h.begin(), h.end(),
                           [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
    };
    if (!hex(before) || !hex(after) || !Digits::all(lines)) return false;
    AuditEntry parsed;
    parsed.at = {Digits::value(date.substr(0, 4)), Digits::value(date.substr(5, 2)),
                 Digits::value(date.substr(8, 2)), Digits::value(time.substr(0, 2)),
                 Digits::value(time.substr(3, 2)), Digits::value(time.substr(6, 2))};
    parsed.who = std::string(TrimBlanks(t.substr(20, 12)));
    parsed.action = std::string(TrimBlanks(t.substr(33, 16)));
    parsed.file = std::string(TrimBlanks(t.substr(50, 14)));
    parsed.before = std::string(before);
    parsed.after = std::string(after);
    parsed.linesChanged = Digits::value(lines);
    e = std::move(parsed);
    return true;
}

void appendAudit(const std::string& dataDir, const AuditEntry& entry) {
    appendAudit(dataDir, std::vector<AuditEntry>{entry});
}

void appendAudit(const std::string& dataDir, const std::vector<AuditEntry>& entries) {
    if (entries.empty()) return;
    const std::string path = pathOf(dataDir);
    std::optional<TextAppender> file = TextAppender::OpenElseCreate(path);
    if (!file) throw IoError(path, "Open error");
    try {
        for (const AuditEntry& entry : entries)
            file->writeLine(AuditLineText(entry));
        file->sync();
        file->close();
    } catch (const IoError&) {
        file->discard();
        throw;
    }
}

std::string AuditTextWith(const std::string& dataDir, const std::vector<AuditEntry>& entries) {
    std::string text = ReadWholeFile(pathOf(dataDir));
    if (!text.empty() && text.back() != '\n') text += "\r\n";
    for (const AuditEntry& entry : entries)
        text += AuditLineText(entry) + "\r\n";
    return text;
}

std::vector<AuditEntry> ReadAuditTrail(const std::string& dataDir, size_t* unreadable) {
    std::vector<AuditEntry> entries;
    if (unreadable) *unreadable = 0;
    const std::string path = pathOf(dataDir);
    if (!FileNames::exists(path)) return entries;
    ForEachLine(ReadWholeFile(path), [&](std::string_view line, size_t) {
        AuditEntry entry;
        if (ParseAuditLine(line, entry))
            entries.push_back(std::move(entry));
        else if (unreadable)
            ++*unreadable;
    });
    return entries;
}

namespace {

std::optional<std::string> readIfThere(const std::string& dataDir, const std::string& name) {
    const std::string path = FileNames::resolve(dataDir, name);
    if (!FileNames::exists(path)) return std::nullopt;
    return ReadWholeFile(path);
}

} // namespace

AuditSnapshot::AuditSnapshot(std::string dataDir, const std::vector<std::string>& files)
    : m_dataDir(std::move(dataDir)) {
    for (const std::string& name : files)
        m_before.emplace_back(name, readIfThere(m_dataDir, name));
}

void AuditSnapshot::record(const DateTime& at, const std::string& action,
                           const std::string& who) const {
    std::vector<AuditEntry> entries;
    for (const auto& [name, before] : m_before) {
        const std::optional<std::string> after = readIfThere(m_dataDir, name);
        if (after == before) continue;
        std::optional<std::string_view> was, is;
        if (before) was = *before;
        if (after) is = *after;
        entries.push_back(AuditChange(at, action, name, was, is));
        entries.back().who = who;
    }
    appendAudit(m_dataDir, entries);
}
