#pragma once

#include <string>
#include <vector>

// Taxes.dat: tax classes, for a shop whose articles are not all taxed at the
// one rate of Configur.dat. The file is optional; fixed columns, CR LF:
//
//   "=" + class letter + blank + rate (5.2)       a class and its rate
//   code, or code prefix ending in "*" (13) + blank + class letter
//
// An article takes the class of its own code, else of the longest prefix
// its code begins with, else the one rate. This module is the file's only
// reader and writer.
struct TaxClasses {
    struct Class {
        char letter;
        double rate;
    };
    struct Article {
        std::string code; // without its trailing blanks, and without "*" for a prefix
        bool prefix;
        char letter;
    };
    std::vector<Class> classes;
    std::vector<Article> articles;

    bool empty() const { return articles.empty(); }
    // The rate of the article with this code (trailing blanks do not count).
    double rateOf(const std::string& code, double oneRate) const;
};

// The tax taken at one rate: a sale's or a day's share of its tax.
struct RateTax {
    double rate;
    double tax;
};
// Adds tax at this rate to the shares, which stay in the order of their rates.
void AddRateTax(std::vector<RateTax>& shares, double rate, double tax);
// "10%", "12.5%", "0%": the rate as the docket and the day report name it.
std::string RateText(double rate);

struct TaxClassesRead {
    TaxClasses taxes;
    // Each line that cannot be taken, with its number. Any fault leaves the
    // classes empty: every article then has the one rate, as without a file.
    std::vector<std::string> faults;
};

TaxClassesRead ReadTaxClasses(const std::string& dataDir);
// The file's text as the layout has it (for a shop's file written by a tool).
std::string TaxClassesText(const TaxClasses& taxes);
// The one message at start that names what is wrong with the file.
std::string TaxClassesFaultMessage(const std::string& path, const std::vector<std::string>& faults);
