#pragma once

#include "store/Configuration.h"
#include "till/SaleState.h"

// Rounds SaleTotal to five cents by the shop's Rounding ("r": always down;
// "R": down, but a last digit of 4 or 9 goes up one cent). A refund is
// rounded on its magnitude. Sets RoundingAmount to the change made. False
// when the total's text cannot be read back: the total is then left as it
// was rather than replaced by 0, and the operator is told "Math error !".
bool RoundToDenomination(const Configuration& config, SaleState& sale);
