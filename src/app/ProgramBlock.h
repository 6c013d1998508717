#pragma once

#include "store/ProgramState.h"
#include "till/Till.h"

#include <memory>
#include <string>

struct Services;
class MainScreen;
class QWidget;

// The program: its state and its eight screens, created in their fixed order
// (main, setup, price list editor, sales, expense, consolidation, inventory
// update, view and print), all hidden but the main screen, each centred.
class ProgramBlock {
  public:
    ProgramBlock(Services& services, const std::string& dataDir);
    ~ProgramBlock();

    ProgramState state;
    // The sale being rung up and the day's totals, for the sales, expense
    // and main screens.
    Till till;
    MainScreen* Form1 = nullptr;
    QWidget* Form2 = nullptr;
    QWidget* Form3 = nullptr;
    QWidget* Form4 = nullptr;
    QWidget* Form5 = nullptr;
    QWidget* Form6 = nullptr;
    QWidget* Form7 = nullptr;
    QWidget* Form8 = nullptr;
    QWidget* CashUp = nullptr;
    QWidget* Graphs = nullptr;

    void show();
};
