#include "store/TaxClasses.h"

#include "store/FileNames.h"
#include "store/NumberParse.h"
#include "store/NumberText.h"
#include "store/TextReader.h"

#include <cctype>

namespace {

constexpr size_t CodeWidth = 13;

std::string withoutTrailingBlanks(std::string text) {
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

bool isClassLetter(char c) {
    return std::isupper(static_cast<unsigned char>(c)) != 0;
}

const TaxClasses::Class* findClass(const TaxClasses& taxes, char letter) {
    for (const TaxClasses::Class& c : taxes.classes)
        if (c.letter == letter) return &c;
    return nullptr;
}

// "=A 10.00": a class letter and its rate from 0 to 100.
std::string takeClass(const std::string& line, TaxClasses& taxes) {
    if (line.size() < 4 || !isClassLetter(line[1]) || line[2] != ' ')
        return "a class is \"=\", a capital letter, a blank and its rate";
    const RealParse rate = ParseReal(line.substr(3));
    if (rate.errorPosition != 0 || rate.value < 0 || rate.value > 100)
        return "the rate of class " + std::string(1, line[1]) + " is not from 0 to 100";
    if (findClass(taxes, line[1])) return "class " + std::string(1, line[1]) + " is given twice";
    taxes.classes.push_back({line[1], rate.value});
    return {};
}

// "MILK          B": a code (or a prefix ending in "*") in 13, a blank, a class.
std::string takeArticle(const std::string& line, TaxClasses& taxes) {
    if (line.size() != CodeWidth + 2 || line[CodeWidth] != ' ' || !isClassLetter(line[14]))
        return "an article is its code in 13 columns, a blank and its class letter";
    std::string code = withoutTrailingBlanks(line.substr(0, CodeWidth));
    const bool prefix = !code.empty() && code.back() == '*';
    if (prefix) code.pop_back();
    if (code.empty() && !prefix) return "the code is empty";
    for (const TaxClasses::Article& a : taxes.articles)
        if (a.code == code && a.prefix == prefix)
            return "the code " + code + (prefix ? "*" : "") + " is given twice";
    taxes.articles.push_back({code, prefix, line[14]});
    return {};
}

} // namespace

double TaxClasses::rateOf(const std::string& code, double oneRate) const {
    const std::string wanted = withoutTrailingBlanks(code);
    const Article* best = nullptr;
    for (const Article& a : articles) {
        if (!a.prefix && a.code == wanted) {
            best = &a;
            break;
        }
        if (a.prefix && wanted.compare(0, a.code.size(), a.code) == 0 &&
            (!best || a.code.size() > best->code.size()))
            best = &a;
    }
    if (!best) return oneRate;
    const Class* c = findClass(*this, best->letter);
    return c ? c->rate : oneRate;
}

void AddRateTax(std::vector<RateTax>& shares, double rate, double tax) {
    auto at = shares.begin();
    while (at != shares.end() && at->rate < rate)
        ++at;
    if (at != shares.end() && at->rate == rate)
        at->tax += tax;
    else
        shares.insert(at, {rate, tax});
}

std::string RateText(double rate) {
    std::string text = FormatFixed(rate, 0, 2);
    while (text.back() == '0')
        text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text + "%";
}

TaxClassesRead ReadTaxClasses(const std::string& dataDir) {
    TaxClassesRead read;
    std::optional<TextReader> file = TextReader::Open(FileNames::resolve(dataDir, "Taxes.dat"));
    if (!file) return read;
    std::string line;
    std::vector<size_t> articleLines;
    for (size_t number = 1; file->readFullLine(line); ++number) {
        if (line.empty()) continue;
        const std::string fault =
            line[0] == '=' ? takeClass(line, read.taxes) : takeArticle(line, read.taxes);
        if (!fault.empty())
            read.faults.push_back("line " + std::to_string(number) + ": " + fault);
        else if (line[0] != '=')
            articleLines.push_back(number);
    }
    file->check();
    // Classes may follow the articles that name them, so they are matched last.
    for (size_t i = 0; i < read.taxes.articles.size(); ++i)
        if (!findClass(read.taxes, read.taxes.articles[i].letter))
            read.faults.push_back("line " + std::to_string(articleLines[i]) + ": class " +
                                  std::string(1, read.taxes.articles[i].letter) + " has no rate");
    if (!read.faults.empty()) read.taxes = TaxClasses{};
    return read;
}

std::string TaxClassesText(const TaxClasses& taxes) {
    std::string text;
    for (const TaxClasses::Class& c : taxes.classes)
        text += "=" + std::string(1, c.letter) + " " + FormatFixed(c.rate, 5, 2) + "\r\n";
    for (const TaxClasses::Article& a : taxes.articles) {
        std::string code = a.code + (a.prefix ? "*" : "");
        code.resize(CodeWidth, ' ');
        text += code + " " + std::string(1, a.letter) + "\r\n";
    }
    return text;
}

std::string TaxClassesFaultMessage(const std::string& path,
                                   const std::vector<std::string>& faults) {
    std::string message = "The tax classes in " + path + " are not used:";
    for (const std::string& fault : faults)
        message += "\r" + fault;
    return message + "\rEvery article has the one tax rate of the setup screen.";
}
