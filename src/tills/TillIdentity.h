#pragma once

class Options;

// Which till of the shop this is, from the till= option. A shop that never
// set it has one till, number 1, and neither its dockets nor its closes say so.

// The number set in Options.dat, or 0 when it is not set there.
int SetTillNumber(const Options& options);
// The till's number: the one set, else 1.
int TillNumber(const Options& options);
