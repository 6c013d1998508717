// The expense screen.
#include "expenses/ExpenseScreen.h"

#include "forms/EntryField.h"
#include "forms/EntryRules.h"
#include "forms/FieldColours.h"
#include "forms/ScreenParts.h"
#include "forms/ShowNotices.h"
#include "platform/Cp1252.h"
#include "platform/Services.h"
#include "store/AmountText.h"
#include "store/DateTimeText.h"
#include "store/NumberEntry.h"
#include "store/NumberParse.h"
#include "store/Padding.h"
#include "store/ProgramState.h"
#include "till/Till.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <cctype>

namespace {

// An amount above the limit is reported by ParseNumber and read as 0; that 0
// is not what was paid out, so the field asks again instead of booking it.
bool isAcceptedAmount(const AmountEntry& entry) {
    return entry.ValueError == 0 && ParseReal(entry.ScratchText).value <= AmountLimit;
}

// The amount fields drop the signs; other keys reach the number check.
bool dropsSign(char& key) {
    if (key == '-' || key == '$') key = 0;
    return key != EntryRules::Enter;
}

} // namespace

ExpenseScreen::ExpenseScreen(ProgramState& state, Services& services, Till& till, QWidget* parent)
    : ZorviScreen(state, services, parent), m_till(till),
      m_code(edcode, till.sale().EnteredCode, m_help, services.dialogs, {false, 4, 5}) {
    setWindowTitle("EXPENSE SCREEN            Register any expense recorded in the price list."
                   "               ");
    setClientSize(630, 425);
    buildControls();
    wireHandlers();
}

void ExpenseScreen::buildControls() {
    edsp = addField(Label1, "Sales Person Code", 32, 12, 40, 2);
    edcode = addField(Label2, "Expense Code     ", 62, 12, 130, 13);
    QLabel* none = nullptr;
    edarticle = addField(none, nullptr, 90, 12, 257, 26);
    edarticle->move(12, 90);
    edarticle->setAccessibleName("Expense description");
    edarticle->setFont(ScreenParts::arial(13));
    Edexp = addField(Label4, "Amount of Expense   ", 118, 12, 110, 10);
    edyn = addField(Label7, "Is this correct   Y / N", 148, 12, 40, 1);
    edtax = addField(Label3, "Tax charged", 32, 330, 110, 10);
    edtotal = addField(Label8, " Expense Total", 62, 330, 110, 0);
    Edpay = addField(Label5, "Amount  to Pay", 92, 330, 110, 0);
    edcqt = addField(Label9, "Press ENTER when payed", 122, 330, 40, 3);
    for (EntryField* f : {edsp, edcode, edyn})
        f->setUpperCase(true);
    for (EntryField* f : {edarticle, edtotal, Edpay})
        f->setReadOnly(true);

    QFont sansSerif;
    sansSerif.setFamilies({"MS Sans Serif", "Liberation Sans", "DejaVu Sans"});
    sansSerif.setPixelSize(13);
    Label6 = ScreenParts::promptLine(this, QColor(0, 255, 0), sansSerif);
    memo2 = ScreenParts::journal(this);

    Butexit = new QPushButton("E&xit", this);
    Butexit->setGeometry(270, 380, 90, 28);
    setExitButton(Butexit);
    Butexit->setFocusPolicy(Qt::ClickFocus);
    Butexit->setAutoDefault(false);
}

void ExpenseScreen::wireHandlers() {
    edsp->onEnter = [this] { edspEnter(); };
    edsp->onKeyPress = [this](char& k) { edspKeyPress(k); };
    edsp->onExit = [this] { edspExit(); };
    edcode->onEnter = [this] { edcodeEnter(); };
    edcode->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edcodeKeyDown(k, m); };
    edcode->onKeyPress = [this](char& k) { edcodeKeyPress(k); };
    edcode->onExit = [this] { edcodeExit(); };
    m_code.mayStepBack = [this] { return !m_till.sale().SaleHasLines; };
    m_code.stepBack = [this] { moveTo(edsp); };
    m_code.complete = [this](bool) { codeComplete(); };
    m_code.showNote = [this](const std::string& text) { Label6->setText(fromCp1252(text)); };
    m_code.showWarning = [this](const std::string& text) {
        Label6->setText("<font color=\"red\">" + fromCp1252(text).toHtmlEscaped() + "</font>");
    };
    Edexp->onEnter = [this] { EdexpEnter(); };
    Edexp->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { EdexpKeyDown(k, m); };
    Edexp->onKeyPress = [this](char& k) { EdexpKeyPress(k); };
    Edexp->whiteWhenLeft();
    edyn->onEnter = [this] { edynEnter(); };
    edyn->onKeyPress = [this](char& k) { edynKeyPress(k); };
    edyn->onExit = [this] { edynExit(); };
    edtax->onEnter = [this] { edtaxEnter(); };
    edtax->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edtaxKeyDown(k, m); };
    edtax->onKeyPress = [this](char& k) { edtaxKeyPress(k); };
    edtax->whiteWhenLeft();
    edcqt->onEnter = [this] { edcqtEnter(); };
    edcqt->onKeyPress = [this](char& k) { edcqtKeyPress(k); };
    edcqt->whiteWhenLeft();
    bindAccelerator(Butexit, [this] { ButexitClick(); });
}

// ---------------------------------------------------------------- helpers

std::string ExpenseScreen::currency(double amount) const {
    return CurrencyText(amount, m_services.regional.formats());
}

void ExpenseScreen::journal(const std::string& line) {
    memo2->appendPlainText(fromCp1252(line));
}

void ExpenseScreen::refreshClock() {
    m_clockText =
        UpdateClockText(LongTimeText(m_services.clock.now(), m_services.regional.formats()));
}

// ---------------------------------------------------------------- activation and leaving

void ExpenseScreen::FormActivate() {
    m_help.load(m_state.files.compose("hlpf.5"));
    m_code.useOptions(m_state.options);
    Label3->setEnabled(m_state.config.TaxOn);
    // With prices that include tax the amount is the receipt's total.
    Label3->setText(m_state.config.PricesIncludeTax ? "Tax included" : "Tax charged");
    // An expense docket carries the date like a sale's, even when the sales
    // screen has not been opened yet today.
    m_till.setDocketDate(DocketDateText(m_services.clock.now(), m_services.regional.formats()));
    m_till.sale().InExpenseScreen = true;
    moveTo(edsp);
}

void ExpenseScreen::leaveToMain() {
    // An expense left unfinished must not end up on the next sale's docket.
    m_till.leave(true);
    m_till.sale().InExpenseScreen = false;
    ZorviScreen::leaveToMain();
}

void ExpenseScreen::ButexitClick() {
    leaveToMain();
}

// ---------------------------------------------------------------- sales person

void ExpenseScreen::edspEnter() {
    m_till.sale().ExpenseAmount = 0;
    m_till.sale().ExpenseSum = 0;
    prompt(Label6, 1);
    Butexit->setEnabled(true);
    memo2->clear();
    // The next accepted code starts a docket of its own.
    m_till.abandonDocket();
    m_till.sale().SaleHasLines = false;
    edcode->clear();
    edsp->clear();
    FieldColours::paint(edsp, FieldColours::Entry);
}

void ExpenseScreen::edspKeyPress(char& key) {
    SalesPersonKeyPress(
        key, m_state.config, m_help, m_services.dialogs,
        [this](const std::string& code) {
            TillOutcome begun = m_till.beginWith(code);
            show(begun);
            if (begun.done) moveTo(edcode);
        },
        [this] { leaveToMain(); });
}

void ExpenseScreen::edspExit() {
    FieldColours::paint(edsp, FieldColours::Left);
    memo2->clear();
    m_till.clearSale();
    m_till.sale().ExpenseSum = 0;
}

// ---------------------------------------------------------------- code

void ExpenseScreen::edcodeEnter() {
    Butexit->setEnabled(false);
    for (EntryField* f : {edtotal, edtax, Edpay, edcqt, edcode})
        f->clear();
    FieldColours::paint(edcode, FieldColours::Entry);
    prompt(Label6, 3);
    m_till.sale().EnteredCode.clear();
}

void ExpenseScreen::edcodeKeyDown(int& key, Qt::KeyboardModifiers modifiers) {
    m_code.keyDown(key, modifiers);
}

void ExpenseScreen::edcodeKeyPress(char& key) {
    m_code.keyPress(key);
}

void ExpenseScreen::codeComplete() {
    if (m_till.sale().EnteredCode == EntryRules::EndOfList)
        endExpenseList();
    else
        searchExpense();
}

void ExpenseScreen::searchExpense() {
    SaleState& sale = m_till.sale();
    CurrentArticle& article = m_till.article();
    const bool found = m_till.lookUp();
    if (found && article.ArticleMarker == ' ') helpMessage(6);
    if (!found || article.ArticleMarker != '$') {
        edarticle->setText(fromCp1252(m_help.line(12)));
        edcode->clear();
        sale.EnteredCode.clear();
        return;
    }
    edarticle->setText(fromCp1252(article.ArticleDescription));
    moveTo(Edexp);
}

void ExpenseScreen::endExpenseList() {
    SaleState& sale = m_till.sale();
    if (!sale.SaleHasLines) {
        helpMessage(11);
        edcode->clear();
        sale.EnteredCode.clear();
        return;
    }
    const ExpenseTotals totals = m_till.endExpenseList(m_services.regional.formats());
    for (const std::string& line : totals.journalLines)
        journal(line);
    edtotal->setText(fromCp1252(totals.sumText));
    if (m_state.config.TaxOn) edtax->setText(fromCp1252(totals.taxText));
    Edpay->setText(fromCp1252(totals.payText));
    moveTo(edcqt);
}

void ExpenseScreen::edcodeExit() {
    FieldColours::paint(edcode, FieldColours::Left);
    edyn->clear();
    Butexit->setEnabled(false);
}

// ---------------------------------------------------------------- amount

void ExpenseScreen::EdexpEnter() {
    FieldColours::paint(Edexp, FieldColours::Entry);
    Edexp->clear();
    prompt(Label6, 7);
}

void ExpenseScreen::EdexpKeyDown(int& key, Qt::KeyboardModifiers) {
    // The scanner's Enter after a code its 13th character completed.
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) &&
        m_code.takeSuffix(Edexp->keyTime())) {
        key = 0;
    } else if (key == Qt::Key_Delete) {
        Edexp->clear();
        key = 0;
    } else if (key == Qt::Key_Escape) {
        key = 0;
        Edexp->clear();
        edarticle->clear();
        moveTo(edcode);
    }
}

void ExpenseScreen::EdexpKeyPress(char& key) {
    if (dropsSign(key)) return;
    key = 0;
    AmountEntry entry = ParseNumber(toCp1252(Edexp->text()));
    ShowNotices(m_services.dialogs, entry.notices);
    m_till.sale().ParsedAmount = entry.ParsedAmount;
    m_till.sale().ExpenseAmount = entry.ParsedAmount;
    if (isAcceptedAmount(entry)) moveTo(edyn);
}

// ---------------------------------------------------------------- confirmation

void ExpenseScreen::edynEnter() {
    prompt(Label6, 8);
    edyn->clear();
    FieldColours::paint(edyn, FieldColours::Confirm);
}

void ExpenseScreen::edynKeyPress(char& key) {
    const char k = EntryRules::upper(key);
    key = 0;
    if (k == 'Y') {
        bookExpenseLine();
    } else if (k == 'N' || k == EntryRules::Esc) {
        for (EntryField* f : {edyn, Edexp, edarticle, edcode})
            f->clear();
        moveTo(edcode);
    }
}

void ExpenseScreen::bookExpenseLine() {
    TillOutcome booked = m_till.confirmExpenseLine(m_services.regional.formats());
    show(booked);
    edtotal->setText(fromCp1252(m_till.sale().DisplayValue));
    for (EntryField* f : {edarticle, Edexp, edcode})
        f->clear();
    moveTo(m_state.config.TaxOn ? edtax : edcode);
}

void ExpenseScreen::show(const TillOutcome& outcome) {
    ShowNotices(m_services.dialogs, outcome.notices,
                [this](const std::string& note) { Label6->setText(fromCp1252(note)); });
    for (const std::string& line : outcome.journalLines)
        journal(line);
}

void ExpenseScreen::edynExit() {
    edcode->clear();
    edyn->clear();
    FieldColours::paint(edyn, FieldColours::Left);
    m_till.sale().PayCash = m_till.sale().PayCheque = m_till.sale().PayCredit = false;
}

// ---------------------------------------------------------------- tax

void ExpenseScreen::edtaxEnter() {
    prompt(Label6, 9);
    edtax->clear();
    FieldColours::paint(edtax, FieldColours::Entry);
}

void ExpenseScreen::edtaxKeyDown(int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Delete || key == Qt::Key_Escape) {
        edtax->clear();
        key = 0;
    }
}

void ExpenseScreen::edtaxKeyPress(char& key) {
    if (dropsSign(key)) return;
    key = 0;
    AmountEntry entry = ParseNumber(toCp1252(edtax->text()));
    ShowNotices(m_services.dialogs, entry.notices);
    m_till.sale().ParsedAmount = entry.ParsedAmount;
    if (!isAcceptedAmount(entry)) return;

    TillOutcome booked = m_till.bookExpenseTax(entry.ParsedAmount, m_services.regional.formats());
    show(booked);
    if (!booked.done) {
        edtax->clear();
        return;
    }
    const std::string tax = currency(entry.ParsedAmount);
    edtax->setText(fromCp1252(tax));
    moveTo(edcode);
}

// ---------------------------------------------------------------- pay-out

void ExpenseScreen::edcqtEnter() {
    edcqt->clear();
    FieldColours::paint(edcqt, FieldColours::Entry);
    prompt(Label6, 10);
}

void ExpenseScreen::edcqtKeyPress(char& key) {
    if (key != '\r') return;
    key = 0;
    payOut();
}

void ExpenseScreen::payOut() {
    refreshClock();
    TillOutcome paid = m_till.payOutExpense(m_clockText, toCp1252(Edpay->text()));
    edcqt->setText("ok");
    show(paid);
    moveTo(edsp);
}
