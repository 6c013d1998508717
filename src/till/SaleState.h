#pragma once

#include "store/TaxClasses.h"

#include <string>
#include <vector>

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
    // A weight or price label scanned for the line being entered: the
    // measure it carries (the exact weight, or 1 for a price) and the price
    // of one unit (the price per kg, or the label's price). 0 for a line
    // typed by hand, whose amount is the unit price times the quantity.
    double LabelMeasure = 0;
    double LabelUnitPrice = 0;
    std::string DisplayText;
    std::string DisplayValue;
    // The sale's tax by rate, when its articles are taxed at several rates.
    std::vector<RateTax> TaxByRate;
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
