#pragma once

#include "printer/EscPos.h"

#include <string>

// The printer and release codes of the nine docket rows, from Configur.dat.
struct DocketRowCodes {
    EscPos::RowCodes codes;
    EscPos::RowCodes releases;
    // The first code that is not a byte list (it is left out), or empty.
    std::string fault;
};

// Without Configur.dat no row has codes.
DocketRowCodes ReadDocketRowCodes(const std::string& dataDir);
