#pragma once

#include <string>

struct CurrentArticle;
struct SaleState;

// The records of the takings file Results.dat. Numbers are right-aligned
// with 2 decimals; one wider than its field pushes the rest of the line right.

// Column 1 of an expense's records, in place of a sales person's code.
constexpr char ExpenseBooker = '$';

// One line record (75 characters): sale, return, new-article, refused or
// expense line, from the sale and the article as they stand. bookedBy is the
// sales person's code, or ExpenseBooker.
std::string ResultsLineText(char bookedBy, const SaleState& sale, const CurrentArticle& article);
// The figures of a line record, in their columns' order.
struct LineFigures {
    double quantity = 0;
    double wholesale = 0;
    double listPrice = 0;
    double unitPrice = 0;
    double amount = 0;
};
// A line record with column 1 as given, for a record that repeats one read
// back from the file.
std::string LineRecordText(char marker, const std::string& code, const LineFigures& figures);
// The sales person code of the sale as the records' column 1 has it.
char SalesPersonColumn(const SaleState& sale);

// The total record (88 characters) closing a sale or an expense. clockText is
// the freshly updated ClockText.
std::string ResultsTotalText(const SaleState& sale, const std::string& clockText);

// The record written at each program start; dateTimeText is the system's
// date-and-time text, of which the first 14 characters are kept.
std::string StartRecordText(const std::string& dateTimeText);
