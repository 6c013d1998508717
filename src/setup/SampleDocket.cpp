#include "setup/SampleDocket.h"

#include "devices/DocketFile.h"
#include "devices/Printer.h"
#include "platform/Dialogs.h"
#include "platform/PrintDialog.h"
#include "setup/SetupFiles.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/Padding.h"
#include "store/ProgramState.h"

namespace SampleDocket {

namespace {

std::vector<std::string> tenderLines(const Configuration& c, const std::string& gap) {
    std::vector<std::string> lines;
    for (const std::string* word :
         {&c.LabelCashTender, &c.LabelChequeTender, &c.LabelCreditTender, &c.LabelChange})
        lines.push_back("5" + PadLeft(*word, 14) + gap + "$0.00");
    return lines;
}

std::string servedBy(const Configuration& c, const std::string& tail) {
    return "6" + c.LabelServedBy + " " + PadRight(c.SalesPersonName[0], 9) + tail;
}

std::vector<std::string> smallBody(const Configuration& c) {
    const size_t width = c.PrintWidth - 34 < 1 ? 1 : static_cast<size_t>(c.PrintWidth - 34);
    const std::string filler(width, ' ');
    std::vector<std::string> lines = {
        "4",
        "4Article description   0 Items",
        "4" + filler + "           0.00 x    0        0.00",
        "4" + std::string(width, '-') + std::string(34, '-'),
    };
    if (c.TaxRate > 0)
        lines.push_back("4+ Tax     $0.00" + filler + " Total         $0.00");
    else
        lines.push_back("4" + filler + "               Total         $0.00");
    for (std::string& line : tenderLines(c, filler + "        "))
        lines.push_back(std::move(line));
    lines.push_back(servedBy(c, " Time  +  DATE"));
    return lines;
}

std::vector<std::string> wideBody(const Configuration& c) {
    std::vector<std::string> lines = {
        "4",
        "4Article description             0 x      0.00       0.00",
        "4" + std::string(56, '-'),
    };
    if (c.TaxRate > 0) lines.push_back("4Subtotal            $0.00      + Tax               $0.00");
    lines.push_back("4-Rounding           $0.00      Total               $0.00");
    for (std::string& line : tenderLines(c, "         "))
        lines.push_back(std::move(line));
    lines.push_back(servedBy(c, " at Time Datetoday"));
    return lines;
}

} // namespace

bool isSmall(const Configuration& config) {
    return config.PrintWidth < 40;
}

std::vector<std::string> bodyLines(const Configuration& config) {
    return isSmall(config) ? smallBody(config) : wideBody(config);
}

void write(ProgramState& state, Dialogs& dialogs) {
    const std::string& dir = state.files.DataDir();
    DocketFile docket;
    if (!docket.StartDocket(dir, state.config))
        throw IoError(FileNames::resolve(dir, "Docket.Prn"), "File cannot be created");
    {
        dialogs.message(
            isSmall(state.config)
                ? "Printing a small Sample docket.\r\nSwitch the Printer on and click on Ok"
                : "Printing a wide Sample docket.\r\nSwitch the Printer on and click on Ok");
        for (const std::string& line : bodyLines(state.config))
            docket.writeLine(line);
        // Half a sample must not replace the last docket: an unfinished
        // docket is dropped when it goes.
        docket.FinishDocket(state.config);
    }
}

bool print(ProgramState& state, Dialogs& dialogs, Launcher& launcher, PrintDialog& printDialog,
           const std::function<void()>& saveScreenValues) {
    const std::string& dir = state.files.DataDir();
    SetupFiles::EraseDocketDat(dir);
    if (state.flags.PrinterDisabled) {
        dialogs.message("Printer disabled!");
        return false;
    }
    if (!TestPrinter(state, launcher, dialogs)) {
        dialogs.message("Printer not ready!");
        return false;
    }
    saveScreenValues();
    write(state, dialogs);
    printDialog.choose();
    Notices said = SendDocketToPrinter(dir, launcher);
    for (const Notice& notice : said)
        dialogs.message(notice.text);
    return said.empty();
}

} // namespace SampleDocket
