#pragma once

#include "store/Configuration.h"
#include "store/ProgramState.h"

class Dialogs;

// Rounds SaleTotal to five cents by the shop's Rounding ("r": always down;
// "R": down, but a last digit of 4 or 9 goes up one cent). A refund is
// rounded on its magnitude. Sets RoundingAmount to the change made.
void RoundToDenomination(const Configuration& config, SaleState& sale, Dialogs& dialogs);
