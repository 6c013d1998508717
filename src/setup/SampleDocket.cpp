#include "setup/SampleDocket.h"

#include "devices/DocketFile.h"
#include "devices/Printer.h"
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

PrinterTest checkPrinter(ProgramState& state, Launcher& launcher) {
    SetupFiles::EraseDocketDat(state.files.DataDir());
    if (state.flags.PrinterDisabled) {
        PrinterTest disabled;
        disabled.notices.push_back({"Printer disabled!"});
        return disabled;
    }
    PrinterTest test = TestPrinter(state, launcher);
    if (!test.passed) test.notices.push_back({"Printer not ready!"});
    return test;
}

Started start(ProgramState& state) {
    Started started;
    const std::string& dir = state.files.DataDir();
    if (!started.docket.StartDocket(dir, state.config))
        throw IoError(FileNames::resolve(dir, "Docket.Prn"), "File cannot be created");
    started.notices.push_back(
        {isSmall(state.config)
             ? "Printing a small Sample docket.\r\nSwitch the Printer on and click on Ok"
             : "Printing a wide Sample docket.\r\nSwitch the Printer on and click on Ok"});
    return started;
}

Notices finishAndPrint(ProgramState& state, DocketFile& docket, Launcher& launcher,
                       PrintDialog& printDialog) {
    // Half a sample must not replace the last docket: a docket that is not
    // finished is dropped when it goes.
    for (const std::string& line : bodyLines(state.config))
        docket.writeLine(line);
    docket.FinishDocket(state.config);
    printDialog.choose();
    return SendDocketToPrinter(state.files.DataDir(), launcher);
}

} // namespace SampleDocket
