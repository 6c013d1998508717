#include "takings/SealJournal.h"

#include "store/Digits.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/Padding.h"
#include "store/TextAppender.h"
#include "store/TextLines.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <sys/stat.h>

namespace {

constexpr size_t LineLength = 177;
constexpr size_t NameWidth = 14;

// The lines of the takings file as written, without their line ends.
std::vector<std::string_view> linesOf(const std::string& text) {
    std::vector<std::string_view> lines;
    ForEachLine(text, [&lines](std::string_view line, size_t) { lines.push_back(line); });
    return lines;
}

} // namespace

std::string SealLineText(const SealLine& l) {
    std::string date =
        std::to_string(l.at.year) + "-" + Digits::two(l.at.month) + "-" + Digits::two(l.at.day);
    std::string time =
        Digits::two(l.at.hour) + ":" + Digits::two(l.at.minute) + ":" + Digits::two(l.at.second);
    return PadLeft(std::to_string(l.sequence), 10) + " " + l.kind + " " + PadRight(date, 10) + " " +
           time + " " + PadRight(l.file, NameWidth).substr(0, NameWidth) + " " + HexOf(l.hash) +
           " " + HexOf(l.chain);
}

bool ParseSealLine(std::string_view t, SealLine& l) {
    if (t.size() != LineLength) return false;
    for (size_t blank : {10, 12, 23, 32, 47, 112})
        if (t[blank] != ' ') return false;
    std::string_view seq = t.substr(0, 10);
    while (!seq.empty() && seq.front() == ' ')
        seq.remove_prefix(1);
    const char kind = t[11];
    if (!Digits::all(seq) || seq.size() > 9 ||
        std::string_view("LFWDOC").find(kind) == std::string_view::npos)
        return false;
    const std::string_view date = t.substr(13, 10), time = t.substr(24, 8);
    if (!Digits::all(date.substr(0, 4)) || date[4] != '-' || !Digits::all(date.substr(5, 2)) ||
        date[7] != '-' || !Digits::all(date.substr(8, 2)) || !Digits::all(time.substr(0, 2)) ||
        time[2] != ':' || !Digits::all(time.substr(3, 2)) || time[5] != ':' ||
        !Digits::all(time.substr(6, 2)))
        return false;
    SealLine parsed;
    parsed.sequence = Digits::value(seq);
    parsed.kind = kind;
    parsed.at = {Digits::value(date.substr(0, 4)), Digits::value(date.substr(5, 2)),
                 Digits::value(date.substr(8, 2)), Digits::value(time.substr(0, 2)),
                 Digits::value(time.substr(3, 2)), Digits::value(time.substr(6, 2))};
    std::string_view file = t.substr(33, NameWidth);
    while (!file.empty() && file.back() == ' ')
        file.remove_suffix(1);
    parsed.file = std::string(file);
    if (!DigestOfHex(t.substr(48, 64), parsed.hash) ||
        !DigestOfHex(t.substr(113, 64), parsed.chain))
        return false;
    l = parsed;
    return true;
}

bool SealedFileName(std::string_view name) {
    static const std::regex sealed(
        "daybyday\\.dat|spersons\\.dat|balance\\.dat|balance\\.tot|inventory\\.dat|"
        "(res|csh|jnl)[0-9]{4}[^.]+\\.[0-9]{2}[a-z]?|day[0-9]{4}[^.]+\\.[a-z]|"
        "sp[0-9]{4}[^.]+\\.dat|(inventory|stocktake)\\.[0-9]{2}[a-z]",
        std::regex::icase | std::regex::optimize);
    return std::regex_match(name.begin(), name.end(), sealed);
}

Sha256Digest ChainAfter(const Sha256Digest& previous, const Sha256Digest& hash) {
    std::array<char, 64> bytes{};
    std::copy(previous.begin(), previous.end(), bytes.begin());
    std::copy(hash.begin(), hash.end(), bytes.begin() + 32);
    return Sha256(std::string_view(bytes.data(), bytes.size()));
}

std::string SealJournal::path() const {
    return FileNames::resolve(m_dataDir, SealJournalName);
}

SealJournal::State SealJournal::parse(const std::string& text) {
    State state;
    state.text = text;
    SealLine line;
    ForEachLine(text, [&](std::string_view t, size_t) {
        // A damaged line is the check's to report; the chain goes on from
        // the last line that reads.
        if (!ParseSealLine(t, line)) return;
        state.sequence = line.sequence;
        state.chain = line.chain;
        if (line.kind == 'L' && line.file == SealedTakingsName)
            state.takingsSeals.push_back(line.hash);
        if (line.kind == 'C' || line.kind == 'F') state.takingsSeals.clear();
    });
    return state;
}

std::optional<SealJournal::Mark> SealJournal::markNow() const {
    struct stat status {};
    if (::stat(path().c_str(), &status) != 0) return std::nullopt;
    return Mark{static_cast<unsigned long long>(status.st_dev),
                static_cast<unsigned long long>(status.st_ino),
                static_cast<long long>(status.st_size)};
}

void SealJournal::forget() {
    m_mark.reset();
    m_file.reset();
}

SealJournal::State& SealJournal::current() {
    const std::optional<Mark> now = markNow();
    const Mark found = now.value_or(Mark{0, 0, 0});
    if (!m_mark || *m_mark != found) {
        // The file held open may be one that a commit has since renamed away.
        m_file.reset();
        m_state = parse(now ? ReadWholeFile(path()) : std::string());
        m_mark = found;
    }
    return m_state;
}

SealLine SealJournal::next(State& state, char kind, const DateTime& at, std::string file,
                           const Sha256Digest& hash) {
    SealLine line{++state.sequence, kind, at, std::move(file), hash, {}};
    line.chain = state.chain = ChainAfter(state.chain, hash);
    return line;
}

void SealJournal::append(const std::vector<SealLine>& lines, bool toDisk) {
    if (!m_file) m_file = TextAppender::OpenElseCreate(path());
    if (!m_file) {
        forget();
        throw IoError(path(), "Open error");
    }
    try {
        for (const SealLine& line : lines)
            m_file->writeLine(SealLineText(line));
        if (toDisk)
            m_file->sync();
        else
            m_file->flush();
    } catch (const IoError&) {
        // The lines were cut back; the state they were added to is read
        // again from the file next time.
        m_file->discard();
        forget();
        throw;
    }
    m_mark = markNow();
    if (!m_mark) forget();
}

void SealJournal::sealTakingsLines(const std::vector<std::string>& lines, const DateTime& at) {
    // The seals are added to the state in place: a day's seals are many, and
    // a failed write makes the state be read again anyway.
    State& state = current();
    std::vector<SealLine> seals;
    if (state.sequence == 0) openingSeals(state, at, seals);
    for (const std::string& text : lines) {
        seals.push_back(next(state, 'L', at, SealedTakingsName, Sha256(text)));
        state.takingsSeals.push_back(seals.back().hash);
    }
    state.text.clear();
    append(seals, false);
}

Notices SealJournal::cutTornEnd() {
    forget();
    const std::string file = path();
    if (!FileNames::regularFile(file)) return {};
    const std::string text = ReadWholeFile(file);
    size_t end = text.size();
    while (end > 0 && text[end - 1] == '\0')
        --end;
    const size_t lineEnd = end == 0 ? std::string::npos : text.rfind('\n', end - 1);
    size_t keep = lineEnd == std::string::npos ? 0 : lineEnd + 1;
    SealLine whole;
    // A last line that reads in full lost only its line end: it stays.
    std::string ending;
    if (keep < end && ParseSealLine(std::string_view(text).substr(keep, end - keep), whole)) {
        keep = end;
        ending = "\r\n";
    }
    if (keep == text.size() && ending.empty()) return {};
    const size_t nuls = text.size() - end, half = end - keep;
    std::error_code error;
    std::filesystem::resize_file(file, keep, error);
    if (error) throw IoError(file, "Write error (" + error.message() + ")");
    if (!ending.empty()) {
        std::optional<TextAppender> appender = TextAppender::Open(file);
        if (!appender) throw IoError(file, "Open error");
        appender->write(ending);
        appender->sync();
        appender->close();
    }
    if (half == 0 && nuls == 0) return {};
    std::string told = "The journal " + file + " ended in ";
    if (nuls > 0) told += std::to_string(nuls) + " empty bytes" + (half > 0 ? " and " : "");
    if (half > 0) told += "half a line";
    told += " left by a power cut; the end is cut off, and the takings lines it would have "
            "sealed are sealed again.";
    return {{told, Notice::Kind::Note}};
}

Notices SealJournal::completeFromTakings(const DateTime& at) {
    const std::string takingsPath = FileNames::resolve(m_dataDir, SealedTakingsName);
    const std::string takings =
        FileNames::exists(takingsPath) ? ReadWholeFile(takingsPath) : std::string();
    const std::vector<std::string_view> lines = linesOf(takings);
    Notices notices = cutTornEnd();
    State state = current();
    const size_t sealed = state.takingsSeals.size();
    // A shop without a journal opens its chain at its first start, takings
    // or not: its lasting files are sealed as found then, not at the first
    // sale, which could be days later and would seal what changed meanwhile.
    if (lines.size() < sealed || (lines.size() == sealed && state.sequence != 0)) return notices;
    for (size_t i = 0; i < sealed; ++i)
        if (Sha256(lines[i]) != state.takingsSeals[i]) return notices;
    std::vector<SealLine> seals;
    const bool opening = state.sequence == 0;
    if (opening) {
        // Without takings, the lasting files' seals open it, as at a first sale.
        if (!lines.empty())
            seals.push_back(next(state, 'O', at, SealedTakingsName, Sha256Digest{}));
        openingSeals(state, at, seals);
        if (seals.empty()) return notices;
    }
    for (size_t i = sealed; i < lines.size(); ++i) {
        seals.push_back(next(state, 'L', at, SealedTakingsName, Sha256(lines[i])));
        state.takingsSeals.push_back(seals.back().hash);
    }
    m_state = std::move(state);
    append(seals, true);
    const size_t added = lines.size() - sealed;
    // A shop that kept no journal yet opens one with what its takings hold;
    // its opening line says so, and there is nothing to tell.
    if (opening) return notices;
    notices.push_back({"The journal " + path() + " was completed with " + std::to_string(added) +
                           " line(s) of the takings file that a stop had left without their seal.",
                       Notice::Kind::Message});
    return notices;
}

void SealJournal::openingSeals(State& state, const DateTime& at,
                               std::vector<SealLine>& seals) const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(m_dataDir, error)) {
        const std::string name = entry.path().filename().string();
        if (SealedFileName(name) && entry.is_regular_file(error)) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    for (const std::string& name : names)
        seals.push_back(
            next(state, 'O', at, name, Sha256(ReadWholeFile(FileNames::resolve(m_dataDir, name)))));
}

void SealJournal::addSeals(State& state, const std::vector<FileSeal>& files, const DateTime& at,
                           std::string& text) {
    if (!text.empty() && text.back() != '\n') text += "\r\n";
    for (const FileSeal& file : files) {
        const Sha256Digest hash = file.kind == 'D' ? Sha256Digest{} : Sha256(file.bytes);
        text += SealLineText(next(state, file.kind, at, file.name, hash));
        text += "\r\n";
    }
}

std::string SealJournal::withSeals(const std::vector<FileSeal>& files, const DateTime& at) {
    forget();
    State state = current();
    std::string text = state.text;
    addSeals(state, files, at, text);
    forget();
    return text;
}

SealJournal::Close SealJournal::closeDay(const std::string& takingsArchive,
                                         std::string_view takingsBytes,
                                         const std::string& journalArchive, const DateTime& at,
                                         const std::vector<FileSeal>& files) {
    forget();
    State state = current();
    Close close;
    close.archivedJournal = state.text;
    std::vector<FileSeal> all = files;
    all.push_back({'F', takingsArchive, takingsBytes});
    addSeals(state, all, at, close.archivedJournal);
    close.newJournal =
        SealLineText(next(state, 'C', at, journalArchive, Sha256(close.archivedJournal)));
    close.newJournal += "\r\n";
    forget();
    return close;
}
