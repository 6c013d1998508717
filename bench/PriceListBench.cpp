// Times the price list's start-up work and the article lookup on a generated
// data directory of 100,000 articles, next to one plain read of the same
// files, so that the ratios can be read off, and the lookup next to
// `grep -m1` of the same code in the work copy (the peer). With --scale,
// again at 1,000,000 articles, each figure beside its first one.

#include "BenchShop.h"
#include "BenchTiming.h"
#include "pricelist/CurrentArticle.h"
#include "pricelist/PriceList.h"
#include "store/Configuration.h"
#include "store/DataFiles.h"
#include "store/ProgramState.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Articles = 100000;
constexpr int ShortLineEvery = 100;

// 81 characters, as the inventory update writes them.
std::string inventoryLine(int i) {
    char line[128];
    std::snprintf(line, sizeof line, "%c%-13s %10d %10.1f %12.1f %15.1f %15.2f", BenchMarker(i),
                  BenchCode(i).c_str(), i % 100, 1.0, (i % 37) * 1.0, 12.0, (i % 1000) / 10.0);
    return line;
}

void writeFile(const std::string& path, const std::function<void(std::ofstream&)>& body) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    body(out);
}

void writePriceList(const std::string& path, bool withShortLines, int ArticleCount) {
    writeFile(path, [&](std::ofstream& out) {
        for (int i = 1; i <= ArticleCount; ++i) {
            if (withShortLines && i % ShortLineEvery == 0) out << " INCOMPLETE\r\n";
            out << BenchPriceLine(i) << "\r\n";
        }
    });
}

// The whole bench on `ArticleCount` articles; its figures for the scale run.
Figures runBench(const std::string& dir, int ArticleCount, bool& clean) {
    const int runs = ArticleCount > Articles ? 3 : 5;
    DataFiles files(dir);
    Notices notices;
    Configuration config;
    config.LowStockPercent = 20;
    config.InventoryOn = true;

    const std::string priceList = dir + "Pricelist.dat";
    writeFile(dir + "Inventory.dat", [&](std::ofstream& out) {
        for (int i = 1; i <= ArticleCount; ++i)
            out << inventoryLine(i) << "\r\n";
    });
    std::printf("data directory: %s\n", dir.c_str());
    std::printf("price list: %d lines of 66 characters (+%d short lines for the compaction)\n",
                ArticleCount, ArticleCount / ShortLineEvery);

    double compactDropping = median(
        runs, [&] { CompactPriceList(files); },
        [&] { writePriceList(priceList, true, ArticleCount); });
    double compactUnchanged = median(runs, [&] { CompactPriceList(files); });

    auto build = [&] {
        files.OpenPriceWorkForAppend()->erase();
        std::optional<TextReader> list = OpenPriceList(files);
        std::optional<TextAppender> work = files.OpenPriceWorkForAppend();
        BuildPriceWorkFile(files, *list, *work, config, notices);
        work->close();
    };
    double buildTime = median(runs, build);

    CurrentArticle article;
    const std::string lastCode = BenchCode(ArticleCount);
    auto find = [&](const std::string& code) {
        std::optional<TextReader> work = files.OpenPriceWorkForRead();
        FindArticle(*work, code, article);
    };
    // A lookup reads the work copy from its first line until the code, as
    // the program has always done (no table of articles in memory): its
    // figure is one pass over the file, timed beside a plain read of it.
    const std::string workCopy = dir + "Pricelist.wrk";
    find(lastCode);
    bool lastFound = article.ArticleCode == lastCode;
    const Paired findLast = paired(
        21, [&] { find(lastCode); }, [&] { readOnce(workCopy); });
    find("NOT-THERE    ");
    bool missingFound = article.ArticleCode == "NOT-THERE    ";
    const Paired findMissing = paired(
        21, [&] { find("NOT-THERE    "); }, [&] { readOnce(workCopy); });
    // The peer: grep stopping at the first line that holds the code.
    const double grepLast = medianPeer(11, "grep -m1 -F " + lastCode + " " + dir + "Pricelist.wrk");

    // The compaction puts its new Pricelist.dat on disk before the rename:
    // the time the disk takes for that many bytes is shown apart, as no
    // parse or format can win it back.
    const double writeAndSync =
        writeAndSyncTime(dir + "Sync.probe", std::filesystem::file_size(priceList));

    double readList = median(21, [&] { readOnce(priceList); });
    double readListAndInventory = median(21, [&] {
        readOnce(priceList);
        readOnce(dir + "Inventory.dat");
    });
    double readWorkLines = median(21, [&] {
        std::optional<TextReader> work = files.OpenPriceWorkForRead();
        std::string line;
        while (work->readFullLine(line)) {
        }
    });

    std::printf(
        "%-52s %9.3f ms\n",
        ("compaction, " + std::to_string(ArticleCount / ShortLineEvery) + " short lines dropped")
            .c_str(),
        compactDropping);
    print("compaction, nothing to drop", compactUnchanged);
    print("work copy build with inventory", buildTime);
    print("compaction (dropping) + work copy build", compactDropping + buildTime);
    print("FindArticle, last code (open, search, close)", findLast.work);
    print("FindArticle, missing code (open, search, close)", findMissing.work);
    printPeer("grep -m1 of the last code in Pricelist.wrk (peer)", grepLast);
    print("read Pricelist.dat once", readList);
    print("read Pricelist.dat + Inventory.dat once", readListAndInventory);
    print("read Pricelist.wrk once", findLast.reference);
    print("read Pricelist.wrk once, line by line", readWorkLines);
    printRatio("ratio FindArticle last / read Pricelist.wrk", findLast.ratio, 3);
    printRatio("ratio FindArticle missing / read Pricelist.wrk", findMissing.ratio, 3);
    print("  write + sync of a file as long as Pricelist.dat", writeAndSync);
    printRatio("ratio compaction + build / read of their files",
               (compactDropping + buildTime) / readListAndInventory, 15);
    printRatio("ratio less that write + sync / read",
               (compactDropping + buildTime - writeAndSync) / readListAndInventory);
    std::printf("checks: last code %s, missing code %s, %zu messages\n",
                lastFound ? "found" : "NOT FOUND", missingFound ? "FOUND" : "not found",
                notices.size());
    clean = clean && lastFound && !missingFound && notices.empty();
    return {{"compaction (dropping)", compactDropping},
            {"work copy build with inventory", buildTime},
            {"FindArticle, last code", findLast.work, true, 4},
            {"FindArticle, missing code", findMissing.work, true, 4},
            {"  read Pricelist.wrk once (floor of the lookup)", findLast.reference, false},
            {"  read Pricelist.wrk line by line", readWorkLines, false},
            {"  grep -m1 of the last code (peer)", grepLast, false}};
}

} // namespace

int main(int argc, char** argv) {
    keepFreedMemory();
    const std::string root = makeBenchDirectory("zorvibenchXXXXXX");
    if (root.empty()) return 1;
    const std::string dir = root + "/";
    bool clean = true;
    const Figures first = runBench(dir, Articles, clean);
    const bool within = alsoAtScale(argc, argv, first,
                                    [&] { return runBench(dir, Articles * ScaleFactor, clean); });
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
    return clean && within ? 0 : 1;
}
