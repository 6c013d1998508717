#pragma once

struct ProgramState;
struct Services;

// Asks for the owner PIN before a guarded screen or step, when the shop has
// one; true when it may go ahead. A wrong PIN is asked again until it is
// right, the box is cancelled or three wrong entries lock the guarded places
// for a minute. Without a PIN nothing is asked.
bool AskOwnerPin(ProgramState& state, Services& services);
