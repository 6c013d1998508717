#pragma once

#include "store/Configuration.h"

#include <cstdio>
#include <fstream>
#include <string>

// The generated shop the benchmarks work on: article i has a 13-digit code,
// and every 50th one is an expense code unless the caller says otherwise.

inline std::string BenchCode(int i) {
    char code[16];
    std::snprintf(code, sizeof code, "%013d", i);
    return code;
}

inline char BenchMarker(int i) {
    return i % 50 == 0 ? '$' : ' ';
}

// A price list line of 66 characters for article i, under the code of
// article `code`.
inline std::string BenchPriceLine(int i, int code, char marker) {
    char line[128];
    std::snprintf(line, sizeof line, "%c%-13s %-26s %10.2f %10.2f %2d", marker,
                  BenchCode(code).c_str(), ("Article number " + std::to_string(i)).c_str(),
                  (i % 1000) / 10.0, (i % 1000) / 5.0 + 0.99, i % 100);
    return line;
}

inline std::string BenchPriceLine(int i) {
    return BenchPriceLine(i, i, BenchMarker(i));
}

// What the program needs beside its data to start on the shop.
inline void WriteBenchSettings(const std::string& dir) {
    Configuration c = DefaultConfiguration();
    c.LowStockPercent = 10;
    WriteConfiguration(dir + "Configur.dat", c);
    for (const char* name : {"hlpf.1", "hlpf.2", "hlpf.3", "hlpf.4", "hlpf.5", "hlpf.6", "hlpf.7"})
        std::ofstream(dir + name) << "help\r\n";
}
