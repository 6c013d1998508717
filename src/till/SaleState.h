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
