#include "app/TillScript.h"

#include "app/DayClose.h"
#include "app/ShopLock.h"
#include "app/StartUp.h"
#include "cashup/CashupFile.h"
#include "consolidation/ConsolidationError.h"
#include "consolidation/DayCommit.h"
#include "consolidation/DayResults.h"
#include "consolidation/RunDates.h"
#include "forms/EntryRules.h"
#include "platform/FileLock.h"
#include "platform/LocalClock.h"
#include "platform/Services.h"
#include "pricelist/PriceList.h"
#include "store/AmountText.h"
#include "store/DateTimeText.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/NumberEntry.h"
#include "store/NumberText.h"
#include "store/Padding.h"
#include "store/ProgramState.h"
#include "takings/SealCheck.h"
#include "takings/TakingsDay.h"
#include "till/Till.h"
#include "tills/TillIdentity.h"

#include <cstdio>
#include <optional>
#include <sstream>

namespace {

// The operator is not there: every box is told, and every question gets the
// answer that changes nothing (Cancel, No, nothing typed).
class ToldDialogs : public Dialogs {
  public:
    explicit ToldDialogs(std::vector<std::string>& told) : m_told(told) {}
    void message(const std::string& text) override { m_told.push_back(oneLine(text)); }
    Answer confirm(const std::string& text, Buttons buttons, std::optional<Position>) override {
        m_told.push_back(oneLine(text));
        return buttons == Buttons::OkCancel || buttons == Buttons::RetryCancel ? Answer::Cancel
                                                                               : Answer::No;
    }
    std::optional<std::string> askText(const std::string& text) override {
        m_told.push_back(oneLine(text));
        return std::nullopt;
    }
    std::optional<std::string> askSecret(const std::string& text) override { return askText(text); }

  private:
    static std::string oneLine(std::string text) {
        for (char& c : text)
            if (c == '\r' || c == '\n') c = ' ';
        return text;
    }
    std::vector<std::string>& m_told;
};

// The system's clock, or the one the script has set.
class ScriptClock : public Clock {
  public:
    DateTime now() const override { return m_set ? *m_set : m_system.now(); }
    void set(const DateTime& at) { m_set = at; }

  private:
    LocalClock m_system;
    std::optional<DateTime> m_set;
};

// The formats the run was given: the system's, as the program's own.
class ScriptRegional : public Regional {
  public:
    explicit ScriptRegional(RegionalFormats formats) : m_formats(std::move(formats)) {}
    RegionalFormats formats() const override { return m_formats; }

  private:
    RegionalFormats m_formats;
};

// No companion program is started: no docket is printed and the printer
// test finds no printer, as on a till without one.
class NoCompanions : public Launcher {
  public:
    int startHidden(const std::string&) override { return 2; }
    bool runAndWait(const std::string&, int) override { return false; }
    int run(const std::string&, const std::vector<std::string>&, int) override { return -1; }
};

// No serial device answers: a shop whose configuration names a port gets
// the program's own "no device" notice.
class NoPorts : public Ports {
  public:
    bool write(const std::string&, const std::string&, const std::optional<SerialLine>&) override {
        return false;
    }
};

class NoScreen : public ScreenInfo {
  public:
    int width() const override { return 640; }
    int height() const override { return 480; }
    double scale() const override { return 1.0; }
};

class NoPrintDialog : public PrintDialog {
  public:
    bool choose() override { return false; }
    Outcome printText(const TextDocument&) override { return Outcome::Cancelled; }
    Outcome printPicture(const PictureDocument&) override { return Outcome::Cancelled; }
};

class NoFileDialog : public FileDialog {
  public:
    std::optional<std::string> open(const std::string&, const std::string&,
                                    const std::vector<Filter>&) override {
        return std::nullopt;
    }
};

class NoFontDialog : public FontDialog {
  public:
    std::optional<FontChoice> choose(const FontChoice&,
                                     const std::function<void(const FontChoice&)>&) override {
        return std::nullopt;
    }
};

// A line that cannot be taken: the run stops there.
struct Refused {
    std::string why;
};

std::vector<std::string> wordsOf(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string w; in >> w;)
        words.push_back(w);
    return words;
}

std::optional<DateTime> parseAt(const std::string& date, const std::string& time) {
    DateTime t;
    char end = 0;
    if (std::sscanf(date.c_str(), "%4d-%2d-%2d%c", &t.year, &t.month, &t.day, &end) != 3 ||
        std::sscanf(time.c_str(), "%2d:%2d%c", &t.hour, &t.minute, &end) != 2)
        return std::nullopt;
    if (t.month < 1 || t.month > 12 || t.day < 1 || t.day > 31 || t.hour > 23 || t.minute > 59 ||
        t.hour < 0 || t.minute < 0)
        return std::nullopt;
    return t;
}

class ScriptRunner {
  public:
    ScriptRunner(const std::string& dataDir, TillScriptRun& run, const RegionalFormats& formats)
        : m_dir(dataDir), m_run(run), m_dialogs(run.told), m_regional(formats), m_state(dataDir) {}

    bool takeShop();
    void step(const std::vector<std::string>& words);
    void finish();

  private:
    void startUp();
    void beginSale(const std::vector<std::string>& words);
    void ringLine(const std::vector<std::string>& words, bool returned);
    void pay(const std::vector<std::string>& words);
    void close();
    void tell(const TillOutcome& outcome);
    std::string clockText() const {
        return UpdateClockText(LongTimeText(m_clock.now(), m_regional.formats()));
    }

    std::string m_dir;
    TillScriptRun& m_run;
    ToldDialogs m_dialogs;
    ScriptClock m_clock;
    ScriptRegional m_regional;
    NoCompanions m_launcher;
    NoPorts m_ports;
    NoScreen m_screen;
    NoPrintDialog m_print;
    NoFileDialog m_files;
    NoFontDialog m_fonts;
    Services m_services{m_dialogs, m_clock, m_regional, m_launcher, m_ports,
                        m_screen,  m_print, m_files,    m_fonts};
    ShopLock m_lock;
    ProgramState m_state;
    std::optional<Till> m_till;
    bool m_inSale = false;
    bool m_listEnded = false;
};

bool ScriptRunner::takeShop() {
    const std::string busy = m_lock.take(m_dir, clockText());
    if (busy.empty()) return true;
    m_run.told.push_back(busy);
    m_run.status = 2;
    return false;
}

void ScriptRunner::startUp() {
    m_state = ProgramState(m_dir);
    const StartUpOutcome started = RunStartUp(m_state, m_services, m_dir);
    if (started.tradingDisabled) {
        m_run.status = 2;
        throw Refused{"the shop cannot trade; see above"};
    }
    m_till.emplace(m_state, m_ports, m_launcher);
    m_till->setClock([this] { return m_clock.now(); });
    m_till->resumeDay(ReadTakingsDay(m_state.files, m_state.config.RoundingOn).totals);
}

void ScriptRunner::tell(const TillOutcome& outcome) {
    for (const Notice& notice : outcome.notices)
        m_dialogs.message(notice.text);
}

void ScriptRunner::step(const std::vector<std::string>& words) {
    const std::string& verb = words[0];
    if (verb == "at") {
        if (words.size() != 3) throw Refused{"at takes a date and a time: at 2026-12-07 09:05"};
        std::optional<DateTime> at = parseAt(words[1], words[2]);
        if (!at) throw Refused{"the date or time cannot be read"};
        m_clock.set(*at);
        return;
    }
    if (!m_till) startUp();
    if (verb == "sale")
        beginSale(words);
    else if (verb == "item" || verb == "return")
        ringLine(words, verb == "return");
    else if (verb == "pay")
        pay(words);
    else if (verb == "close")
        close();
    else
        throw Refused{"\"" + verb + "\" is not a step (at, sale, item, return, pay, close)"};
}

void ScriptRunner::beginSale(const std::vector<std::string>& words) {
    if (m_inSale) throw Refused{"the sale before is not paid"};
    if (words.size() != 2 || words[1].size() != 1 ||
        !EntryRules::isSalesPersonCode(m_state.config, words[1][0]))
        throw Refused{"sale takes a sales person code of the configuration"};
    m_till->clearSale();
    m_till->setDocketDate(DocketDateText(m_clock.now(), m_regional.formats()));
    const TillOutcome begun = m_till->beginWith(std::string(1, EntryRules::upper(words[1][0])));
    tell(begun);
    if (!begun.done) throw Refused{"the sale could not begin"};
    m_inSale = true;
    m_listEnded = false;
}

void ScriptRunner::ringLine(const std::vector<std::string>& words, bool returned) {
    if (!m_inSale || m_listEnded) throw Refused{"no sale takes lines here"};
    if (words.size() < 2 || words.size() > 4 || words[1].size() > EntryRules::CodeLength)
        throw Refused{"a line takes a code, a quantity and Y, L, M or H"};
    SaleState& sale = m_till->sale();
    std::string code = words[1];
    for (char& c : code)
        c = EntryRules::upper(c);
    sale.EnteredCode = PadRight(code, EntryRules::CodeLength);
    if (!m_till->lookUp() || m_till->article().ArticleMarker == '$')
        throw Refused{code + " is not an article of the price list"};
    sale.Quantity = 1;
    if (words.size() > 2) {
        const QuantityEntry entry = ParseQuantity(words[2]);
        if (entry.ValueError != 0) throw Refused{"the quantity cannot be read"};
        sale.Quantity = entry.Quantity;
    }
    double discount = 0;
    const std::string confirm = words.size() > 3 ? words[3] : "Y";
    if (confirm == "L")
        discount = m_state.config.DiscountLow;
    else if (confirm == "M")
        discount = m_state.config.DiscountMed;
    else if (confirm == "H")
        discount = m_state.config.DiscountHigh;
    else if (confirm != "Y")
        throw Refused{"a line is confirmed with Y, L, M or H"};
    sale.ReturnMode = returned;
    const TillOutcome line = m_till->confirmLine(discount, m_regional.formats());
    m_till->sale().ReturnMode = false;
    tell(line);
    if (line.refused) throw Refused{"the line is over the limit and was not recorded"};
}

void ScriptRunner::pay(const std::vector<std::string>& words) {
    if (!m_inSale || !m_till->sale().SaleHasLines) throw Refused{"no sale to pay"};
    if (words.size() < 2 || words.size() > 3 ||
        (words[1] != "C" && words[1] != "Q" && words[1] != "T"))
        throw Refused{"pay takes C, Q or T and an amount"};
    const RegionalFormats formats = m_regional.formats();
    SaleState& sale = m_till->sale();
    if (!m_listEnded) {
        tell(m_till->endList(formats));
        m_listEnded = true;
    }
    sale.PayCash = words[1] == "C";
    sale.PayCheque = words[1] == "Q";
    sale.PayCredit = words[1] == "T";
    double amount = sale.SaleTotal < 0 ? sale.SaleTotal : sale.SaleTotal - sale.Received;
    if (words.size() == 3) {
        const AmountEntry entry = ParseNumber(words[2]);
        if (entry.ValueError != 0) throw Refused{"the amount cannot be read"};
        amount = sale.SaleTotal < 0 ? -entry.ParsedAmount : entry.ParsedAmount;
        if (sale.SaleTotal < 0 && amount != sale.SaleTotal)
            throw Refused{"a refund is paid out whole"};
    }
    if (m_till->cashBackOf(amount) > 0) throw Refused{"a card or cheque pays no more than is due"};
    const Till::Payment payment = m_till->pay(amount, formats, clockText());
    tell(payment.outcome);
    if (payment.covered) m_inSale = false;
}

void ScriptRunner::close() {
    if (m_inSale) throw Refused{"the sale before is not paid"};
    m_till->leave(false);
    FileLock consolidating;
    if (!consolidating.tryAcquire(m_state.files.pathOf(FileNames::ConsolidationLock)))
        throw Refused{"another copy of Zorvi is consolidating this shop"};
    const DateTime now = m_clock.now();
    const RegionalFormats formats = m_regional.formats();
    const RunDates dates = MakeRunDates(now, formats);
    const Configuration& config = m_state.config;
    if (PriceListMissing(m_state.files)) throw Refused{"the shop has no price list"};
    const bool inventoryOn = config.LowStockPercent >= 1;
    if (inventoryOn && !FileNames::exists(FileNames::resolve(m_dir, "Inventory.dat")))
        throw Refused{"the shop keeps stock but has no Inventory.dat: make the stocktake first"};

    const TakingsDay takings = ReadTakingsDay(m_state.files, config.RoundingOn);
    for (const std::string& line : TodaysTotalsLines(takings.totals, config.TaxOn, formats))
        if (line != " ") m_run.output.push_back(line);
    const CashupRead cashup = ReadCashup(FileNames::resolve(m_dir, "Cashup.dat"));
    for (const std::string& fault : cashup.faults)
        m_dialogs.message(fault);
    const CashCount z = UncountedClose(m_dir, cashup, ShortDateText(now, formats).substr(0, 8),
                                       clockText(), CashInDrawer(takings.totals));

    DayResults day;
    if (!ReadDayResults(m_state.files.compose("Results.dat"), config, dates.DateText, day,
                        m_state.taxes))
        throw Refused{"the day has no takings file"};
    if (day.faultyLines > 0)
        throw Refused{"the takings file has " + std::to_string(day.faultyLines) +
                      " line(s) that cannot be read, the first is line " +
                      std::to_string(day.firstFaultyLine) + "; the day is not closed"};
    const SealCheck seals = CheckSeals(m_dir);
    for (const std::string& finding : seals.findings)
        m_dialogs.message(finding);
    if (!seals.findings.empty())
        throw Refused{"the check of the sealed books found changes; the day is not closed"};

    DayCommitResult committed;
    try {
        committed =
            CommitDay({m_dir, config, inventoryOn, false, dates, day, CashCountLine(z), now});
    } catch (const ConsolidationError& e) {
        throw Refused{e.what()};
    }
    if (!committed.unfinished.empty()) m_dialogs.message(committed.unfinished);
    if (!committed.outbox.empty()) m_dialogs.message(committed.outbox);
    m_run.output.push_back("Till " + std::to_string(TillNumber(m_state.options)) + ", Z " +
                           std::to_string(z.number) + ", " + dates.DateText + ": day total " +
                           FormatFixed(day.totals.TotTakings, 1, 2));
    // The next step starts the program again, on the next day's files.
    m_till.reset();
}

void ScriptRunner::finish() {
    if (m_till) m_till->leave(false);
    if (m_inSale) m_run.told.push_back("The script ends in a sale that is not paid.");
}

} // namespace

RegionalFormats FixedScriptFormats() {
    RegionalFormats formats;
    formats.longTime = "HH:mm:ss";
    return formats;
}

TillScriptRun RunTillScript(const std::string& dataDir, const std::string& script,
                            const RegionalFormats& formats) {
    TillScriptRun run;
    std::string dir = dataDir;
    if (!dir.empty() && dir.back() != '/') dir += '/';
    ScriptRunner runner(dir, run, formats);
    if (!runner.takeShop()) return run;
    std::istringstream lines(script);
    size_t number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        const std::vector<std::string> words = wordsOf(line);
        if (words.empty() || words[0].front() == '#') continue;
        try {
            runner.step(words);
        } catch (const Refused& refused) {
            run.told.push_back("Line " + std::to_string(number) + ": " + line + ": " + refused.why);
            if (run.status == 0) run.status = 1;
            break;
        } catch (const IoError& e) {
            run.told.push_back("Line " + std::to_string(number) + ": " + e.message());
            run.status = 1;
            break;
        }
    }
    runner.finish();
    return run;
}

std::string TillScriptUsage() {
    return "Usage: zorvi-script SHOPDIR [SCRIPT]\n"
           "Runs a till's day in the shop directory SHOPDIR without its screens: the\n"
           "start-up, the sales and the close of the script (a file, or standard\n"
           "input without one), recorded by the program's own code. No display,\n"
           "printer or drawer is used; dockets stay in docket.prn. Dates, times and\n"
           "amounts take the system's regional settings (the locale), as the\n"
           "program's own do: dd/MM/yy and h:mm:ss where none is set.\n"
           "After each close it prints today's totals and the line\n"
           "\"Till n, Z z, DATE: day total 123.45\" (the total always with a point).\n"
           "\n"
           "The script, one step a line (# starts a comment):\n"
           "  at 2026-12-07 09:05           the clock from here on (else the system's)\n"
           "  sale A                        a sale or refund by sales person A\n"
           "  item CODE [QTY] [Y|L|M|H]     a line: quantity 1 unless given, no discount\n"
           "                                (Y) or the low, medium or high discount\n"
           "  return CODE [QTY] [Y|L|M|H]   a returned article\n"
           "  pay C|Q|T [AMOUNT]            cash, cheque or credit; without an amount\n"
           "                                what is still due\n"
           "  close                         closes the day (no period end); the next\n"
           "                                step starts the program again\n"
           "\n"
           "Exit status: 0 every step taken; 1 a step was refused (the steps before it\n"
           "stand); 2 the shop cannot be used.\n";
}
