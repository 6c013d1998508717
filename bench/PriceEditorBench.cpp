// Times the price list editor on a generated shop of 100,000 articles with
// 1,000 codes standing twice: the double-entry check and the whole save,
// each as a ratio to one plain read of the files it reads, and the screen's
// opening, keystrokes and caret moves. On a small list it also compares the
// check and the realignment with the line-against-every-line way of doing
// them, which must give the very same output. The check is set beside
// `cut | sort | uniq -d` finding the codes that stand twice (the peer). With
// --scale, again at 1,000,000 articles, each figure beside its first one.

#include "BenchServices.h"
#include "BenchShop.h"
#include "BenchTiming.h"
#include "app/MainScreen.h"
#include "app/ProgramBlock.h"
#include "inventory/InventoryFile.h"
#include "platform/Services.h"
#include "pricelist/DoubleEntryCheck.h"
#include "pricelist/PriceListItem.h"
#include "pricelist/PriceListSave.h"
#include "pricelist/PriceListScreen.h"
#include "store/Configuration.h"
#include "store/DataFiles.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Articles = 100000;
constexpr int DoubledCodes = 1000;

// The last 1,000 lines repeat the codes of the first 1,000.
std::string priceLine(int i, int ArticleCount) {
    int code = i >= ArticleCount - DoubledCodes ? i - (ArticleCount - DoubledCodes) : i;
    return BenchPriceLine(i, code, BenchMarker(i));
}

// In the opposite order, every tenth article missing, so the realignment
// searches and adds.
std::string inventoryLine(int n, int ArticleCount) {
    int i = ArticleCount - 1 - n;
    char line[128];
    std::snprintf(line, sizeof line, "%c%-13s %10d %10.1f %12.1f %15.1f %15.2f", ' ',
                  BenchCode(i).c_str(), i % 100, 1.0, (i % 37) * 1.0, 12.0 + i % 7,
                  (i % 1000) / 10.0);
    return line;
}

std::vector<std::string> linesOf(int count, const std::function<std::string(int)>& line,
                                 int skipEvery = 0) {
    std::vector<std::string> lines;
    for (int i = 0; i < count; ++i)
        if (!skipEvery || i % skipEvery) lines.push_back(line(i));
    return lines;
}

void writeLines(const std::string& path, const std::vector<std::string>& lines) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (const auto& l : lines)
        out << l << "\r\n";
}

// The check as first written: every line against the work file of all codes.
std::vector<std::string> doublesByRescan(const std::vector<std::string>& lines) {
    std::vector<std::string> report;
    for (const auto& line : lines) {
        std::string code = line.substr(1, 13);
        int matches = 0;
        for (size_t n = 0; n < lines.size(); ++n)
            if (lines[n].substr(1, 13) == code && ++matches > 1)
                report.push_back(" " + code + ",  delete line No: " + std::to_string(n + 1));
    }
    return report;
}

// The realignment as first written: the old inventory searched from its top
// for every price list line.
std::string realignByRescan(const std::vector<std::string>& prices,
                            const std::vector<std::string>& inventory) {
    std::string out;
    for (const auto& line : prices) {
        std::string code = line.substr(1, 13);
        auto found = std::find_if(inventory.begin(), inventory.end(), [&](const std::string& l) {
            return l.size() >= 14 && l.substr(1, 13) == code;
        });
        PriceListItem item;
        ParsePriceListItem(line, item);
        out += found != inventory.end()
                   ? *found
                   : NewInventoryLine(line[0], code, item.StockLevel, item.wholesale);
        out += "\r\n";
    }
    return out;
}

// The whole bench on `ArticleCount` articles; its figures for the scale run,
// and whether its checks held.
Figures runBench(const std::string& dir, int ArticleCount, bool& ok) {
    const auto prices = linesOf(ArticleCount, [&](int i) { return priceLine(i, ArticleCount); });
    const auto inventory = linesOf(
        ArticleCount, [&](int i) { return inventoryLine(i, ArticleCount); }, 10);
    auto layOut = [&] {
        writeLines(dir + "Pricelist.dat", prices);
        writeLines(dir + "Inventory.dat", inventory);
    };
    layOut();
    Configuration config = DefaultConfiguration();
    config.LowStockPercent = 10;
    config.InventoryOn = true;
    WriteConfiguration(dir + "Configur.dat", config);
    for (const char* name : {"hlpf.1", "hlpf.2", "hlpf.3", "hlpf.4", "hlpf.5", "hlpf.6", "hlpf.7"})
        std::ofstream(dir + name) << "help\r\n";
    DataFiles files(dir);

    bool same = true;
    {
        std::vector<std::string> few(prices.begin(), prices.begin() + 1500);
        few.insert(few.end(), prices.end() - 500, prices.end());
        std::vector<std::string> fewInventory(inventory.end() - 2000, inventory.end());
        same = FindDoubleEntries({few.begin(), few.end()}).lines == doublesByRescan(few) &&
               RealignInventory({few.begin(), few.end()},
                                {fewInventory.begin(), fewInventory.end()}) ==
                   realignByRescan(few, fewInventory);
    }

    DoubleEntryReport report;
    double check = median(9, [&] { report = CheckDoubleEntries(files); });
    double readList = median(21, [&] { readOnce(dir + "Pricelist.dat"); });
    // The peer: the codes (columns 2 to 14) that stand more than once.
    const double peer =
        medianPeer(5, "LC_ALL=C cut -c2-14 " + dir + "Pricelist.dat | LC_ALL=C sort | uniq -d");
    double readBoth = median(21, [&] {
        readOnce(dir + "Pricelist.dat");
        readOnce(dir + "Inventory.dat");
    });

    PriceListSaveResult saved;
    double save = median(
        7,
        [&] {
            saved = SavePriceList(files, config, prices);
            CheckDoubleEntries(files);
        },
        layOut);
    double saveNoSync = median(
        7,
        [&] {
            PriceListSaveOptions options;
            options.skipSyncs = true;
            SavePriceList(files, config, prices, options);
            CheckDoubleEntries(files);
        },
        layOut);
    layOut();

    // The screen: opened from the main screen, then keys and caret moves.
    BenchServices bench;
    Services& services = bench.services;
    ProgramBlock program(services, dir);
    program.show();
    auto* editor = program.priceList;
    double open = millisecondsOf([&] {
        program.main->handOverTo(editor);
        QApplication::processEvents();
    });
    QApplication::setActiveWindow(editor);
    editor->findChild<QPlainTextEdit*>("listBox")->setFocus();
    editor->findChild<QPlainTextEdit*>("listBox")->moveCursor(QTextCursor::End);
    std::vector<double> keys, moves;
    for (int n = 0; n < 200; ++n) {
        keys.push_back(millisecondsOf(
            [&] { QTest::keyClick(editor->findChild<QPlainTextEdit*>("listBox"), 'a'); }));
        moves.push_back(millisecondsOf(
            [&] { QTest::keyClick(editor->findChild<QPlainTextEdit*>("listBox"), Qt::Key_Up); }));
    }
    std::sort(keys.begin(), keys.end());
    std::sort(moves.begin(), moves.end());

    std::printf("price list: %d lines, %d codes twice; inventory: %zu lines\n", ArticleCount,
                DoubledCodes, inventory.size());
    print("double-entry check", check, 56);
    print("read Pricelist.dat once", readList, 56);
    printPeer("cut | sort | uniq -d of the codes (peer)", peer, 56);
    print("save + double-entry check (with syncs)", save, 56);
    print("save + double-entry check (without syncs)", saveNoSync, 56);
    print("read Pricelist.dat + Inventory.dat once", readBoth, 56);
    ok = printRatio("ratio double-entry check / read", check / readList, 80, 56) && ok;
    ok = printRatio("ratio save / read", save / readBoth, 150, 56) && ok;
    // Every commit under a second with its syncs, at the shop's size.
    if (ArticleCount == Articles) ok = save < 1000 && ok;
    std::printf("%-56s %9.3f ms\n",
                ("screen opening at " + std::to_string(ArticleCount) + " lines").c_str(), open);
    std::printf("screen keystroke: median %.3f ms, worst %.3f ms\n", keys[keys.size() / 2],
                keys.back());
    std::printf("screen caret move: median %.3f ms, worst %.3f ms\n", moves[moves.size() / 2],
                moves.back());
    std::printf("checks: %zu report lines (expected %d), saved %s, same output as the rescan: %s\n",
                report.lines.size(), 2 * DoubledCodes, saved.saved ? "yes" : "NO",
                same ? "yes" : "NO");
    ok = ok && same && saved.saved && report.lines.size() == 2 * DoubledCodes;
    return {{"double-entry check", check},
            {"save + double-entry check (with syncs)", save},
            {"save + double-entry check (without syncs)", saveNoSync},
            {"screen opening", open},
            {"screen keystroke, median", keys[keys.size() / 2]},
            {"screen caret move, median", moves[moves.size() / 2]},
            {"  read Pricelist.dat + Inventory.dat (floor)", readBoth, false},
            {"  cut | sort | uniq -d of the codes (peer)", peer, false}};
}

} // namespace

int main(int argc, char** argv) {
    keepFreedMemory();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string root = makeBenchDirectory("zpricebenchXXXXXX");
    if (root.empty()) return 1;
    const std::string dir = root + "/";
    bool ok = true;
    const Figures first = runBench(dir, Articles, ok);
    ok =
        alsoAtScale(argc, argv, first, [&] { return runBench(dir, Articles * ScaleFactor, ok); }) &&
        ok;
    std::filesystem::remove_all(dir);
    return ok ? 0 : 1;
}
