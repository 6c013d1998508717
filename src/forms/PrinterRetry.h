#pragma once

#include "devices/Printer.h"

#include <functional>

class Dialogs;

// Runs a printer check; while its test program could not be started, asks
// the operator Retry or Cancel (the program may be put in place meanwhile)
// and runs it again. Shows what the last check said and returns it.
PrinterTest CheckPrinterAsking(Dialogs& dialogs, const std::function<PrinterTest()>& check);
