#include "app/StartUp.h"

#include "cashup/CashupFile.h"
#include "devices/DeviceStartup.h"
#include "devices/Printer.h"
#include "forms/PrinterRetry.h"
#include "forms/ShowNotices.h"
#include "platform/Services.h"
#include "pricelist/PriceList.h"
#include "store/AmountText.h"
#include "store/DateTimeText.h"
#include "store/FileCommit.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/ProgramState.h"
#include "store/TaxClasses.h"
#include "takings/TakingsJournal.h"
#include "takings/TakingsReader.h"
#include "tills/Outbox.h"
#include "tills/PublishedPrices.h"

#include <optional>

namespace {

void checkCompanionFiles(const std::string& dataDir, Dialogs& dialogs) {
    for (const char* name : {"Hlpf.1", "Hlpf.2", "Hlpf.3", "Hlpf.4", "Hlpf.5", "Hlpf.6", "Hlpf.7",
                             "Devcheck.exe", "Slipjet.exe"}) {
        if (!FileNames::exists(FileNames::resolve(dataDir, name)))
            dialogs.message(std::string("The file ") + name +
                            " not found.\rZorvi will not run without this file.");
    }
}

// Without it the start record and the work copy cannot be written, and every
// code would answer "not found" with no hint why; one message says so.
void checkDataDirWritable(const std::string& dataDir, Dialogs& dialogs) {
    if (!FileNames::canCreateIn(dataDir))
        dialogs.message("Zorvi cannot write in its folder " + dataDir +
                        "\rNo sale can be recorded and no article found until it can.");
}

void checkPrinterPath(ProgramState& state, Dialogs& dialogs) {
    const std::string& dir = state.files.DataDir();
    state.flags.PrinterDisabled = HasLongPathComponent(dir);
    if (state.flags.PrinterDisabled)
        dialogs.message("Warning: Incorrect installation!  " + dir + "\r" +
                        "The docket printer is disabled." + "\r" +
                        "If you need the printer, then reinstall ZORVI as recommended in the "
                        "Manual.");
}

// Screens drawn larger for a large display fill it as they fill the display
// they were made for: from the top left corner, with nothing to advise.
void checkScreenSize(ProgramState& state, Services& services) {
    if (services.screen.scale() == 1.0 && services.screen.width() > 650) {
        services.dialogs.message("The best display settings for ZORVI are: \r640 x 480 and the "
                                 "standard font, or\r800 x 600 and the large or small font.");
        state.window = {88, 74};
    } else {
        state.window = {1, 1};
    }
}

bool readConfiguration(ProgramState& state, Dialogs& dialogs) {
    ConfigurationReading reading =
        ReadConfiguration(state.files.pathOf("Configur.dat"), state.config);
    ShowNotices(dialogs, reading.notices);
    if (reading.found) {
        state.flags.ConfigMissing = false;
        return true;
    }
    state.flags.ConfigMissing = true;
    dialogs.message("The configur file Configur.dat not found.\r\nPress the Update button(s) and "
                    "configure Zorvi.");
    return false;
}

// Options that cannot be read take their defaults; the operator hears of
// every such line at once.
void readOptions(ProgramState& state, Dialogs& dialogs) {
    OptionsRead read = ReadOptions(state.files.DataDir());
    state.options = std::move(read.options);
    if (!read.faults.empty())
        dialogs.message(OptionsFaultMessage(state.files.pathOf("Options.dat"), read.faults));
}

// A faulty Taxes.dat is refused whole, with every line that is wrong named:
// a partly read file would tax some articles at a rate nobody meant.
void readTaxClasses(ProgramState& state, Dialogs& dialogs) {
    state.taxes = TaxClasses{};
    try {
        TaxClassesRead read = ReadTaxClasses(state.files.DataDir());
        state.taxes = std::move(read.taxes);
        if (!read.faults.empty())
            dialogs.message(TaxClassesFaultMessage(state.files.pathOf("Taxes.dat"), read.faults));
    } catch (const IoError& e) {
        dialogs.message(e.message());
    }
}

// A label line that cannot be read is left out; the others still sell.
void readScaleLabels(ProgramState& state, Dialogs& dialogs) {
    std::vector<std::string> faults;
    state.scaleLabels = BarCodes::ReadScaleFile(state.files.DataDir(), faults);
    if (faults.empty()) return;
    std::string message =
        "The scale label file " + state.files.pathOf("Scale.dat") + " has faults:";
    for (const std::string& fault : faults)
        message += "\r" + fault;
    dialogs.message(message);
}

// The test program may be missing; the operator can put it in place and retry.
void testPrinter(ProgramState& state, Launcher& launcher, Dialogs& dialogs) {
    CheckPrinterAsking(dialogs, [&] { return TestPrinter(state, launcher); });
}

void checkDevicesAndPrinter(ProgramState& state, Services& services) {
    Dialogs& dialogs = services.dialogs;
    ShowNotices(dialogs, GreetDevicesAtStart(state, services.ports));
    if (!state.flags.PrinterDisabled) testPrinter(state, services.launcher, dialogs);
    ShowNotices(dialogs, PrintLastDocketAtStart(state, services.launcher));
}

void offerSamplePriceList(DataFiles& files, Dialogs& dialogs) {
    if (!PriceListMissing(files)) return;
    if (dialogs.confirm(PriceListSampleQuestion, Dialogs::Buttons::OkCancel) == Dialogs::Answer::Ok)
        CreateSamplePriceList(files);
}

bool preparePriceList(ProgramState& state, Dialogs& dialogs) {
    DataFiles& files = state.files;
    try {
        ShowNotices(dialogs, TidyPriceList(files));
        try {
            offerSamplePriceList(files, dialogs);
        } catch (const IoError& e) {
            // As after a failed compaction, the start goes on with whatever
            // list there is.
            dialogs.message(e.message());
        }
        if (PriceListMissing(files)) {
            // A list made now is found by the next start; this one goes on
            // without a work copy.
            offerSamplePriceList(files, dialogs);
            return false;
        }
        PriceWorkPreparation prepared = PreparePriceWork(files, state.config);
        RestartStockLedger(state.stock, files);
        state.flags.PriceListError = prepared.priceListError;
        ShowNotices(dialogs, prepared.notices);
        return prepared.opened;
    } catch (const IoError& e) {
        // The old files stay as they were; the day can still start.
        dialogs.message(e.message());
        return false;
    }
}

// A newer price list from the office becomes the till's before its work
// copy is made; one that fails the editor's checks is refused and said.
void takeOfficePrices(ProgramState& state, Dialogs& dialogs, const DateTime& now) {
    ShowNotices(dialogs, TakePublishedPrices(state.files, state.config, now));
}

// A change of several files that a crash or power cut interrupted is finished
// (or, if it never reached its commit, dropped) before anything is read.
void recoverInterruptedChange(const std::string& dataDir, Dialogs& dialogs) {
    try {
        std::string finished = RecoverFileCommit(dataDir);
        if (!finished.empty()) dialogs.message(finished);
    } catch (const IoError& e) {
        dialogs.message(e.message());
    }
}

// A day closed before a crash whose folder for the office was not (or only
// half) written gets it now, from the day's archives.
void sendDueDays(const ProgramState& state, Dialogs& dialogs) {
    const std::string told = SendDueDays(state.files.DataDir(), state.config);
    if (!told.empty()) dialogs.message(told);
}

// What a power cut or a crash left at the end of the takings file is put
// right before this start's record goes after it.
void repairTakings(TakingsJournal& journal, const std::string& clockText,
                   const RegionalFormats& formats, Dialogs& dialogs) {
    try {
        ShowNotices(dialogs, journal.RepairTornEnd());
        ShowNotices(dialogs, journal.CompleteSeals());
        if (std::optional<CancelledSale> cancelled = journal.CancelUnfinishedSale(clockText))
            ShowNotices(dialogs, {CancelledSaleNotice(*cancelled, formats)});
    } catch (const IoError& e) {
        dialogs.message(e.message());
    }
}

// The day's first start records the cash in the drawer as the day's opening
// line of Cashup.dat: the float of Options.dat, confirmed or corrected by the
// operator, or 0.00 when the shop keeps none.
void recordOpeningFloat(ProgramState& state, Dialogs& dialogs, const std::string& dateText,
                        const std::string& clockText) {
    try {
        const std::string dir = state.files.DataDir();
        const CashupRead read = ReadCashup(FileNames::resolve(dir, "Cashup.dat"));
        for (const std::string& fault : read.faults)
            dialogs.message(fault);
        const std::string date = dateText.substr(0, 8);
        if (OpeningFloat(read, date)) return;
        double cashFloat = 0;
        if (const std::string set = state.options.value("float"); !set.empty()) {
            cashFloat = static_cast<double>(OptionAmountCents(set).value_or(0)) / 100;
            const OptionKey& key = *FindOptionKey("float");
            for (;;) {
                std::optional<std::string> typed =
                    dialogs.askText("Cash in the drawer to start the day: " + FixedText(cashFloat) +
                                    "\rPress Enter to keep it, or type the amount there is.");
                if (!typed || typed->empty()) break;
                if (std::optional<std::string> fault = OptionValueFault(key, *typed)) {
                    dialogs.message("The " + *fault + ".");
                    continue;
                }
                cashFloat = static_cast<double>(*OptionAmountCents(*typed)) / 100;
                break;
            }
        }
        AppendCashCount(dir, {'O', NextCountNumber(read), date, clockText, ' ', cashFloat,
                              cashFloat, cashFloat});
    } catch (const IoError& e) {
        dialogs.message(e.message());
    }
}

// A full disk must not cost the verdict of the checks before it: the start
// goes on to keep trading off where they found the day cannot trade.
void writeStartRecord(TakingsJournal& journal, const std::string& dateTimeText, Dialogs& dialogs) {
    try {
        journal.WriteStartRecord(dateTimeText);
    } catch (const IoError& e) {
        dialogs.message(e.message());
    }
}

// The folder names are UTF-8, where a letter may take several bytes.
bool isContinuationByte(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

} // namespace

bool HasLongPathComponent(const std::string& path) {
    int count = 0;
    for (char c : path) {
        if (c == '/' || c == '\\' || c == '.') {
            count = 0;
        } else if (isContinuationByte(c)) {
            // The rule counts letters: "Bäckerei" is eight, though nine bytes.
        } else if (++count > 8) {
            return true;
        }
    }
    return false;
}

StartUpOutcome RunStartUp(ProgramState& state, Services& services, const std::string& dataDir) {
    StartUpOutcome outcome;
    Dialogs& dialogs = services.dialogs;
    checkCompanionFiles(dataDir, dialogs);
    state.files.setDataDir(dataDir);
    checkDataDirWritable(dataDir, dialogs);
    recoverInterruptedChange(dataDir, dialogs);
    checkPrinterPath(state, dialogs);
    state.flags.DrawerAvailable = false;
    state.flags.QuitAfterConsolidation = false;

    DateTime now = services.clock.now();
    RegionalFormats formats = services.regional.formats();
    outcome.dateText = ShortDateText(now, formats);
    outcome.clockText = UpdateClockText(LongTimeText(now, formats));

    checkScreenSize(state, services);
    if (!readConfiguration(state, dialogs)) outcome.tradingDisabled = true;
    if (state.config.LowStockPercent > 0) state.config.InventoryOn = true;
    readOptions(state, dialogs);
    sendDueDays(state, dialogs);
    readTaxClasses(state, dialogs);
    readScaleLabels(state, dialogs);
    checkDevicesAndPrinter(state, services);
    takeOfficePrices(state, dialogs, now);
    if (!preparePriceList(state, dialogs)) outcome.tradingDisabled = true;
    TakingsJournal journal(state.files.DataDir());
    journal.setClock([&services] { return services.clock.now(); });
    repairTakings(journal, outcome.clockText, formats, dialogs);
    recordOpeningFloat(state, dialogs, outcome.dateText, outcome.clockText);
    writeStartRecord(journal, DateTimeText(services.clock.now(), formats), dialogs);
    return outcome;
}
