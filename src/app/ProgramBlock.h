#pragma once

#include "store/ProgramState.h"
#include "till/Till.h"

#include <memory>
#include <string>
#include <vector>

struct Services;
class MainScreen;
class SetupScreen;
class PriceListScreen;
class SalesScreen;
class ExpenseScreen;
class ConsolidationScreen;
class InventoryScreen;
class ViewerScreen;
class CashUpScreen;
class GraphsScreen;
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
    MainScreen* main = nullptr;
    SetupScreen* setup = nullptr;
    PriceListScreen* priceList = nullptr;
    SalesScreen* sales = nullptr;
    ExpenseScreen* expense = nullptr;
    ConsolidationScreen* consolidation = nullptr;
    InventoryScreen* inventory = nullptr;
    ViewerScreen* viewer = nullptr;
    CashUpScreen* cashUp = nullptr;
    GraphsScreen* graphs = nullptr;

    void show();
    // Every screen, in the order they are created.
    std::vector<QWidget*> screens() const;
};
