#include "tills/Outbox.h"

#include "cashup/CashupFile.h"
#include "consolidation/ConsolidationError.h"
#include "consolidation/DayResults.h"
#include "consolidation/SalesPersonFile.h"
#include "store/Configuration.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/Options.h"
#include "store/Padding.h"
#include "store/TextLines.h"
#include "store/TextRewriter.h"
#include "tills/DayManifest.h"
#include "tills/TillIdentity.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int KeepAcknowledgedDays = 30;

std::string outboxDir(const std::string& dataDir) {
    return dataDir + "Outbox/";
}

void failed(const std::string& path, const char* what) {
    throw IoError(path, std::string(what) + " (" + std::strerror(errno) + ")");
}

void writeFile(const std::string& path, std::string_view bytes, bool sync) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) failed(path, "File cannot be created");
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ::close(fd);
            failed(path, "Write error");
        }
        done += static_cast<size_t>(n);
    }
    if ((sync && ::fsync(fd) != 0) || ::close(fd) != 0) failed(path, "Write error");
}

void makeDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) failed(path, "Folder cannot be made");
}

void syncDir(const std::string& path, bool sync) {
    if (sync && !FileNames::syncDirectory(path)) failed(path, "Write error");
}

// The day's figures per sales person, in Spersons.dat's layout.
std::string daySalesPersons(const OutboxDay& day, const SalesPersonTotals& persons) {
    std::string text = SalesPersonsHeading(day.dates.DateText) + "\r\n";
    for (size_t i = 0; i < day.config.SalesPersonCode.size(); ++i)
        text += SalesPersonsLine(day.config.SalesPersonCode[i],
                                 PadRight(day.config.SalesPersonName[i], 9), persons, i) +
                "\r\n";
    return text;
}

std::optional<std::chrono::sys_days> dayOf(std::string_view yyyymmdd) {
    if (yyyymmdd.size() != 8) return std::nullopt;
    const int y = std::stoi(std::string(yyyymmdd.substr(0, 4)));
    const unsigned m = static_cast<unsigned>(std::stoi(std::string(yyyymmdd.substr(4, 2))));
    const unsigned d = static_cast<unsigned>(std::stoi(std::string(yyyymmdd.substr(6, 2))));
    const std::chrono::year_month_day date{std::chrono::year{y}, std::chrono::month{m},
                                           std::chrono::day{d}};
    if (!date.ok()) return std::nullopt;
    return std::chrono::sys_days{date};
}

} // namespace

std::string OutboxDate(const RunDates& dates) {
    int month = 0;
    for (int i = 0; i < 12; ++i)
        if (dates.MonthText == MonthName(i + 1)) month = i + 1;
    char text[16];
    std::snprintf(text, sizeof text, "%02d", month);
    return dates.YearText + text + dates.DayText;
}

std::string OutboxIgnoreText() {
    return "// Days still being written; each appears under its own name when whole.\n"
           "*.partial\n";
}

std::vector<std::pair<std::string, std::string>> DayOutboxFiles(const OutboxDay& day) {
    std::vector<std::pair<std::string, std::string>> files;
    const std::string takingsPath = FileNames::resolve(day.dataDir, day.takingsArchive);
    if (!FileNames::exists(takingsPath)) throw IoError(takingsPath, "File not found");
    const std::string takings = ReadWholeFile(takingsPath);
    // The day's lines are read again from the archive, as the close read them
    // from the takings file: the lines of the close and of the office agree.
    DayResults results;
    if (!ReadDayResults(takingsPath, day.config, day.dates.DateText, results))
        throw IoError(takingsPath, "File cannot be read");
    std::string dayByDay;
    for (const std::string& line : results.dayByDayLines)
        dayByDay += line + "\r\n";
    files.emplace_back("Daybyday.dat", dayByDay);
    files.emplace_back("Spersons.dat", daySalesPersons(day, results.persons));
    files.emplace_back(day.takingsArchive, takings);
    for (const std::string& name :
         {CashupArchiveName(day.takingsArchive), "Jnl" + day.takingsArchive.substr(3)}) {
        const std::string path = FileNames::resolve(day.dataDir, name);
        if (FileNames::exists(path)) files.emplace_back(name, ReadWholeFile(path));
    }
    return files;
}

std::string WriteDayOutbox(const OutboxDay& day, int till, const OutboxOptions& options) {
    const std::string date = OutboxDate(day.dates);
    const std::string name = DayFolderName(till, date, day.z);
    const std::string outbox = outboxDir(day.dataDir);
    const std::string final = outbox + name;
    const std::string partial = final + std::string(PartialSuffix);
    try {
        makeDirectory(outbox);
        const std::string ignore = outbox + ".stignore";
        if (!FileNames::exists(ignore)) writeFile(ignore, OutboxIgnoreText(), options.sync);
        // A day once sent is never changed.
        if (FileNames::exists(final))
            return "The day's folder " + final + " is there already and stays as it is.";
        std::error_code ec;
        fs::remove_all(partial, ec); // the rest of an interrupted try: never sent
        if (ec) failed(partial, "Folder cannot be removed");
        makeDirectory(partial);
        DayManifest manifest{till, date, day.z, {}};
        size_t written = 0;
        for (const auto& [file, bytes] : DayOutboxFiles(day)) {
            if (written++ == options.stopAfter) return {};
            writeFile(partial + "/" + file, bytes, options.sync);
            manifest.files.push_back(ManifestEntry(file, bytes));
        }
        if (written++ == options.stopAfter) return {};
        writeFile(partial + "/" + std::string(ManifestName), ManifestText(manifest), options.sync);
        syncDir(partial, options.sync);
        if (::rename(partial.c_str(), final.c_str()) != 0)
            failed(final, "Folder cannot be renamed");
        syncDir(outbox, options.sync);
        PruneOutbox(day.dataDir, date);
    } catch (const IoError& e) {
        return "The day is closed, but its folder for the office could not be written:\r" +
               e.message() + "\rCopy the archives of the day to the office by hand.";
    }
    return {};
}

std::optional<std::string> OutboxDueWith(const std::string& dataDir, const RunDates& dates,
                                         const std::string& takingsArchive,
                                         const std::string& closingCountLine) {
    const int till = SetTillNumber(ReadOptions(dataDir).options);
    if (till == 0) return std::nullopt;
    CashCount z;
    // Without a count of the drawer the day takes the next Z number.
    if (!ParseCashCount(closingCountLine, z) || z.kind != 'Z') z.number = NextZNumber(dataDir) - 1;
    std::string due = ReadWholeFile(FileNames::resolve(dataDir, OutboxDueName));
    if (!due.empty() && due.back() != '\n') due += "\r\n";
    return due + std::to_string(till) + " " + std::to_string(z.number) + " " + takingsArchive +
           " " + dates.YearText + " " + dates.MonthText + " " + dates.DayText + " " +
           dates.DateText + "\r\n";
}

namespace {

struct DueDay {
    int till = 0;
    long z = 0;
    std::string archive;
    RunDates dates;
};

std::optional<DueDay> parseDue(std::string_view line) {
    std::vector<std::string> words;
    size_t pos = 0;
    while (words.size() < 6 && pos < line.size()) {
        const size_t end = std::min(line.find(' ', pos), line.size());
        words.emplace_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
    if (words.size() < 6 || pos > line.size()) return std::nullopt;
    DueDay day;
    try {
        day.till = std::stoi(words[0]);
        day.z = std::stol(words[1]);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    day.archive = words[2];
    day.dates = {std::string(line.substr(pos)), words[3], words[4], words[5], false};
    if (day.till < 1 || day.till > 99 || OutboxDate(day.dates).size() != 8) return std::nullopt;
    return day;
}

void rewriteDue(const std::string& path, const std::string& kept) {
    if (kept.empty()) {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT) failed(path, "File cannot be deleted");
        return;
    }
    std::optional<TextRewriter> file = TextRewriter::Open(path);
    if (!file) failed(path, "File cannot be created");
    file->write(kept);
    file->commit();
}

} // namespace

std::string SendDueDays(const std::string& dataDir, const Configuration& config,
                        const OutboxOptions& options) {
    const std::string path = FileNames::resolve(dataDir, OutboxDueName);
    std::string kept;
    std::string told;
    try {
        if (!FileNames::exists(path)) return {};
        ForEachLine(ReadWholeFile(path), [&](std::string_view line, size_t number) {
            const std::optional<DueDay> day = parseDue(line);
            if (!day) {
                told += (told.empty() ? "" : "\r") + UnreadableLineText(path, number);
                kept += std::string(line) + "\r\n";
                return;
            }
            const std::string folder =
                outboxDir(dataDir) + DayFolderName(day->till, OutboxDate(day->dates), day->z);
            if (!FileNames::exists(folder)) {
                const std::string problem = WriteDayOutbox(
                    {dataDir, config, day->dates, day->archive, day->z}, day->till, options);
                if (!problem.empty()) told += (told.empty() ? "" : "\r") + problem;
            }
            if (!FileNames::exists(folder)) kept += std::string(line) + "\r\n";
        });
        rewriteDue(path, kept);
    } catch (const IoError& e) {
        told += (told.empty() ? "" : "\r") + e.message();
    }
    return told;
}

void PruneOutbox(const std::string& dataDir, const std::string& today) {
    const std::optional<std::chrono::sys_days> now = dayOf(today);
    std::error_code ec;
    if (!now || !fs::is_directory(outboxDir(dataDir), ec)) return;
    std::vector<fs::path> done;
    for (const fs::directory_entry& entry : fs::directory_iterator(outboxDir(dataDir), ec)) {
        const std::string name = entry.path().filename().string();
        const std::optional<DayManifest> day = ParseDayFolderName(name);
        if (!day || !entry.is_directory(ec)) continue;
        const std::optional<std::chrono::sys_days> sent = dayOf(day->date);
        if (!sent || (*now - *sent).count() <= KeepAcknowledgedDays) continue;
        if (FileNames::exists(dataDir + "Inbox/ack-" + name)) done.push_back(entry.path());
    }
    for (const fs::path& folder : done)
        fs::remove_all(folder, ec);
}
