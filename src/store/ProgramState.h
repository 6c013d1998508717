#pragma once

#include "scanning/BarCodes.h"
#include "store/Configuration.h"
#include "store/DataFiles.h"
#include "store/Options.h"
#include "store/OwnerPin.h"
#include "store/StockLedger.h"
#include "store/TaxClasses.h"

#include <string>
#include <vector>

// What is the same for every screen for the whole run and mostly read: the
// configuration and the options, the devices found at start, the shared
// window position and
// the data directory. The program block creates one and hands it to every
// screen. Everything else has an owner of its own: the till owns the sale and
// the day's totals, the takings journal the takings file, the consolidation
// run its totals.

// Device and run flags.
struct RunFlags {
    bool ConfigMissing = false;
    bool QuitAfterConsolidation = false;
    bool PriceListError = false;
    bool PrinterDisabled = false;
    bool DocketAutoPrint = false;
    bool DrawerAvailable = false;
    bool DisplayAvailable = false;
};

// The position every screen takes when it is shown.
struct WindowPosition {
    int WindowLeft = 0;
    int WindowTop = 0;
};

struct ProgramState {
    ProgramState() = default;
    explicit ProgramState(std::string dataDir) : files(std::move(dataDir)) {}

    Configuration config;
    Options options;
    // The weight and price labels of Scale.dat, read at start.
    std::vector<BarCodes::ScaleLabel> scaleLabels;
    DataFiles files;
    RunFlags flags;
    StockLedger stock;
    // The rates of Taxes.dat, read at start; empty without the file.
    TaxClasses taxes;
    WindowPosition window;
    // Wrong owner PINs lock the guarded screens for the rest of the minute.
    OwnerPinGate pinGate;

    // Text of the last printer test (its verdict, or the missing file's path).
    std::string PrinterTestText;
    // The program's own files, deleted when the program ends (Remove Zorvi).
    std::vector<std::string> RemoveAtEnd;
};
