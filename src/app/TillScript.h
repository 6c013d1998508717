#pragma once

#include "platform/Regional.h"

#include <string>
#include <vector>

// zorvi-script: a till's day without its screens. The script is read line
// by line and each line is one step that the sales screen or the
// consolidation would take, done by the same code (the start-up, the Till,
// the day's close), so the records are the program's own. No display, no
// printer and no drawer: the dockets go to docket.prn and no further.
//
//   # a comment; blank lines are passed over
//   at 2026-12-07 09:05        the clock from here on (else the system's)
//   sale A                     a sale (or refund) by sales person A
//   item CODE [QTY] [Y|L|M|H]  a line: quantity 1 unless given, confirmed
//                              without discount (Y) or with the low, medium
//                              or high one
//   return CODE [QTY] [Y|L|M|H]  a returned article, likewise
//   pay C|Q|T [AMOUNT]         cash, cheque or credit; without an amount what
//                              is still due (the first pay ends the list)
//   close                      closes the day: the Z line, the consolidation
//                              (never a period end) and the day's folder for
//                              the office; prints the till's day total
//
// The program starts (its start-up, with its start record) at the first
// step after `at` lines, and again at the first step after a close.

struct TillScriptRun {
    // 0 every step was taken; 1 a step was refused or a line is not
    // understood (the steps before it stand, the rest are not taken); 2 the
    // shop cannot be used (no configuration, another copy running).
    int status = 0;
    // What the program shows at each close, ending with the day total line
    // "Till n, Z z, DATE: day total 123.45".
    std::vector<std::string> output;
    // What the operator would have been told, and the refused line.
    std::vector<std::string> told;
};

// `formats` are the shop's regional formats, in which the program writes its
// dates and times (the takings file's, the day-by-day file's, the dockets');
// zorvi-script passes the system's, as the program takes them. The fixed set
// is dd/MM/yy and HH:mm:ss, the same on every machine.
RegionalFormats FixedScriptFormats();
TillScriptRun RunTillScript(const std::string& dataDir, const std::string& script,
                            const RegionalFormats& formats = FixedScriptFormats());

// The usage text of zorvi-script, with the script's format.
std::string TillScriptUsage();
