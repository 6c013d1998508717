#include "consolidation/InventoryRebuild.h"
#include "consolidation/DayResults.h"
#include "inventory/InventoryFile.h"
#include "support/TestDir.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <sstream>

namespace {

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

double number(const std::string& line, size_t from, int index) {
    std::istringstream in(line.substr(from));
    double x = 0;
    for (int i = 0; i <= index; ++i)
        in >> x;
    return x;
}

// The rebuild as first written: for every price list line, search the old
// inventory from its start and rescan the whole takings file.
std::string literalRescan(const std::string& priceList, const std::string& inventory,
                          const std::string& takings, bool inventoryOn) {
    std::string out;
    for (const std::string& p : linesOf(priceList)) {
        const char marker = p[0];
        const std::string code = p.substr(1, 13);
        const double W = number(p, 42, 0);
        const long level = static_cast<long>(number(p, 42, 2));
        const bool expense = marker == '$', service = code[0] == '/';
        double S = 0, P = 0, V = 0, T = 0, Q = 0, A = 0, E = 0;
        for (const std::string& i : linesOf(inventory)) {
            if (i.substr(1, 13) != code) continue;
            S = number(i, 14, 2), P = number(i, 14, 3), V = number(i, 14, 4);
            break;
        }
        for (const std::string& t : linesOf(takings)) {
            if (t[0] == '*' || t[0] == '#' || t.substr(2, 13) != code) continue;
            if (t[0] == '$') {
                E += number(t, 15, 4);
            } else if (service) {
                Q += number(t, 15, 0);
                A += number(t, 15, 4);
            } else {
                T += number(t, 15, 0);
            }
        }
        S = S - T;
        if (!inventoryOn) S = 0;
        P = P + T;
        if (service) P = P + Q;
        V = V + E;
        InventoryLine line{' ', code, level, T, S, P, W * T};
        if (expense)
            line = {'$', code, level, T, S, P, V};
        else if (service)
            line = {'!', code, level, Q, S, P, V + A};
        out += FormatInventoryLine(line, MinMaxWidthConsolidation) + "\r\n";
    }
    return out;
}

std::string fmt(const char* format, auto... values) {
    char buf[160];
    std::snprintf(buf, sizeof buf, format, values...);
    return buf;
}

} // namespace

TEST(UpdateInventoryFromTakings, AgreesWithARescanPerPriceListLine) {
    // A small pool of codes, so that codes repeat in every file.
    const std::vector<std::string> codes = {"A1", "A2", "A3", "/S1", "/S2", "E1", "E2", "NEW"};
    std::mt19937 random(20261205);
    auto cents = [&](int max) { return static_cast<int>(random() % (2 * max)) - max; };
    for (int round = 0; round < 40; ++round) {
        std::string priceList, inventory, takings = "* START of SALE   05/12/26 09:00\r\n";
        for (int i = 0; i < 12; ++i) {
            const std::string& code = codes[random() % codes.size()];
            char marker = code[0] == 'E' ? '$' : ' ';
            priceList += fmt("%c%-13s %-26s %10.2f %10.2f %2d\r\n", marker, code.c_str(), "x",
                             cents(50000) / 100.0, 1.0, static_cast<int>(random() % 50));
        }
        for (int i = 0; i < 6; ++i) {
            const std::string& code = codes[random() % (codes.size() - 1)];
            inventory += fmt("%c%-13s %10d %10.1f %12.1f %15.1f %15.2f\r\n", ' ', code.c_str(), 1,
                             1.0, cents(3000) / 10.0, cents(3000) / 10.0, cents(90000) / 100.0);
        }
        for (int i = 0; i < 30; ++i) {
            const std::string& code = codes[random() % codes.size()];
            char m = "AB$ab"[random() % 5];
            double q = cents(1000) / 100.0, a = cents(100000) / 100.0;
            takings += fmt("%c %-13s %8.2f %10.2f %12.2f %12.2f %13.2f\r\n", m, code.c_str(), q,
                           1.5, 2.5, 2.5, a);
        }
        TestDir dir;
        dir.write("Pricelist.dat", priceList);
        dir.write("Inventory.dat", inventory);
        dir.write("Results.dat", takings);
        DayResults day;
        ASSERT_TRUE(ReadDayResults(dir.file("Results.dat"), {}, "05/12/26", day));
        ASSERT_EQ(day.faultyLines, 0u);
        for (bool inventoryOn : {true, false}) {
            std::string rebuilt = UpdateInventoryFromTakings(
                dir.file("Pricelist.dat"), dir.file("Inventory.dat"), day.byCode, inventoryOn);
            EXPECT_EQ(rebuilt, literalRescan(priceList, inventory, takings, inventoryOn))
                << "round " << round;
        }
    }
}

TEST(UpdateInventoryFromTakings, ProgressIsShownAboutAHundredTimes) {
    TestDir dir;
    std::string priceList;
    for (int i = 0; i < 1234; ++i)
        priceList += fmt(" %-13d %-26s %10.2f %10.2f %2d\r\n", i, "x", 1.0, 2.0, 5);
    priceList += " BIG           Wholesale of a million     1234567.89 2000000.00  1\r\n";
    dir.write("Pricelist.dat", priceList);
    size_t calls = 0, last = 0;
    std::string rebuilt =
        UpdateInventoryFromTakings(dir.file("Pricelist.dat"), dir.file("Inventory.dat"),
                                   {{"BIG          ", {2, 0, 0}}}, true, [&](size_t done, size_t) {
                                       ++calls;
                                       last = done;
                                   });
    EXPECT_LE(calls, 102u);
    EXPECT_EQ(last, 1235u);
    // The wholesale price fills its columns and keeps its first digit.
    EXPECT_NE(rebuilt.find(" BIG               1        2.0         -2.0             2.0"
                           "      2469135.78\r\n"),
              std::string::npos);
}
