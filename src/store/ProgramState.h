#pragma once

#include "store/Configuration.h"
#include "store/DataFiles.h"

#include <array>
#include <string>
#include <vector>

// Everything the screens share for the whole run, grouped by owner. The
// program block creates one and hands it to every screen by reference.

// The article found by the last lookup of EnteredCode.
struct CurrentArticle {
    char ArticleMarker = ' ';
    std::string ArticleCode;
    std::string ArticleDescription;
    double WholesalePrice = 0;
    double SalePrice = 0;
    long StockLevel = 0;
    long StockOnHand = 0;
};

// The sale (or expense) being entered.
struct SaleState {
    std::string CurrentSalesPerson;
    std::string EnteredCode;
    bool CodeComplete = false;
    bool SaleHasLines = false;
    bool ReturnMode = false;
    bool NewArticleMode = false;
    bool PayCash = false;
    bool PayCheque = false;
    bool PayCredit = false;
    bool InExpenseScreen = false;

    double Quantity = 0;
    double DiscountPercent = 0;
    double UnitPrice = 0;
    double LineAmount = 0;
    double LineTaxSum = 0;
    double SaleSubtotal = 0;
    double SaleTotal = 0;
    double SaleTax = 0;
    double RoundingAmount = 0;
    double PaidCash = 0;
    double PaidCheque = 0;
    double PaidCredit = 0;
    double Received = 0;
    double Balance = 0;
    double ChangeDue = 0;
    double ParsedAmount = 0;
    double ExpenseAmount = 0;
    double ExpenseSum = 0;
    std::string DisplayText;
    std::string DisplayValue;
};

// The day's running totals, from program start to Exit.
struct DayTotals {
    double TakingsCash = 0;
    double TakingsCheque = 0;
    double TakingsCredit = 0;
    double RoundingTotal = 0;
    double ExpenseTotal = 0;
    double TaxTotal = 0;
    double TotalTakings = 0;
};

// Totals of the consolidation run: the day's, read from the takings file.
struct ConsolidationTotals {
    double TotQuantity = 0;
    double TotWholesale = 0;
    double TotListValue = 0;
    double TotSalesValue = 0;
    double TotServicesQty = 0;
    double TotServicesTotal = 0;
    double TotCash = 0;
    double TotCheque = 0;
    double TotCredit = 0;
    double TotTax = 0;
    double TotNet = 0;
    double TotExpenses = 0;
    double TotTakings = 0;
};

// The day's figures per sales person (index 0..4). Kept apart from the
// totals above: the run clears those before its last step, and the merge
// into Spersons.dat still needs these.
struct SalesPersonTotals {
    std::array<double, 5> SpSalesQty{};
    std::array<double, 5> SpSalesTotal{};
    std::array<double, 5> SpServicesQty{};
    std::array<double, 5> SpServicesTotal{};
};

// Device and run flags.
struct RunFlags {
    bool ConfigMissing = false;
    bool QuitAfterConsolidation = false;
    bool PriceListError = false;
    bool PrinterDisabled = false;
    bool DocketAutoPrint = false;
    bool DocketOpen = false;
    bool DrawerAvailable = false;
    bool DisplayAvailable = false;
};

// The position every screen takes when it is shown.
struct WindowPosition {
    int WindowLeft = 0;
    int WindowTop = 0;
};

struct ProgramState {
    Configuration config;
    DataFiles files;
    CurrentArticle article;
    SaleState sale;
    DayTotals day;
    ConsolidationTotals consolidation;
    SalesPersonTotals salesPersons;
    RunFlags flags;
    WindowPosition window;

    std::string ClockText;
    std::string DateText;
    std::string ServedByName;
    // Text of the last printer test (its verdict, or the missing file's path).
    std::string PrinterTestText;
    // The program's own files, deleted when the program ends (Remove Zorvi).
    std::vector<std::string> RemoveAtEnd;
};
