#pragma once

#include <functional>
#include <string>

class DataFiles;
class Dialogs;
class TextFile;
struct ProgramState;
struct Services;

// The steps the sales and the expense screen take alike with the takings
// file, the docket and the devices.

// Results.dat for the next record. It is reopened when a failed write closed
// it, so a sale or expense that could not be recorded is recorded once the
// cause is fixed; throws IoError when it cannot be opened.
TextFile& takingsForWriting(DataFiles& files);
// Puts the records written so far on disk. On failure what was buffered is
// dropped and the error rethrown: the caller has not taken the change yet, and
// writing it again must not record it twice.
// A sale's or an expense's total record is also synced (toDisk), so a power
// cut loses at most the line being typed.
void flushTakings(DataFiles& files, bool toDisk = false);
void closeTakings(DataFiles& files);

// The operator's sales person code was accepted: it books from now on, a
// docket is started when none is open and the takings file is opened.
// False when the operator is first told that the last docket did not print;
// the cursor then stays in the sales person field.
bool acceptSalesPerson(ProgramState& state, const std::string& code, Dialogs& dialogs);

// The docket is only a print file: its trouble is reported but never holds up
// the sale or its record. A failed step abandons the docket.
void runDocketStep(ProgramState& state, Dialogs& dialogs, const std::function<void()>& step);
// Ends the open docket with its totals and foot, and prints it when docket
// printing is on. A docket that could not be finished is not printed: the
// file on disk is still the last one.
void completeDocket(ProgramState& state, Services& services);
// Drops an unfinished docket; the last finished one stays for a reprint.
void abandonDocket(ProgramState& state);

// DisplayText and DisplayValue on the customer display, when there is one.
void showSaleOnDisplay(ProgramState& state, Services& services);
