// Times the sales screen from the last key of an article code to the article
// shown, on a generated shop of 100,000 articles, driving the real screen with
// keys on the offscreen platform. Each lookup reads the work copy from its
// first line, so its floor is a plain read of that file. With --scale, again
// at 1,000,000 articles, each figure beside its first one.

#include "BenchLookups.h"
#include "BenchServices.h"
#include "BenchShop.h"
#include "BenchTiming.h"
#include "app/MainScreen.h"
#include "app/ProgramBlock.h"
#include "forms/EntryField.h"
#include "platform/Services.h"
#include "sales/SalesScreen.h"
#include "scanning/BarCodes.h"
#include "store/Configuration.h"

#include <QApplication>
#include <QTest>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

namespace {

constexpr int Articles = 100000;
constexpr int Lookups = 200;

void writeShop(const std::string& dir, int ArticleCount) {
    std::ofstream price(dir + "Pricelist.dat", std::ios::binary | std::ios::trunc);
    std::ofstream stock(dir + "Inventory.dat", std::ios::binary | std::ios::trunc);
    for (int i = 0; i < ArticleCount; ++i) {
        price << BenchPriceLine(i, i, ' ') << "\r\n";
        char line[128];
        std::snprintf(line, sizeof line, " %-13s %10d %10.1f %12.1f\r\n", BenchCode(i).c_str(),
                      i % 100, 1.0, 50.0);
        stock << line;
    }
    WriteBenchSettings(dir);
}

// The whole bench on `ArticleCount` articles; its figures for the scale run,
// empty when a code was not found.
Figures runBench(const std::string& dir, int ArticleCount) {
    writeShop(dir, ArticleCount);
    BenchServices bench;
    Services& services = bench.services;
    ProgramBlock program(services, dir);
    program.show();
    program.main->hide();
    auto* sales = program.sales;
    // The screen has a show() of its own for what the till tells.
    sales->QWidget::show();
    QApplication::setActiveWindow(sales);
    QTest::keyClicks(sales->activeControl(), "A");

    std::mt19937 random(7);
    std::vector<std::string> codes;
    for (int n = 0; n < Lookups; ++n) {
        int i = static_cast<int>(random() % ArticleCount);
        codes.push_back(BenchCode(n == 0 ? ArticleCount - 1 : i));
    }
    const std::vector<double> ms =
        TimeCodeLookups(*sales, codes, sales->findChild<EntryField*>("quantityField"));
    if (ms.empty()) return {};
    std::printf("code to article shown, %d lookups in %d articles\n", Lookups, ArticleCount);
    std::printf("median %.2f ms\n", ms[ms.size() / 2]);
    std::printf("worst %.2f ms\n", ms.back());

    // Scanned codes must carry a right check digit, or they are refused as
    // misreads before any lookup.
    std::vector<std::string> scanned;
    for (int i = ArticleCount - 1; i >= 0 && scanned.size() < Lookups; i -= 7)
        if (BarCodes::checkDigitRight(BenchCode(i))) scanned.push_back(BenchCode(i));
    const std::vector<double> burst =
        TimeScannedLookups(*sales, scanned, sales->findChild<EntryField*>("quantityField"));
    if (burst.empty()) return {};
    std::printf("scanned code (keys 5 ms apart) to article shown, %zu scans\n", burst.size());
    std::printf("median %.2f ms\n", burst[burst.size() / 2]);
    std::printf("worst %.2f ms (goal: within 10 ms)\n", burst.back());
    const std::string work = dir + "Pricelist.wrk";
    const double read = median(21, [&] { readOnce(work); });
    const double lines = median(5, [&] { lineByLine(work); });
    const double peer = medianPeer(5, "grep -m1 -F " + BenchCode(ArticleCount - 1) + " " + work);
    print("plain read of Pricelist.wrk", read);
    print("plain line-by-line read of Pricelist.wrk (floor)", lines);
    printPeer("grep -m1 of the last code in it (peer)", peer);
    return {{"typed code to article shown, median", ms[ms.size() / 2], true, 3},
            {"scanned code to article shown, median", burst[burst.size() / 2], true, 3},
            {"scanned code to article shown, worst", burst.back(), true, 3},
            {"  plain read of Pricelist.wrk (floor)", read, false},
            {"  line-by-line read of Pricelist.wrk", lines, false},
            {"  grep -m1 of the last code (peer)", peer, false}};
}

} // namespace

int main(int argc, char** argv) {
    keepFreedMemory();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string root = makeBenchDirectory("zbenchXXXXXX");
    if (root.empty()) return 1;
    const std::string dir = root + "/";
    const Figures first = runBench(dir, Articles);
    const bool ok = !first.empty() && alsoAtScale(argc, argv, first, [&] {
        return runBench(dir, Articles * ScaleFactor);
    });
    std::filesystem::remove_all(dir);
    return ok ? 0 : 1;
}
