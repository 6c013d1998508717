// Times the view and print screen loading a 15 MB file of 200,000 lines, from
// the choice in the open dialog to the text shown, driving the real screen on
// the offscreen platform; next to it one plain read of the same file, and
// iconv turning the same bytes from Windows-1252 into UTF-8, the decoding the
// view does (the peer). With --scale, again on a file of 2,000,000 lines,
// each figure beside its first one.

#include "BenchServices.h"
#include "BenchTiming.h"
#include "app/MainScreen.h"
#include "app/ProgramBlock.h"
#include "platform/Services.h"
#include "store/TextLines.h"
#include "viewer/ViewedFile.h"
#include "viewer/ViewerScreen.h"

#include <QAction>
#include <QApplication>
#include <QPlainTextEdit>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

constexpr int Lines = 200000;
constexpr int LineLength = 75; // plus CR LF: 15.4 MB

void writeBalance(const std::string& path, int LineCount) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    for (int i = 0; i < LineCount; ++i) {
        char line[128];
        std::snprintf(line, sizeof line, "%-14s%12.2f%12.2f%12.2f%12.2f%13.2f\r\n",
                      ("Day " + std::to_string(i)).c_str(), i * 1.25, i * 0.5, i * 0.1, i * 2.0,
                      i * 3.75);
        out << std::string(line).substr(0, LineLength) << "\r\n";
    }
}

template <typename F> double medianMs(int runs, F run) {
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        auto start = std::chrono::steady_clock::now();
        run();
        ms.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

// The whole bench on a file of `LineCount` lines; its figures for the scale
// run, and whether the whole file was shown within the budget.
Figures runBench(const std::string& dir, int LineCount, bool& ok) {
    const std::string file = dir + "Balance.Tot";
    writeBalance(file, LineCount);
    const auto bytes = std::filesystem::file_size(file);

    BenchServices bench(800, 600);
    bench.fileDialog.path = file;
    Services& services = bench.services;
    ProgramBlock program(services, dir);
    program.show();
    program.main->hide();
    auto* viewer = program.viewer;
    viewer->show();
    QApplication::setActiveWindow(viewer);
    QApplication::processEvents();

    double read = medianMs(5, [&] { ReadWholeFile(file); });
    double load = medianMs(5, [&] {
        viewer->findChild<QAction*>("viewAction")->trigger();
        // The first screenful laid out and painted, as the operator sees it.
        viewer->findChild<QPlainTextEdit*>("textBox")->viewport()->repaint();
    });
    const int blocks = viewer->findChild<QPlainTextEdit*>("textBox")->blockCount();
    std::printf("file: %.1f MB, %d lines shown\n", static_cast<double>(bytes) / 1e6, blocks);
    const double lines = medianMs(5, [&] { lineByLine(file); });
    const double peer = medianPeer(5, "iconv -f CP1252 -t UTF-8 " + file);
    std::printf("plain read of the file:        %8.1f ms\n", read);
    std::printf("plain line-by-line read (floor): %6.1f ms\n", lines);
    printPeer("iconv from Windows-1252 to UTF-8 (peer)", peer, 32);
    std::printf("View file, choice to text shown: %6.1f ms (median of 5; budget 2000 ms)\n", load);
    ok = ok && blocks == LineCount && (LineCount > Lines || load < 2000);
    return {{"View file, choice to text shown", load},
            {"  plain read of the file", read, false},
            {"  plain line-by-line read (floor)", lines, false},
            {"  iconv from Windows-1252 to UTF-8 (peer)", peer, false}};
}

} // namespace

int main(int argc, char** argv) {
    keepFreedMemory();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const std::string root = makeBenchDirectory("zviewbXXXXXX");
    if (root.empty()) return 1;
    const std::string dir = root + "/";
    for (const char* name : {"hlpf.1", "hlpf.2", "hlpf.3", "hlpf.4", "hlpf.5", "hlpf.6", "hlpf.7"})
        std::ofstream(dir + name) << "help\r\n";
    bool ok = true;
    const Figures first = runBench(dir, Lines, ok);
    ok = alsoAtScale(argc, argv, first, [&] { return runBench(dir, Lines * ScaleFactor, ok); }) &&
         ok;
    std::filesystem::remove_all(dir);
    return ok ? 0 : 1;
}
