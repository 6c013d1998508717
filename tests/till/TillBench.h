#pragma once

#include "store/ProgramState.h"
#include "support/Fakes.h"
#include "support/TestDir.h"
#include "till/Till.h"

// A till on a temporary data directory, with fake ports and launcher.
struct TillBench {
    TestDir dir;
    ProgramState program{dir.path()};
    FakePorts ports;
    FakeLauncher launcher;
    Till till{program, ports, launcher};
    const RegionalFormats formats{};

    TillBench() { program.config = DefaultConfiguration(); }

    // Confirms a line of the article `code` without discount.
    TillOutcome ring(const char* code, double price, double wholesale, double quantity,
                     bool returned = false, const char* description = nullptr) {
        till.sale().EnteredCode = code;
        till.article().ArticleCode = code;
        till.article().ArticleDescription = description ? description : code;
        till.article().SalePrice = price;
        till.article().WholesalePrice = wholesale;
        till.sale().Quantity = quantity;
        till.sale().ReturnMode = returned;
        TillOutcome outcome = till.confirmLine(0, formats);
        till.sale().ReturnMode = false;
        return outcome;
    }

    // Confirms an expense line of `amount` for cleaning.
    void expenseLine(double amount) {
        till.sale().InExpenseScreen = true;
        till.sale().EnteredCode = "EXP1";
        till.article().ArticleDescription = "Cleaning";
        till.sale().ExpenseAmount = amount;
        till.confirmExpenseLine(formats);
    }
};
