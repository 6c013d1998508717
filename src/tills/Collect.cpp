#include "tills/Collect.h"

#include "app/ShopLock.h"
#include "consolidation/BalanceSheet.h"
#include "consolidation/ConsolidationError.h"
#include "consolidation/ConsolidationTotals.h"
#include "consolidation/PeriodArchives.h"
#include "consolidation/SalesPersonFile.h"
#include "store/Configuration.h"
#include "store/FileCommit.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/NumberParse.h"
#include "store/NumberText.h"
#include "store/Sha256.h"
#include "store/TextLines.h"
#include "tills/DayManifest.h"
#include "tills/OfficeBalance.h"
#include "tills/OfficeDayByDay.h"

#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <sys/stat.h>
#include <tuple>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct ReceivedDay {
    std::string where; // "Tills/T02/20261207-T02-Z41", for the report
    std::string path;
    std::string name;
    DayManifest manifest;
    std::string manifestDigest;
    std::string dayByDay;
    ConsolidationTotals totals;
};

bool conflictCopy(const std::string& name) {
    return name.find(".sync-conflict-") != std::string::npos;
}

std::vector<std::string> sortedNames(const std::string& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir, ec))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string money(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", x);
    return text;
}

// A merged day in Collected.dat: its manifest's digest and its figures for
// the balance sheet, as written there with 2 decimals. A line of an older
// office holds the digest only; its figures come from the day's folder.
struct LedgerEntry {
    std::string digest;
    std::optional<DayFigures> figures;
};

std::string ledgerLine(const std::string& name, const LedgerEntry& entry) {
    std::string line = name + " " + entry.digest;
    if (entry.figures)
        for (double x : *entry.figures)
            line += " " + FormatFixed(x, 1, 2);
    return line + "\r\n";
}

// The figures exactly as Collected.dat gives them back, so that a day counts
// the same in the run that merges it and in every run after.
std::optional<DayFigures> readFigures(std::string_view text) {
    DayFigures figures{};
    size_t pos = 0;
    for (double& x : figures) {
        pos = text.find_first_not_of(' ', pos);
        if (pos == std::string_view::npos) return std::nullopt;
        const size_t end = std::min(text.find(' ', pos), text.size());
        const RealParse parsed = ParseReal(text.substr(pos, end - pos));
        if (parsed.errorPosition != 0) return std::nullopt;
        x = parsed.value;
        pos = end;
    }
    if (text.find_first_not_of(' ', pos) != std::string_view::npos) return std::nullopt;
    return figures;
}

DayFigures figuresOf(const ConsolidationTotals& t) {
    const DayFigures exact{t.TotCash, t.TotCheque, t.TotCredit, t.TotTakings, t.TotTax};
    std::string text;
    for (double x : exact)
        text += " " + FormatFixed(x, 1, 2);
    return *readFigures(text);
}

std::string dayText(const DayManifest& m) {
    return "Till " + std::to_string(m.till) + ", " + m.date + ", Z " + std::to_string(m.z);
}

class Collector {
  public:
    Collector(std::string officeDir, std::string today)
        : m_dir(std::move(officeDir)), m_today(std::move(today)) {}
    CollectResult run();

  private:
    void readLedger();
    void scanTills();
    void scanTill(const std::string& tillDir, int till);
    std::optional<ReceivedDay> verified(const std::string& where, const std::string& path,
                                        const DayManifest& named);
    bool refusedAsDouble(const ReceivedDay& day);
    void merge();
    void rebuildBooks();
    void rebuildDayByDay();
    void acknowledge();
    void reportMissingZ();
    void reportWrongClocks();
    void find(const std::string& text) { m_result.findings.push_back(text); }

    std::string m_dir;
    std::string m_today;
    Configuration m_office = DefaultConfiguration();
    CollectResult m_result;
    std::map<std::string, LedgerEntry> m_ledger; // by folder name
    // What the commit replaces: the merged days' files and the ledger.
    std::map<std::string, std::string> m_books;
    std::vector<ReceivedDay> m_new;
    // The Daybyday.dat lines of the days whose folders are here and whole.
    std::map<std::string, std::string> m_dayLines;
    std::vector<std::pair<std::string, int>> m_received; // folder names to acknowledge
};

void Collector::readLedger() {
    const std::string path = FileNames::resolve(m_dir, CollectedName);
    ForEachLine(ReadWholeFile(path), [&](std::string_view line, size_t number) {
        const size_t blank = line.find(' ');
        const std::string name(line.substr(0, blank));
        const size_t digestEnd = std::min(line.find(' ', blank + 1), line.size());
        LedgerEntry entry;
        if (blank != std::string_view::npos) {
            entry.digest = std::string(line.substr(blank + 1, digestEnd - blank - 1));
            if (digestEnd < line.size()) entry.figures = readFigures(line.substr(digestEnd));
        }
        if (blank == std::string_view::npos || !ParseDayFolderName(name) ||
            entry.digest.size() != 64 || (digestEnd < line.size() && !entry.figures)) {
            find(path + ", line " + std::to_string(number) + ": \"" +
                 std::string(line.substr(0, 90)) + "\" cannot be read");
            m_result.unusable = true;
            return;
        }
        m_ledger[name] = std::move(entry);
    });
}

void Collector::scanTills() {
    const std::string tills = m_dir + "Tills/";
    for (const std::string& name : sortedNames(tills)) {
        if (name.empty() || name.front() == '.') continue; // Syncthing's own
        const std::optional<DayManifest> probe =
            ParseDayFolderName("20000101-" + name + "-Z0"); // "Tnn"
        std::error_code ec;
        if (conflictCopy(name))
            find("Tills/" + name + ": a conflict copy made by Syncthing; not merged");
        else if (name.size() != 3 || !probe || !fs::is_directory(tills + name, ec))
            find("Tills/" + name + ": not a till's folder (T01 to T99); passed over");
        else
            scanTill(tills + name + "/", probe->till);
    }
}

void Collector::scanTill(const std::string& tillDir, int till) {
    const std::string tillName = fs::path(tillDir).parent_path().filename().string();
    for (const std::string& name : sortedNames(tillDir)) {
        if (name.empty() || name.front() == '.') continue;
        const std::string where = "Tills/" + tillName + "/" + name;
        if (name.size() > PartialSuffix.size() &&
            name.compare(name.size() - PartialSuffix.size(), PartialSuffix.size(), PartialSuffix) ==
                0)
            continue; // still being written at the till
        const std::optional<DayManifest> named = ParseDayFolderName(name);
        if (conflictCopy(name)) {
            find(where + ": a conflict copy made by Syncthing; not merged");
        } else if (!named) {
            find(where + ": not a day's folder; passed over");
        } else if (named->till != till) {
            find(where + ": a day of till " + std::to_string(named->till) +
                 " in the folder of till " + std::to_string(till) + "; not merged");
        } else if (std::optional<ReceivedDay> day = verified(where, tillDir + name + "/", *named)) {
            m_received.emplace_back(name, till);
            const auto merged = m_ledger.find(name);
            if (merged == m_ledger.end()) {
                if (!refusedAsDouble(*day)) m_new.push_back(std::move(*day));
            } else if (merged->second.digest != day->manifestDigest) {
                find(where + ": " + dayText(day->manifest) +
                     " was merged before from a different copy; this one is not merged");
            } else {
                if (!merged->second.figures) merged->second.figures = figuresOf(day->totals);
                m_dayLines[name] = day->dayByDay;
            }
        }
    }
}

std::optional<ReceivedDay> Collector::verified(const std::string& where, const std::string& path,
                                               const DayManifest& named) {
    auto refuse = [&](const std::string& why) -> std::optional<ReceivedDay> {
        find(where + ": " + why + "; the day is not merged");
        return std::nullopt;
    };
    ReceivedDay day{where, path, fs::path(where).filename().string(), {}, {}, {}, {}};
    std::string text;
    try {
        if (!FileNames::exists(path + std::string(ManifestName)))
            return refuse(std::string(ManifestName) + " is missing");
        text = ReadWholeFile(path + std::string(ManifestName));
    } catch (const IoError& e) {
        return refuse(e.what());
    }
    std::string fault;
    std::optional<DayManifest> manifest = ParseManifest(text, fault);
    if (!manifest) return refuse(std::string(ManifestName) + ", " + fault);
    if (manifest->till != named.till || manifest->date != named.date || manifest->z != named.z)
        return refuse(std::string(ManifestName) + " names another day");
    std::set<std::string> listed{std::string(ManifestName)};
    for (const ManifestFile& file : manifest->files) {
        listed.insert(file.name);
        std::string bytes;
        try {
            if (!FileNames::exists(path + file.name)) return refuse(file.name + " is missing");
            bytes = ReadWholeFile(path + file.name);
        } catch (const IoError& e) {
            return refuse(e.what());
        }
        if (bytes.size() != file.size || Sha256Hex(bytes) != file.sha256)
            return refuse(file.name + " does not match its manifest");
        if (file.name == "Daybyday.dat") day.dayByDay = bytes;
    }
    if (!listed.count("Daybyday.dat") || !listed.count("Spersons.dat"))
        return refuse("Daybyday.dat or Spersons.dat is not in it");
    for (const std::string& name : sortedNames(path)) {
        if (listed.count(name)) continue;
        if (conflictCopy(name))
            find(where + "/" + name + ": a conflict copy made by Syncthing; not merged");
        else
            return refuse(name + " is not in its manifest");
    }
    try {
        day.totals = ArchiveDayByDay(day.dayByDay, path + "Daybyday.dat", {}).period;
        SalesPersonTotals probe;
        MergeSalesPersonTotals(path + "Spersons.dat", m_office, {}, probe);
    } catch (const ConsolidationError& e) {
        return refuse(e.what());
    }
    day.manifest = *manifest;
    day.manifestDigest = Sha256Hex(text);
    return day;
}

// Two days of one till under one Z number: two tills were given the same
// number, or one was set up again. Neither is guessed at.
bool Collector::refusedAsDouble(const ReceivedDay& day) {
    auto sameZ = [&](const std::string& other) {
        const std::optional<DayManifest> m = ParseDayFolderName(other);
        return m && m->till == day.manifest.till && m->z == day.manifest.z && other != day.name;
    };
    std::string clash;
    // Both folders are named, so whoever sorts it out finds both copies.
    const std::string tillFolder = day.where.substr(0, day.where.size() - day.name.size());
    for (const auto& [name, entry] : m_ledger)
        if (sameZ(name)) clash = tillFolder + name;
    for (const ReceivedDay& other : m_new)
        if (sameZ(other.name)) clash = other.where;
    if (clash.empty()) return false;
    find(day.where + ": till " + std::to_string(day.manifest.till) + " sent Z " +
         std::to_string(day.manifest.z) + " for another day as well (" + clash +
         "); do two tills have the same number? Not merged");
    return true;
}

void Collector::merge() {
    if (m_new.empty()) return;
    std::sort(m_new.begin(), m_new.end(), [](const ReceivedDay& a, const ReceivedDay& b) {
        return std::tie(a.manifest.date, a.manifest.till, a.manifest.z) <
               std::tie(b.manifest.date, b.manifest.till, b.manifest.z);
    });
    SalesPersonTotals persons;
    std::string DateText;
    for (const ReceivedDay& day : m_new) {
        m_dayLines[day.name] = day.dayByDay;
        MergeSalesPersonTotals(day.path + "Spersons.dat", m_office, {}, persons);
        const std::string heading = ReadWholeFile(day.path + "Spersons.dat");
        // The heading carries the till's date text from column 9.
        DateText = heading.size() > 8 ? heading.substr(8, heading.find(' ', 8) - 8) : "";
    }
    const std::string salesPersons = MergeSalesPersonTotals(
        FileNames::resolve(m_dir, "Spersons.dat"), m_office, DateText, persons);
    m_books["Spersons.dat"] = salesPersons;
    std::map<std::string, double> byDate;
    for (const ReceivedDay& day : m_new) {
        m_ledger[day.name] = {day.manifestDigest, figuresOf(day.totals)};
        m_result.merged.push_back(dayText(day.manifest) + ": takings " +
                                  money(day.totals.TotTakings) + " merged");
        byDate[day.manifest.date] += day.totals.TotTakings;
    }
    for (const auto& [date, takings] : byDate)
        m_result.merged.push_back(date + ": takings of the days merged " + money(takings));
}

// The ledger and the balance sheet are made again from every day merged, so
// that the same days give the same bytes whatever order they came in; a file
// that is the same already is left alone.
void Collector::rebuildBooks() {
    std::string ledger;
    std::vector<CollectedDay> days;
    for (const auto& [name, entry] : m_ledger) {
        ledger += ledgerLine(name, entry);
        const std::optional<DayManifest> day = ParseDayFolderName(name);
        if (entry.figures)
            days.push_back({day->till, day->date, *entry.figures});
        else
            find(std::string(CollectedName) + ": " + name +
                 " has no figures and its folder is gone; Balance.dat leaves it out");
    }
    m_books[CollectedName] = ledger;
    rebuildDayByDay();
    const std::string balance = OfficeBalanceSheet(days);
    if (!balance.empty()) {
        m_books["Balance.dat"] = balance;
        m_books["Balance.Tot"] = BalanceTotals(balance, m_dir + "Balance.dat");
    }
    FileCommit commit(m_dir);
    bool changed = false;
    for (const auto& [name, bytes] : m_books) {
        const std::string path = FileNames::resolve(m_dir, name);
        if (FileNames::exists(path) && ReadWholeFile(path) == bytes) continue;
        commit.replace(name, bytes);
        changed = true;
    }
    if (changed) commit.commit();
}

// Daybyday.dat is made again with each day in its place among the dates
// and each date's total over all of its tills, after the office's own days
// from before it collected. A day's lines are taken from the file as it
// stands, else from the day's folder (a day merged now, or merged by an
// office whose file had no till lines yet).
void Collector::rebuildDayByDay() {
    const std::string path = FileNames::resolve(m_dir, "Daybyday.dat");
    const bool there = FileNames::exists(path);
    OfficeDayLines lines = ReadOfficeDayLines(there ? ReadWholeFile(path) : std::string());
    // An office that collected before its file kept the tills' lines: what
    // it holds are those days, made again here from their folders.
    if (lines.tills.empty() && m_ledger.size() > m_new.size()) lines.own.clear();
    std::map<std::string, std::string> written;
    written.swap(lines.tills);
    for (const auto& [name, entry] : m_ledger) {
        if (const auto till = written.find(name); till != written.end())
            lines.tills[name] = till->second;
        else if (const auto received = m_dayLines.find(name); received != m_dayLines.end())
            lines.tills[name] = received->second;
        else
            find("Daybyday.dat: " + name +
                 " has no lines in it and its folder is gone; its dates leave it out");
    }
    const std::string text = OfficeDayByDay(lines, path);
    if (there || !text.empty()) m_books["Daybyday.dat"] = text;
}

// An acknowledgement is an empty file, made under a temporary name and
// renamed into place, so a till never sees one that is not whole. It is not
// synced one by one: one lost in a power cut is made again by the next run,
// and each folder is synced once at the end. A year of days from many tills
// is thousands of them.
bool writeAck(const std::string& ack) {
    const std::string temp = ack + std::string(FileNames::RewriteSuffix);
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    if (::close(fd) != 0 || ::rename(temp.c_str(), ack.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

void Collector::acknowledge() {
    const std::string acks = m_dir + "Acks/";
    std::set<std::string> written;
    for (const auto& [name, till] : m_received) {
        if (!m_ledger.count(name)) continue;
        char tillName[8];
        std::snprintf(tillName, sizeof tillName, "T%02d/", till);
        const std::string tillDir = acks + tillName;
        if (!written.count(tillDir)) {
            ::mkdir(acks.c_str(), 0755);
            ::mkdir(tillDir.c_str(), 0755);
        }
        const std::string ack = tillDir + "ack-" + name;
        if (FileNames::exists(ack)) continue;
        if (writeAck(ack))
            written.insert(tillDir);
        else
            find(ack + ": cannot be written; the till keeps the day until it can");
    }
    for (const std::string& dir : written)
        FileNames::syncDirectory(dir);
}

void Collector::reportMissingZ() {
    std::map<int, std::set<long>> zs;
    for (const auto& [name, entry] : m_ledger)
        if (const std::optional<DayManifest> m = ParseDayFolderName(name)) zs[m->till].insert(m->z);
    for (const auto& [till, numbers] : zs) {
        long last = -1;
        for (long z : numbers) {
            if (last >= 0 && z > last + 1) {
                const std::string missing = z == last + 2 ? "Z " + std::to_string(last + 1)
                                                          : "Z " + std::to_string(last + 1) +
                                                                " to " + std::to_string(z - 1);
                find("Till " + std::to_string(till) + ": " + missing + " missing between " +
                     std::to_string(last) + " and " + std::to_string(z));
            }
            last = z;
        }
    }
}

// Z numbers only grow, so a till's days in Z order have dates that never go
// back.
void Collector::reportWrongClocks() {
    std::map<int, std::map<long, std::string>> dates; // till -> Z -> date
    for (const auto& [name, entry] : m_ledger)
        if (const std::optional<DayManifest> m = ParseDayFolderName(name))
            dates[m->till][m->z] = m->date;
    for (const auto& [till, byZ] : dates) {
        const std::string tillText = "Till " + std::to_string(till) + ": Z ";
        const std::pair<const long, std::string>* last = nullptr;
        for (const auto& day : byZ) {
            if (!m_today.empty() && day.second > m_today)
                find(tillText + std::to_string(day.first) + " is dated " + day.second +
                     ", after today; is the till's clock right?");
            if (last && day.second < last->second)
                find(tillText + std::to_string(day.first) + " is dated " + day.second +
                     ", before Z " + std::to_string(last->first) + " of " + last->second +
                     "; is the till's clock right?");
            last = &day;
        }
    }
}

CollectResult Collector::run() {
    std::error_code ec;
    if (!fs::is_directory(m_dir, ec)) {
        find(m_dir + ": not a folder");
        m_result.unusable = true;
        return m_result;
    }
    ShopLock lock;
    const std::string busy = lock.take(m_dir, "zorvi-collect");
    if (!busy.empty()) {
        find(busy);
        m_result.unusable = true;
        return m_result;
    }
    try {
        ReadConfiguration(FileNames::resolve(m_dir, "Configur.dat"), m_office);
        readLedger();
        if (m_result.unusable) return m_result;
        scanTills();
        merge();
        rebuildBooks();
    } catch (const IoError& e) {
        find(e.message());
        m_result.unusable = true;
        return m_result;
    } catch (const ConsolidationError& e) {
        find(e.what());
        m_result.unusable = true;
        return m_result;
    }
    acknowledge();
    reportMissingZ();
    reportWrongClocks();
    return m_result;
}

} // namespace

CollectResult Collect(const std::string& officeDir, const std::string& today) {
    std::string dir = officeDir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    return Collector(dir, today).run();
}
