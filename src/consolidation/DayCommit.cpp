#include "consolidation/DayCommit.h"

#include "cashup/CashupFile.h"

#include "consolidation/ConsolidationError.h"
#include "consolidation/PeriodEnd.h"
#include "consolidation/ResultsArchive.h"
#include "consolidation/SalesPersonFile.h"
#include "store/AuditTrail.h"
#include "store/FileCommit.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/TextLines.h"
#include "store/TextReader.h"
#include "takings/SealJournal.h"
#include "tills/Outbox.h"

#include <optional>

namespace {

// The new contents of the day's lasting files.
struct DayFiles {
    std::string dayByDay;
    std::string salesPersons;
    std::string inventory;
};

std::string readAll(const std::string& path) {
    std::optional<TextReader> in = TextReader::Open(path);
    if (!in) return {};
    std::string bytes;
    if (!in->readRest(bytes)) throw IoError(path, "Read error");
    return bytes;
}

DayFiles composeDayFiles(const DayCommitInput& in, const DayCommitOptions& options) {
    auto path = [&](const char* name) { return FileNames::resolve(in.dataDir, name); };
    DayFiles files;
    files.dayByDay = readAll(path("Daybyday.dat"));
    for (const std::string& line : in.day.dayByDayLines) {
        files.dayByDay += line;
        files.dayByDay += "\r\n";
    }
    files.salesPersons =
        MergeSalesPersonTotals(path("Spersons.dat"), in.config, in.dates.DateText, in.day.persons);
    files.inventory = UpdateInventoryFromTakings(path("Pricelist.dat"), path("Inventory.dat"),
                                                 in.day.byCode, in.InventoryOn, options.progress);
    return files;
}

void stageDayFiles(FileCommit& commit, const DayFiles& files, std::vector<FileSeal>& seals) {
    commit.replace("Daybyday.dat", files.dayByDay);
    commit.replace("Spersons.dat", files.salesPersons);
    commit.replace("Inventory.dat", files.inventory);
    // A work copy left by an earlier run has no use after a consolidation.
    commit.remove("Inventory.wrk");
    seals.push_back({'W', "Daybyday.dat", files.dayByDay});
    seals.push_back({'W', "Spersons.dat", files.salesPersons});
    seals.push_back({'W', "Inventory.dat", files.inventory});
}

// At a period end the day-by-day and sales-person files are closed off into
// their archives and the balance sheet gets its column, all in the same
// journal, before the takings file is moved. They start from the files the
// day has prepared and stage their own Inventory.dat, the one with the values
// started again.
// The period end is recorded in Audit.dat with the same commit.
void stagePeriodEnd(FileCommit& commit, const DayCommitInput& in, const DayFiles& files,
                    PeriodEndFiles& period, std::vector<FileSeal>& seals) {
    period = PreparePeriodEnd(
        {in.dataDir, in.dates, files.dayByDay, files.salesPersons, files.inventory});
    StagePeriodEnd(commit, period, files.inventory);
    std::vector<FileSeal> written = PeriodEndSeals(period);
    std::vector<AuditEntry> audit;
    for (const FileSeal& file : written) {
        const std::string path = FileNames::resolve(in.dataDir, file.name);
        std::optional<std::string> before;
        if (FileNames::exists(path)) before = ReadWholeFile(path);
        std::optional<std::string_view> after;
        if (file.kind != 'D') after = file.bytes;
        audit.push_back(AuditChange(in.at, "period end", file.name, before, after));
    }
    commit.replace(AuditTrailName, AuditTextWith(in.dataDir, audit));
    seals.insert(seals.end(), written.begin(), written.end());
}

// The counts of the drawer go with the day's takings: a crash can never
// leave one archived and the other not.
bool stageCashup(FileCommit& commit, const DayCommitInput& in, const std::string& archiveName,
                 std::string& archived) {
    const std::string path = FileNames::resolve(in.dataDir, "Cashup.dat");
    const bool kept = FileNames::exists(path);
    if (!kept && in.closingCountLine.empty()) return false;
    std::string content = kept ? ReadWholeFile(path) : std::string();
    if (!content.empty() && content.back() != '\n') content += "\r\n";
    if (!in.closingCountLine.empty()) content += in.closingCountLine + "\r\n";
    commit.replace(CashupArchiveName(archiveName), content);
    if (kept) commit.remove("Cashup.dat");
    archived = std::move(content);
    return true;
}

// The files written and the takings archive are sealed whole, and the
// journal goes to its own archive beside it; the new journal continues its
// chain.
void stageSeals(FileCommit& commit, const DayCommitInput& in, const std::string& archiveName,
                const std::vector<FileSeal>& files) {
    const std::string journalArchive = "Jnl" + archiveName.substr(3);
    const std::string takings = ReadWholeFile(FileNames::resolve(in.dataDir, SealedTakingsName));
    SealJournal seals(in.dataDir);
    const SealJournal::Close close =
        seals.closeDay(archiveName, takings, journalArchive, in.at, files);
    commit.replace(journalArchive, close.archivedJournal);
    commit.replace(SealJournalName, close.newJournal);
}

std::string failedText(const IoError& e) {
    return "The file " + e.path() + " could not be written:\r" + e.what() +
           "\rNothing was changed.";
}

} // namespace

std::string FinishedConsolidationText(const std::string& DateText) {
    return "The consolidation of " + DateText + " was interrupted and has now been finished.";
}

DayCommitResult CommitDay(const DayCommitInput& in, const DayCommitOptions& options) {
    DayCommitResult result;
    auto archive = ResultsArchiveName(in.dataDir, in.dates);
    if (!archive)
        throw ConsolidationError("Every archive name of the takings file for this day, Res" +
                                 in.dates.YearText + in.dates.MonthText + "." + in.dates.DayText +
                                 " to the letter z, is taken.\rNothing was changed.");
    result.archiveName = *archive;
    const std::string results = FileNames::resolve(in.dataDir, "Results.dat");
    if (!FileNames::exists(results))
        throw ConsolidationError(" The file " + results + " not found!\rNothing was changed.");
    FileCommit commit(in.dataDir);
    if (!options.sync) commit.skipSyncs();
    commit.stopAfter(options.stopAfter);
    commit.setNote(FinishedConsolidationText(in.dates.DateText));
    try {
        DayFiles files = composeDayFiles(in, options);
        std::vector<FileSeal> seals;
        PeriodEndFiles period;
        if (in.PeriodEnd)
            stagePeriodEnd(commit, in, files, period, seals);
        else
            stageDayFiles(commit, files, seals);
        std::string cashup;
        if (stageCashup(commit, in, result.archiveName, cashup))
            seals.push_back({'W', CashupArchiveName(result.archiveName), cashup});
        stageSeals(commit, in, result.archiveName, seals);
        // The day's folder for the office is owed from the moment of the
        // commit; the list of owed days changes with it.
        if (const std::optional<std::string> due =
                OutboxDueWith(in.dataDir, in.dates, result.archiveName, in.closingCountLine))
            commit.replace(OutboxDueName, *due);
        commit.move("Results.dat", result.archiveName);
        commit.commit();
    } catch (const IoError& e) {
        if (!commit.committed()) throw ConsolidationError(failedText(e));
        result.unfinished = "The file " + e.path() + " could not be changed:\r" + e.what() +
                            "\rThe consolidation will be finished at the next start.";
    }
    if (result.unfinished.empty())
        result.outbox = SendDueDays(in.dataDir, in.config, {static_cast<size_t>(-1), options.sync});
    return result;
}
