// Times the inventory update on a generated shop of 100,000 articles: the
// apply of a 1,000-line journal, the search for one inventory line, and the
// screen from the last key of a code to the line shown. The apply and the
// search are printed as ratios to one plain read of the files they read; the
// search beside `grep -m1` of the same code in Inventory.dat (the peer). With
// --scale, again at 1,000,000 articles, each figure beside its first one.

#include "BenchLookups.h"
#include "BenchServices.h"
#include "BenchShop.h"
#include "BenchTiming.h"
#include "app/MainScreen.h"
#include "app/ProgramBlock.h"
#include "forms/EntryField.h"
#include "inventory/InventoryScreen.h"
#include "inventory/InventoryUpdate.h"
#include "platform/Services.h"
#include "store/Configuration.h"
#include "store/DataFiles.h"
#include "store/FileCommit.h"
#include "store/TextRewriter.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Articles = 100000;
constexpr int JournalLines = 1000;
constexpr int Lookups = 200;

// 81 characters, as the apply writes them.
std::string inventoryLine(int i) {
    char line[128];
    std::snprintf(line, sizeof line, "%c%-13s %10d %10.1f %12.1f %15.1f %15.2f", BenchMarker(i),
                  BenchCode(i).c_str(), i % 100, 1.0, (i % 37) * 1.0, 12.0 + i % 7,
                  (i % 1000) / 10.0);
    return line;
}

void writeLines(const std::string& path, int count, const std::function<std::string(int)>& line) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < count; ++i)
        out << line(i) << "\r\n";
}

void writeShop(const std::string& dir, int ArticleCount) {
    writeLines(dir + "Inventory.dat", ArticleCount, inventoryLine);
    writeLines(dir + "Pricelist.dat", ArticleCount, [](int i) { return BenchPriceLine(i); });
    WriteBenchSettings(dir);
}

// The whole bench on `ArticleCount` articles; its figures for the scale run,
// empty when a code was not found.
Figures runBench(const std::string& dir, int ArticleCount) {
    writeShop(dir, ArticleCount);
    DataFiles files(dir);

    // The apply: a journal of 1,000 changes spread over the inventory.
    std::mt19937 random(11);
    std::vector<std::string> journal;
    for (int n = 0; n < JournalLines; ++n) {
        char line[64];
        std::snprintf(line, sizeof line, " %-13s %10.1f",
                      BenchCode(static_cast<int>(random() % ArticleCount)).c_str(),
                      static_cast<double>(random() % 200) - 100);
        journal.push_back(line);
    }
    auto prepareApply = [&] {
        std::filesystem::copy_file(dir + "Inventory.dat", dir + "Inventory.wrk",
                                   std::filesystem::copy_options::overwrite_existing);
        writeLines(dir + "Inventory.new", JournalLines, [&](int i) { return journal[i]; });
    };
    const std::string original = dir + "Inventory.orig";
    std::filesystem::copy_file(dir + "Inventory.dat", original,
                               std::filesystem::copy_options::overwrite_existing);
    const Paired apply = paired(
        7, [&] { ApplyInventoryUpdates(files); },
        [&] {
            readOnce(dir + "Inventory.wrk");
            readOnce(dir + "Inventory.new");
        },
        prepareApply);
    std::filesystem::copy_file(original, dir + "Inventory.dat",
                               std::filesystem::copy_options::overwrite_existing);
    prepareApply();
    // The apply puts its new Inventory.dat on disk before the commit: the
    // time the disk takes for that many bytes is shown apart, as no parse or
    // format can win it back.
    const double writeAndSync =
        writeAndSyncTime(dir + "Sync.probe", std::filesystem::file_size(dir + "Inventory.dat"));
    // All the apply asks of the disk, without any reading or composing: the
    // new file staged and synced, two files deleted, the commit's journal
    // and directory synced, the renames.
    const std::string bytes(std::filesystem::file_size(dir + "Inventory.dat"), ' ');
    double diskPart = median(7, [&] {
        FileCommit commit(dir);
        std::optional<TextRewriter> out = TextRewriter::Open(commit.stage("Probe.dat"));
        out->write(bytes);
        out->commit();
        commit.remove("Probe.new");
        commit.remove("Probe.wrk");
        commit.commit();
    });
    std::filesystem::remove(dir + "Probe.dat");

    // Of that, the parse and format of every line, without any file.
    std::vector<std::string> lines;
    for (int i = 0; i < ArticleCount; ++i)
        lines.push_back(inventoryLine(i));
    size_t formatted = 0;
    double parseAndFormat = median(7, [&] {
        InventoryLine parsed;
        for (const std::string& text : lines)
            if (ParseInventoryLine(text, parsed))
                formatted += FormatInventoryLine(parsed, MinMaxWidthUpdate).size();
    });

    // The search, for the last code and for one that is not there.
    InventoryLine line;
    const std::string lastCode = BenchCode(ArticleCount - 1);
    double findLast = median(51, [&] { FindInventoryLine(files, lastCode, line); });
    const bool lastFound = line.ArticleCode == lastCode;
    double findMissing = median(51, [&] { FindInventoryLine(files, "NOT-THERE    ", line); });
    double readInventory = median(51, [&] { readOnce(dir + "Inventory.dat"); });
    const double grepLast = medianPeer(11, "grep -m1 -F " + lastCode + " " + dir + "Inventory.dat");

    // The screen, from the 13th character of a code to the line shown.
    std::filesystem::remove(dir + "Inventory.wrk");
    std::filesystem::remove(dir + "Inventory.new");
    BenchServices bench;
    Services& services = bench.services;
    ProgramBlock program(services, dir);
    program.show();
    program.main->hide();
    auto* inventory = program.inventory;
    inventory->show();
    QApplication::setActiveWindow(inventory);
    std::vector<std::string> codes;
    for (int n = 0; n < Lookups; ++n) {
        int i = static_cast<int>(random() % ArticleCount);
        if (i % 50 == 0) ++i; // expense lines cannot be updated
        codes.push_back(BenchCode(n == 0 ? ArticleCount - 1 : i));
    }
    const std::vector<double> ms =
        TimeCodeLookups(*inventory, codes, inventory->findChild<EntryField*>("quantityField"));
    if (ms.empty()) return {};

    std::printf("inventory: %d lines of 81 characters, journal: %d lines\n", ArticleCount,
                JournalLines);
    print("ApplyInventoryUpdates", apply.work);
    print("read Inventory.wrk + Inventory.new once", apply.reference);
    print("  of which parse + format of the lines in memory", parseAndFormat);
    print("FindInventoryLine, last code", findLast);
    print("FindInventoryLine, missing code", findMissing);
    print("read Inventory.dat once", readInventory);
    printPeer("grep -m1 of the last code in Inventory.dat (peer)", grepLast);
    print("  write + sync of a file as long as Inventory.dat", writeAndSync);
    printRatio("ratio apply / read of its sources", apply.ratio, 40);
    printRatio("ratio apply less that write + sync / read",
               (apply.work - writeAndSync) / apply.reference);
    print("  staged write, syncs and commit of as many bytes", diskPart);
    printRatio("ratio apply less that disk part / read", (apply.work - diskPart) / apply.reference);
    printRatio("ratio FindInventoryLine last / read Inventory.dat", findLast / readInventory, 3);
    printRatio("ratio FindInventoryLine missing / read Inventory.dat", findMissing / readInventory,
               3);
    std::printf("screen, code typed to line shown, %d codes: median %.2f ms, worst %.2f ms\n",
                Lookups, ms[ms.size() / 2], ms.back());
    std::printf("checks: last code %s, %zu characters formatted\n",
                lastFound ? "found" : "NOT FOUND", formatted);
    if (!lastFound) return {};
    return {{"ApplyInventoryUpdates", apply.work},
            {"FindInventoryLine, last code", findLast, true, 4},
            {"FindInventoryLine, missing code", findMissing, true, 4},
            {"screen, code typed to line shown, median", ms[ms.size() / 2], true, 4},
            {"  read Inventory.dat once (floor of the search)", readInventory, false},
            {"  read Inventory.wrk + Inventory.new (floor)", apply.reference, false},
            {"  grep -m1 of the last code (peer)", grepLast, false}};
}

} // namespace

int main(int argc, char** argv) {
    keepFreedMemory();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string root = makeBenchDirectory("zinvbenchXXXXXX");
    if (root.empty()) return 1;
    const std::string dir = root + "/";
    const Figures first = runBench(dir, Articles);
    const bool ok = !first.empty() && alsoAtScale(argc, argv, first, [&] {
        return runBench(dir, Articles * ScaleFactor);
    });
    std::filesystem::remove_all(dir);
    return ok ? 0 : 1;
}
