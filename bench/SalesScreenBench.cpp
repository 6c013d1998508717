// Times the sales screen from the last key of an article code to the article
// shown, on a generated shop of 100,000 articles, driving the real screen with
// keys on the offscreen platform.

#include "BenchServices.h"
#include "app/MainScreen.h"
#include "app/ProgramBlock.h"
#include "forms/EntryField.h"
#include "platform/Services.h"
#include "sales/SalesScreen.h"
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

constexpr int ArticleCount = 100000;
constexpr int Lookups = 200;

std::string codeOf(int i) {
    char code[16];
    std::snprintf(code, sizeof code, "%013d", i);
    return code;
}

void writeShop(const std::string& dir) {
    std::ofstream price(dir + "Pricelist.dat", std::ios::binary);
    std::ofstream stock(dir + "Inventory.dat", std::ios::binary);
    for (int i = 0; i < ArticleCount; ++i) {
        char line[128];
        std::snprintf(line, sizeof line, " %-13s %-26s %10.2f %10.2f %2d\r\n", codeOf(i).c_str(),
                      ("Article number " + std::to_string(i)).c_str(), (i % 1000) / 10.0,
                      (i % 1000) / 5.0 + 0.99, i % 100);
        price << line;
        std::snprintf(line, sizeof line, " %-13s %10d %10.1f %12.1f\r\n", codeOf(i).c_str(),
                      i % 100, 1.0, 50.0);
        stock << line;
    }
    Configuration c = DefaultConfiguration();
    c.LowStockPercent = 10;
    WriteConfiguration(dir + "Configur.dat", c);
    for (const char* name : {"hlpf.1", "hlpf.2", "hlpf.3", "hlpf.4", "hlpf.5", "hlpf.6", "hlpf.7"})
        std::ofstream(dir + name) << "help\r\n";
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::string dir = (std::filesystem::temp_directory_path() / "zbench").string() + "/";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    writeShop(dir);

    BenchServices bench;
    Services& services = bench.services;
    ProgramBlock program(services, dir);
    program.show();
    program.Form1->hide();
    auto* sales = static_cast<TForm4*>(program.Form4);
    sales->show();
    QApplication::setActiveWindow(sales);
    QTest::keyClicks(sales->activeControl(), "A");

    std::mt19937 random(7);
    std::vector<double> ms;
    for (int n = 0; n < Lookups; ++n) {
        int i = static_cast<int>(random() % ArticleCount);
        if (n == 0) i = ArticleCount - 1;
        std::string code = codeOf(i);
        QTest::keyClicks(sales->activeControl(), QString::fromStdString(code.substr(0, 12)));
        auto start = std::chrono::steady_clock::now();
        QTest::keyClick(sales->activeControl(), code[12]);
        auto end = std::chrono::steady_clock::now();
        if (sales->activeControl() != sales->edquant) {
            std::fprintf(stderr, "article %s was not found\n", code.c_str());
            return 1;
        }
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        QTest::keyClick(sales->activeControl(), Qt::Key_Escape);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("code to article shown, %d lookups in %d articles\n", Lookups, ArticleCount);
    std::printf("median %.2f ms\n", ms[ms.size() / 2]);
    std::printf("worst %.2f ms\n", ms.back());
    std::filesystem::remove_all(dir);
    return 0;
}
