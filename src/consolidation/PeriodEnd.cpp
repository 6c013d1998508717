#include "consolidation/PeriodEnd.h"

#include "consolidation/BalanceSheet.h"
#include "consolidation/ConsolidationError.h"
#include "consolidation/PeriodArchives.h"
#include "store/FileCommit.h"
#include "store/FileNames.h"
#include "store/TextLines.h"

#include <optional>

PeriodEndFiles PreparePeriodEnd(const PeriodEndInput& in) {
    auto path = [&](const std::string& name) { return FileNames::resolve(in.dataDir, name); };
    const RunDates& d = in.dates;
    PeriodEndFiles files;
    const std::string dayBase = "Day" + d.YearText + d.MonthText + ".";
    auto dayName = FreeLetterName(in.dataDir, dayBase);
    if (!dayName)
        throw ConsolidationError("Every archive name of the day-by-day file for this month, " +
                                 dayBase + "A to " + dayBase +
                                 "Z, is taken.\rNothing was changed.");
    files.dayArchiveName = *dayName;
    DayArchive day = ArchiveDayByDay(in.dayByDay, path("Daybyday.dat"), d.DateText);
    files.dayArchive = std::move(day.content);

    files.salesPersonArchiveName = "SP" + d.YearText + d.MonthText + ".dat";
    files.salesPersonArchive = ArchiveSalesPersonTotals(
        ReadWholeFile(path(files.salesPersonArchiveName)), in.salesPersons, d.DateText);

    const std::string balancePath = path("Balance.dat");
    std::optional<std::string> oldBalance;
    if (FileNames::exists(balancePath)) oldBalance = ReadWholeFile(balancePath);
    files.balanceExisted = oldBalance.has_value();
    BalanceUpdate update = UpdateBalanceSheet(oldBalance, balancePath, in.inventory,
                                              path("Inventory.dat"), day.period, d);
    files.balance = std::move(update.balance);
    files.inventory = std::move(update.inventory);
    files.balanceTotals = BalanceTotals(files.balance, balancePath);
    return files;
}

std::vector<FileSeal> PeriodEndSeals(const PeriodEndFiles& files) {
    return {{'W', files.dayArchiveName, files.dayArchive},
            {'W', files.salesPersonArchiveName, files.salesPersonArchive},
            {'D', "Daybyday.dat", {}},
            {'D', "Spersons.dat", {}},
            {'W', "Balance.dat", files.balance},
            {'W', "Balance.Tot", files.balanceTotals},
            {'W', "Inventory.dat", files.inventory}};
}

void StagePeriodEnd(FileCommit& commit, const PeriodEndFiles& files,
                    std::string_view dayInventory) {
    commit.replace(files.dayArchiveName, files.dayArchive);
    commit.replace(files.salesPersonArchiveName, files.salesPersonArchive);
    commit.remove("Daybyday.dat");
    commit.remove("Spersons.dat");
    commit.replace("Balance.dat", files.balance);
    commit.replace("Balance.Tot", files.balanceTotals);
    commit.replace("Inventory.dat", files.inventory);
    // When the sheet got a further column the work copy keeps the inventory
    // as it stood before its values were started again.
    if (files.balanceExisted)
        commit.replace("Inventory.wrk", dayInventory);
    else
        commit.remove("Inventory.wrk");
    commit.remove("Balance.wrk");
}
