#pragma once

#include "devices/DocketFile.h"
#include "devices/Printer.h"
#include "store/Notice.h"

#include <string>
#include <vector>

class Launcher;
class PrintDialog;
struct Configuration;
struct ProgramState;

// The sample docket of the setup screen: the head and foot rows of the
// docket setup around a fixed body of example lines with zero amounts, so
// the operator can check printer codes, texts, width and docket words.
namespace SampleDocket {

// Below 40 characters the small sample, else the wide one.
bool isSmall(const Configuration& config);
// The body lines, each led by its row digit, without line ends.
std::vector<std::string> bodyLines(const Configuration& config);

// The Print Docket button, in steps around the operator. First, erases
// Docket.Dat and checks that the printer may and can print; when it cannot,
// the notices say why, and nothing is to be saved or printed. A test program
// that could not be started leaves its retry question: on Retry the check
// runs again.
PrinterTest checkPrinter(ProgramState& state, Launcher& launcher);

// Then, once the screen has taken over and saved its values, starts the
// sample in a docket file (throws IoError when it cannot be created) and
// says which sample is coming.
struct Started {
    DocketFile docket;
    Notices notices;
};
Started start(ProgramState& state);

// Last, writes the rest of the sample, shows the print dialog and prints the
// sample. A sample that cannot be written in full throws IoError and leaves
// the last docket as it was, so no reprint can pass for it.
Notices finishAndPrint(ProgramState& state, DocketFile& docket, Launcher& launcher,
                       PrintDialog& printDialog);

} // namespace SampleDocket
