// SalesScreen, the sales screen: the totals at F, the tender, the payment and the
// change that ends a sale.
#include "sales/SalesScreen.h"

#include "forms/EntryField.h"
#include "forms/EntryRules.h"
#include "forms/FieldColours.h"
#include "forms/ScreenParts.h"
#include "forms/ShowNotices.h"
#include "platform/Cp1252.h"
#include "platform/Dialogs.h"
#include "platform/Services.h"
#include "store/AmountText.h"
#include "store/IoError.h"
#include "store/NumberEntry.h"
#include "store/ProgramState.h"
#include "till/Till.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

const QColor Black(Qt::black);
const QColor Red(Qt::red);
const QColor Green(0, 128, 0);

} // namespace

// ---------------------------------------------------------------- payment

void SalesScreen::endArticleList() {
    SaleState& sale = m_till.sale();
    if (!sale.SaleHasLines) {
        helpMessage(20);
        codeField->clear();
        sale.EnteredCode.clear();
        return;
    }
    leaveModes();
    show(m_till.endList(m_services.regional.formats()));
    totalField->setText(currency(sale.SaleTotal));
    showBigFigure("Total", sale.SaleTotal);
    moveTo(tenderField);
}

void SalesScreen::edCQTEnter() {
    tenderField->clear();
    FieldColours::paint(tenderField, FieldColours::Entry);
    prompt(promptLabel, 8);
    if (m_till.sale().SaleTotal < 0) refundCaptions();
}

void SalesScreen::edCQTKeyPress(char& key) {
    SaleState& sale = m_till.sale();
    const char k = EntryRules::upper(key);
    sale.PayCash = k == 'C';
    sale.PayCheque = k == 'Q';
    sale.PayCredit = k == 'T';
    if (sale.PayCash || sale.PayCheque || sale.PayCredit) {
        tenderField->setText(QString(QChar(k)));
        key = 0;
        moveTo(paidField);
        return;
    }
    key = 0;
}

void SalesScreen::EdpaidEnter() {
    FieldColours::paint(paidField, FieldColours::Entry);
    prompt(promptLabel, m_till.sale().SaleTotal < 0 ? 21 : 9);
}

void SalesScreen::EdpaidKeyDown(int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Delete) {
        paidField->clear();
        key = 0;
    } else if (key == Qt::Key_Escape) {
        paidField->clear();
        tenderField->clear();
        moveTo(tenderField);
    }
}

void SalesScreen::EdpaidKeyPress(char& key) {
    if (key != '\r') {
        if (!EntryRules::isAmountKey(key)) key = 0;
        return;
    }
    key = 0;
    SaleState& sale = m_till.sale();
    const QString typed = paidField->text();
    AmountEntry entry = ParseNumber(toCp1252(typed));
    ShowNotices(m_services.dialogs, entry.notices);
    sale.ParsedAmount = entry.ParsedAmount;
    paidField->setText(currency(sale.ParsedAmount));
    if (sale.SaleTotal < 0) {
        sale.ParsedAmount = -sale.ParsedAmount;
        if (sale.ParsedAmount != sale.SaleTotal) {
            paidField->clear();
            sale.ParsedAmount = 0;
            helpMessage(22);
            return;
        }
    }
    // A card or cheque that pays more than is due takes cash out of the
    // drawer: the cashier says so, or goes back to the tender.
    if (const double cashBack = m_till.cashBackOf(sale.ParsedAmount); cashBack > 0) {
        const std::string excess = FixedText(cashBack);
        const std::string question = std::string(sale.PayCheque ? "Cheque" : "Card") +
                                     " payment is " + excess + " more than due: give " + excess +
                                     " cash back? Y/N";
        if (m_services.dialogs.confirm(question, Dialogs::Buttons::YesNoDefaultNo) !=
            Dialogs::Answer::Yes) {
            paidField->clear();
            tenderField->clear();
            moveTo(tenderField);
            return;
        }
    }
    Timer1Timer();
    Till::Payment payment;
    try {
        payment = m_till.pay(sale.ParsedAmount, m_services.regional.formats(), m_clockText);
    } catch (const IoError&) {
        // The payment was not taken: the amount stays as typed for Enter again.
        paidField->setText(typed);
        throw;
    }
    receivedField->setText(currency(sale.Received));
    if (!payment.covered) {
        articleField->setText("  Payment is short");
        QPalette p = articleField->palette();
        p.setColor(QPalette::Text, Red);
        articleField->setPalette(p);
        ScreenParts::setCaption(quantityLabel, "  Balance to pay", Red);
        quantityField->setText(currency(sale.Balance));
        showBigFigure("Balance to pay", -sale.Balance);
        FieldColours::paint(paidField, FieldColours::Left);
        paidField->clear();
        tenderField->clear();
        moveTo(tenderField);
        return;
    }
    saleCovered(payment.outcome);
}

void SalesScreen::saleCovered(const TillOutcome& covered) {
    articleField->clear();
    QPalette p = articleField->palette();
    p.setColor(QPalette::Text, Black);
    articleField->setPalette(p);
    quantityField->clear();
    ScreenParts::setCaption(quantityLabel, "Sales Quantity", Black);
    changeField->setText(currency(m_till.sale().ChangeDue));
    showBigFigure("Change due", m_till.sale().ChangeDue);
    show(covered);
    moveTo(changeField);
}

void SalesScreen::edchangeEnter() {
    if (m_till.sale().NewArticleMode) {
        changeField->setReadOnly(false);
        FieldColours::paint(changeField, FieldColours::NewArticle);
        prompt(promptLabel, 13);
        return;
    }
    FieldColours::paint(changeField, FieldColours::Left);
    prompt(promptLabel, 10);
}

void SalesScreen::edchangeKeyDown(int& key, Qt::KeyboardModifiers) {
    if (!m_till.sale().NewArticleMode) return;
    if (key == Qt::Key_Escape) {
        changeField->clear();
        moveTo(receivedField);
    } else if (key == Qt::Key_Delete) {
        changeField->clear();
        key = 0;
    }
}

void SalesScreen::edchangeKeyPress(char& key) {
    if (key != '\r') {
        if (!EntryRules::isAmountKey(key) || !m_till.sale().NewArticleMode) key = 0;
        return;
    }
    key = 0;
    if (m_till.sale().NewArticleMode) {
        AmountEntry entry = ParseNumber(toCp1252(changeField->text()));
        ShowNotices(m_services.dialogs, entry.notices);
        m_till.sale().ParsedAmount = entry.ParsedAmount;
        m_till.article().SalePrice = entry.ParsedAmount;
        changeField->setText(fromCp1252(FixedText(entry.ParsedAmount)));
        if (entry.ValueError == 0) moveTo(quantityField);
        return;
    }
    // The sale was recorded when it was paid; Enter only clears the screen.
    moveTo(salesPersonField);
}
