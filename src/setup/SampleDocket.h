#pragma once

#include <functional>
#include <string>
#include <vector>

class Dialogs;
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

// Writes the whole sample to the docket file, after telling the operator
// which sample is coming. A sample that cannot be written in full throws
// IoError and leaves the last docket as it was, so no reprint can pass for it.
void write(ProgramState& state, Dialogs& dialogs);

// The Print Docket button: erases Docket.Dat, checks that the printer may
// and can print (else says why and stops before anything is saved), runs
// `saveScreenValues` (the screen's takeover and save), writes the sample,
// shows the print dialog and prints the sample. Returns whether the
// sample went to the printer.
bool print(ProgramState& state, Dialogs& dialogs, Launcher& launcher, PrintDialog& printDialog,
           const std::function<void()>& saveScreenValues);

} // namespace SampleDocket
