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
      m_code(codeField, till.sale().EnteredCode, m_help, services.dialogs, {false, 4, 5}) {
    setWindowTitle("EXPENSE SCREEN            Register any expense recorded in the price list."
                   "               ");
    setClientSize(630, 425);
    buildControls();
    wireHandlers();
    nameRoles({{salesPersonLabel, "salesPersonLabel"},
               {codeLabel, "codeLabel"},
               {taxLabel, "taxLabel"},
               {amountLabel, "amountLabel"},
               {payLabel, "payLabel"},
               {promptLabel, "promptLabel"},
               {confirmLabel, "confirmLabel"},
               {totalLabel, "totalLabel"},
               {paidLabel, "paidLabel"},
               {salesPersonField, "salesPersonField"},
               {codeField, "codeField"},
               {articleField, "articleField"},
               {amountField, "amountField"},
               {confirmField, "confirmField"},
               {taxField, "taxField"},
               {totalField, "totalField"},
               {payField, "payField"},
               {paidField, "paidField"},
               {journalBox, "journalBox"},
               {exitButton, "exitButton"}});
}

void ExpenseScreen::buildControls() {
    salesPersonField = addField(salesPersonLabel, "Sales Person Code", 32, 12, 40, 2);
    codeField = addField(codeLabel, "Expense Code     ", 62, 12, 130, 13);
    QLabel* none = nullptr;
    articleField = addField(none, nullptr, 90, 12, 257, 26);
    articleField->move(12, 90);
    articleField->setAccessibleName("Expense description");
    articleField->setFont(ScreenParts::arial(13));
    amountField = addField(amountLabel, "Amount of Expense   ", 118, 12, 110, 10);
    confirmField = addField(confirmLabel, "Is this correct   Y / N", 148, 12, 40, 1);
    taxField = addField(taxLabel, "Tax charged", 32, 330, 110, 10);
    totalField = addField(totalLabel, " Expense Total", 62, 330, 110, 0);
    payField = addField(payLabel, "Amount  to Pay", 92, 330, 110, 0);
    paidField = addField(paidLabel, "Press ENTER when payed", 122, 330, 40, 3);
    for (EntryField* f : {salesPersonField, codeField, confirmField})
        f->setUpperCase(true);
    for (EntryField* f : {articleField, totalField, payField})
        f->setReadOnly(true);

    QFont sansSerif;
    sansSerif.setFamilies({"MS Sans Serif", "Liberation Sans", "DejaVu Sans"});
    sansSerif.setPixelSize(13);
    promptLabel = ScreenParts::promptLine(this, QColor(0, 255, 0), sansSerif);
    journalBox = ScreenParts::journal(this);

    exitButton = new QPushButton("E&xit", this);
    exitButton->setGeometry(270, 380, 90, 28);
    setExitButton(exitButton);
    exitButton->setFocusPolicy(Qt::ClickFocus);
    exitButton->setAutoDefault(false);
}

void ExpenseScreen::wireHandlers() {
    salesPersonField->onEnter = [this] { edspEnter(); };
    salesPersonField->onKeyPress = [this](char& k) { edspKeyPress(k); };
    salesPersonField->onExit = [this] { edspExit(); };
    codeField->onEnter = [this] { edcodeEnter(); };
    codeField->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edcodeKeyDown(k, m); };
    codeField->onKeyPress = [this](char& k) { edcodeKeyPress(k); };
    codeField->onExit = [this] { edcodeExit(); };
    m_code.mayStepBack = [this] { return !m_till.sale().SaleHasLines; };
    m_code.stepBack = [this] { moveTo(salesPersonField); };
    m_code.complete = [this](bool) { codeComplete(); };
    m_code.showNote = [this](const std::string& text) { promptLabel->setText(fromCp1252(text)); };
    m_code.showWarning = [this](const std::string& text) {
        promptLabel->setText("<font color=\"red\">" + fromCp1252(text).toHtmlEscaped() + "</font>");
    };
    amountField->onEnter = [this] { EdexpEnter(); };
    amountField->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { EdexpKeyDown(k, m); };
    amountField->onKeyPress = [this](char& k) { EdexpKeyPress(k); };
    amountField->whiteWhenLeft();
    confirmField->onEnter = [this] { edynEnter(); };
    confirmField->onKeyPress = [this](char& k) { edynKeyPress(k); };
    confirmField->onExit = [this] { edynExit(); };
    taxField->onEnter = [this] { edtaxEnter(); };
    taxField->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { edtaxKeyDown(k, m); };
    taxField->onKeyPress = [this](char& k) { edtaxKeyPress(k); };
    taxField->whiteWhenLeft();
    paidField->onEnter = [this] { edcqtEnter(); };
    paidField->onKeyPress = [this](char& k) { edcqtKeyPress(k); };
    paidField->whiteWhenLeft();
    bindAccelerator(exitButton, [this] { ButexitClick(); });
}

// ---------------------------------------------------------------- helpers

std::string ExpenseScreen::currency(double amount) const {
    return CurrencyText(amount, m_services.regional.formats());
}

void ExpenseScreen::journal(const std::string& line) {
    journalBox->appendPlainText(fromCp1252(line));
}

void ExpenseScreen::refreshClock() {
    m_clockText =
        UpdateClockText(LongTimeText(m_services.clock.now(), m_services.regional.formats()));
}

// ---------------------------------------------------------------- activation and leaving

void ExpenseScreen::FormActivate() {
    m_help.load(m_state.files.compose("hlpf.5"));
    m_code.useOptions(m_state.options);
    taxLabel->setEnabled(m_state.config.TaxOn);
    // With prices that include tax the amount is the receipt's total.
    taxLabel->setText(m_state.config.PricesIncludeTax ? "Tax included" : "Tax charged");
    // An expense docket carries the date like a sale's, even when the sales
    // screen has not been opened yet today.
    m_till.setDocketDate(DocketDateText(m_services.clock.now(), m_services.regional.formats()));
    m_till.sale().InExpenseScreen = true;
    moveTo(salesPersonField);
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
    prompt(promptLabel, 1);
    exitButton->setEnabled(true);
    journalBox->clear();
    // The next accepted code starts a docket of its own.
    m_till.abandonDocket();
    m_till.sale().SaleHasLines = false;
    codeField->clear();
    salesPersonField->clear();
    FieldColours::paint(salesPersonField, FieldColours::Entry);
}

void ExpenseScreen::edspKeyPress(char& key) {
    SalesPersonKeyPress(
        key, m_state.config, m_help, m_services.dialogs,
        [this](const std::string& code) {
            TillOutcome begun = m_till.beginWith(code);
            show(begun);
            if (begun.done) moveTo(codeField);
        },
        [this] { leaveToMain(); });
}

void ExpenseScreen::edspExit() {
    FieldColours::paint(salesPersonField, FieldColours::Left);
    journalBox->clear();
    m_till.clearSale();
    m_till.sale().ExpenseSum = 0;
}

// ---------------------------------------------------------------- code

void ExpenseScreen::edcodeEnter() {
    exitButton->setEnabled(false);
    for (EntryField* f : {totalField, taxField, payField, paidField, codeField})
        f->clear();
    FieldColours::paint(codeField, FieldColours::Entry);
    prompt(promptLabel, 3);
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
        articleField->setText(fromCp1252(m_help.line(12)));
        codeField->clear();
        sale.EnteredCode.clear();
        return;
    }
    articleField->setText(fromCp1252(article.ArticleDescription));
    moveTo(amountField);
}

void ExpenseScreen::endExpenseList() {
    SaleState& sale = m_till.sale();
    if (!sale.SaleHasLines) {
        helpMessage(11);
        codeField->clear();
        sale.EnteredCode.clear();
        return;
    }
    const ExpenseTotals totals = m_till.endExpenseList(m_services.regional.formats());
    for (const std::string& line : totals.journalLines)
        journal(line);
    totalField->setText(fromCp1252(totals.sumText));
    if (m_state.config.TaxOn) taxField->setText(fromCp1252(totals.taxText));
    payField->setText(fromCp1252(totals.payText));
    moveTo(paidField);
}

void ExpenseScreen::edcodeExit() {
    FieldColours::paint(codeField, FieldColours::Left);
    confirmField->clear();
    exitButton->setEnabled(false);
}

// ---------------------------------------------------------------- amount

void ExpenseScreen::EdexpEnter() {
    FieldColours::paint(amountField, FieldColours::Entry);
    amountField->clear();
    prompt(promptLabel, 7);
}

void ExpenseScreen::EdexpKeyDown(int& key, Qt::KeyboardModifiers) {
    // The scanner's Enter after a code its 13th character completed.
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Tab) &&
        m_code.takeSuffix(amountField->keyTime())) {
        key = 0;
    } else if (key == Qt::Key_Delete) {
        amountField->clear();
        key = 0;
    } else if (key == Qt::Key_Escape) {
        key = 0;
        amountField->clear();
        articleField->clear();
        moveTo(codeField);
    }
}

void ExpenseScreen::EdexpKeyPress(char& key) {
    if (dropsSign(key)) return;
    key = 0;
    AmountEntry entry = ParseNumber(toCp1252(amountField->text()));
    ShowNotices(m_services.dialogs, entry.notices);
    m_till.sale().ParsedAmount = entry.ParsedAmount;
    m_till.sale().ExpenseAmount = entry.ParsedAmount;
    if (isAcceptedAmount(entry)) moveTo(confirmField);
}

// ---------------------------------------------------------------- confirmation

void ExpenseScreen::edynEnter() {
    prompt(promptLabel, 8);
    confirmField->clear();
    FieldColours::paint(confirmField, FieldColours::Confirm);
}

void ExpenseScreen::edynKeyPress(char& key) {
    const char k = EntryRules::upper(key);
    key = 0;
    if (k == 'Y') {
        bookExpenseLine();
    } else if (k == 'N' || k == EntryRules::Esc) {
        for (EntryField* f : {confirmField, amountField, articleField, codeField})
            f->clear();
        moveTo(codeField);
    }
}

void ExpenseScreen::bookExpenseLine() {
    TillOutcome booked = m_till.confirmExpenseLine(m_services.regional.formats());
    show(booked);
    totalField->setText(fromCp1252(m_till.sale().DisplayValue));
    for (EntryField* f : {articleField, amountField, codeField})
        f->clear();
    moveTo(m_state.config.TaxOn ? taxField : codeField);
}

void ExpenseScreen::show(const TillOutcome& outcome) {
    ShowNotices(m_services.dialogs, outcome.notices,
                [this](const std::string& note) { promptLabel->setText(fromCp1252(note)); });
    for (const std::string& line : outcome.journalLines)
        journal(line);
}

void ExpenseScreen::edynExit() {
    codeField->clear();
    confirmField->clear();
    FieldColours::paint(confirmField, FieldColours::Left);
    m_till.sale().PayCash = m_till.sale().PayCheque = m_till.sale().PayCredit = false;
}

// ---------------------------------------------------------------- tax

void ExpenseScreen::edtaxEnter() {
    prompt(promptLabel, 9);
    taxField->clear();
    FieldColours::paint(taxField, FieldColours::Entry);
}

void ExpenseScreen::edtaxKeyDown(int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Delete || key == Qt::Key_Escape) {
        taxField->clear();
        key = 0;
    }
}

void ExpenseScreen::edtaxKeyPress(char& key) {
    if (dropsSign(key)) return;
    key = 0;
    AmountEntry entry = ParseNumber(toCp1252(taxField->text()));
    ShowNotices(m_services.dialogs, entry.notices);
    m_till.sale().ParsedAmount = entry.ParsedAmount;
    if (!isAcceptedAmount(entry)) return;

    TillOutcome booked = m_till.bookExpenseTax(entry.ParsedAmount, m_services.regional.formats());
    show(booked);
    if (!booked.done) {
        taxField->clear();
        return;
    }
    const std::string tax = currency(entry.ParsedAmount);
    taxField->setText(fromCp1252(tax));
    moveTo(codeField);
}

// ---------------------------------------------------------------- pay-out

void ExpenseScreen::edcqtEnter() {
    paidField->clear();
    FieldColours::paint(paidField, FieldColours::Entry);
    prompt(promptLabel, 10);
}

void ExpenseScreen::edcqtKeyPress(char& key) {
    if (key != '\r') return;
    key = 0;
    payOut();
}

void ExpenseScreen::payOut() {
    refreshClock();
    TillOutcome paid = m_till.payOutExpense(m_clockText, toCp1252(payField->text()));
    paidField->setText("ok");
    show(paid);
    moveTo(salesPersonField);
}
