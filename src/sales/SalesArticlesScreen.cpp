// SalesScreen, the sales screen: the article code, a new article, the quantity
// and the confirmation of a line.
#include "sales/SalesScreen.h"

#include "forms/EntryField.h"
#include "forms/EntryRules.h"
#include "forms/FieldColours.h"
#include "forms/ScreenParts.h"
#include "forms/ShowNotices.h"
#include "platform/Cp1252.h"
#include "platform/Services.h"
#include "sales/SaleArithmetic.h"
#include "scanning/BarCodes.h"
#include "store/AmountText.h"
#include "store/NumberEntry.h"
#include "store/Padding.h"
#include "store/ProgramState.h"
#include "till/Till.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <cmath>

namespace {

const QColor Black(Qt::black);
const QColor Red(Qt::red);
const QColor Green(0, 128, 0);

} // namespace

// ---------------------------------------------------------------- code

void SalesScreen::edcodeEnter() {
    leaveModes();
    normalCaptions();
    codeField->clear();
    FieldColours::paint(codeField, FieldColours::Entry);
    prompt(promptLabel, 3);
    m_till.sale().EnteredCode.clear();
    m_till.sale().LabelMeasure = m_till.sale().LabelUnitPrice = 0;
    returnButton->setEnabled(true);
    newArticleButton->setEnabled(true);
    exitButton->setEnabled(false);
    QPalette p = quantityField->palette();
    p.setColor(QPalette::Text, Black);
    quantityField->setPalette(p);
}

void SalesScreen::edcodeKeyDown(int& key, Qt::KeyboardModifiers modifiers) {
    m_code.keyDown(key, modifiers);
}

void SalesScreen::edcodeKeyPress(char& key) {
    m_code.keyPress(key);
}

void SalesScreen::codeComplete(bool byLength) {
    if (byLength) {
        m_codeCompletedAt.start();
        m_scanSuffixPending = true;
    }
    const bool isF = m_till.sale().EnteredCode == EntryRules::EndOfList;
    if (isF) setNewArticleMode(false);
    if (m_till.sale().NewArticleMode) {
        moveTo(articleField);
    } else if (isF) {
        endArticleList();
    } else if (!m_code.scanned() || !sellLabel()) {
        searchArticle();
    }
}

bool SalesScreen::sellLabel() {
    SaleState& sale = m_till.sale();
    std::string code = sale.EnteredCode;
    while (!code.empty() && code.back() == ' ')
        code.pop_back();
    const std::optional<BarCodes::LabelReading> label =
        BarCodes::ReadLabel(code, m_state.scaleLabels);
    if (!label) return false;
    if (!label->valid) {
        m_code.misread(true);
        return true;
    }
    sale.EnteredCode = PadRight(label->articleCode, EntryRules::CodeLength);
    bool found = m_till.lookUp();
    const CurrentArticle& article = m_till.article();
    if (found && article.ArticleMarker == '$') {
        helpMessage(14);
        found = false;
    }
    // The record holds the weight with 2 decimals, and the stock moves by that.
    const double quantity = label->weight ? std::round(label->value * 100) / 100 : 1;
    if (found && quantity > 999.99) {
        helpMessage(18);
        found = false;
    }
    if (!found) {
        articleField->setText(fromCp1252(m_help.line(19) + " " + label->articleCode));
        codeField->clear();
        sale.EnteredCode.clear();
        return true;
    }
    sale.Quantity = quantity;
    sale.LabelMeasure = label->weight ? label->value : 1;
    sale.LabelUnitPrice = label->weight ? article.SalePrice : label->value;
    codeField->setText(fromCp1252(label->articleCode));
    articleField->setText(
        fromCp1252(article.ArticleDescription +
                   PadLeft(CurrencyText(article.SalePrice, m_services.regional.formats()), 16)));
    moveTo(confirmField);
    // After the move: the confirmation field's entry leaves the quantity be.
    quantityField->setText(fromCp1252(FixedText(quantity)));
    return true;
}

void SalesScreen::searchArticle() {
    SaleState& sale = m_till.sale();
    CurrentArticle& article = m_till.article();
    bool found = m_till.lookUp();
    if (found && article.ArticleMarker == '$') {
        helpMessage(14);
        found = false;
    }
    if (!found) {
        articleField->setText(fromCp1252(m_help.line(19)));
        codeField->clear();
        sale.EnteredCode.clear();
        return;
    }
    articleField->setText(
        fromCp1252(article.ArticleDescription +
                   PadLeft(CurrencyText(article.SalePrice, m_services.regional.formats()), 16)));
    moveTo(quantityField);
}

void SalesScreen::edcodeExit() {
    FieldColours::paint(codeField, FieldColours::Left);
    confirmField->clear();
    returnButton->setEnabled(false);
    newArticleButton->setEnabled(false);
}

void SalesScreen::ButreturnClick() {
    setReturnMode(!m_till.sale().ReturnMode);
    moveTo(codeField);
}

void SalesScreen::butnewClick() {
    setNewArticleMode(!m_till.sale().NewArticleMode);
    moveTo(codeField);
}

// ---------------------------------------------------------------- new article

void SalesScreen::edarticleEnter() {
    prompt(promptLabel, 11);
    articleField->clear();
    FieldColours::paint(articleField, FieldColours::NewArticle);
}

void SalesScreen::edarticleKeyDown(int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Delete) {
        articleField->clear();
        key = 0;
    }
}

void SalesScreen::edarticleKeyPress(char& key) {
    std::string text = toCp1252(articleField->text());
    if (key == '\x1b') {
        key = 0;
        setNewArticleMode(false);
        articleField->clear();
        moveTo(codeField);
        return;
    }
    if (key != '\r' && text.size() < 26) return;
    key = 0;
    text = text.substr(0, 26);
    if (text.empty()) {
        helpMessage(17);
        return;
    }
    text[0] = EntryRules::upper(text[0]);
    text = PadRight(text, 26);
    articleField->setText(fromCp1252(text));
    m_till.article().ArticleDescription = text;
    moveTo(receivedField);
}

void SalesScreen::edreceivedEnter() {
    receivedField->setReadOnly(false);
    FieldColours::paint(receivedField, FieldColours::NewArticle);
    receivedField->clear();
    prompt(promptLabel, 12);
}

void SalesScreen::edreceivedKeyDown(int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Escape) {
        receivedField->clear();
        moveTo(articleField);
    } else if (key == Qt::Key_Delete) {
        receivedField->clear();
        key = 0;
    }
}

void SalesScreen::edreceivedKeyPress(char& key) {
    if (key != '\r') {
        if (!EntryRules::isAmountKey(key)) key = 0;
        return;
    }
    key = 0;
    AmountEntry entry = ParseNumber(toCp1252(receivedField->text()));
    ShowNotices(m_services.dialogs, entry.notices);
    m_till.sale().ParsedAmount = entry.ParsedAmount;
    m_till.article().WholesalePrice = entry.ParsedAmount;
    receivedField->setText(fromCp1252(FixedText(entry.ParsedAmount)));
    if (entry.ValueError == 0) moveTo(changeField);
}

// ---------------------------------------------------------------- quantity

void SalesScreen::edquantEnter() {
    quantityField->clear();
    FieldColours::paint(quantityField, m_till.sale().NewArticleMode ? FieldColours::NewArticle
                                                                    : FieldColours::Entry);
    confirmField->clear();
    prompt(promptLabel, 5);
}

void SalesScreen::edquantKeyDown(int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Delete) {
        quantityField->clear();
        key = 0;
    } else if (key == Qt::Key_Escape) {
        quantityField->clear();
        if (m_till.sale().NewArticleMode) {
            changeField->clear();
            moveTo(changeField);
        } else {
            articleField->clear();
            moveTo(codeField);
        }
    }
}

void SalesScreen::edquantKeyPress(char& key) {
    if (key != '\r') {
        m_scanSuffixPending = false;
        if (!EntryRules::isAmountKey(key)) key = 0;
        return;
    }
    key = 0;
    if ((m_scanSuffixPending && m_codeCompletedAt.elapsed() < 50) ||
        m_code.takeSuffix(quantityField->keyTime())) {
        m_scanSuffixPending = false;
        return;
    }
    m_scanSuffixPending = false;
    QuantityEntry entry = ParseQuantity(toCp1252(quantityField->text()));
    if (entry.ValueError != 0) {
        helpMessage(18);
        return;
    }
    m_till.sale().Quantity = entry.Quantity;
    moveTo(confirmField);
    // In place of the confirmation's prompt, so it is read where the eyes are.
    showLowStockNote();
}

void SalesScreen::showLowStockNote() {
    // A new article has no stock record; the last article's figures would mislead.
    if (!m_state.config.InventoryOn || m_till.sale().NewArticleMode) return;
    const CurrentArticle& a = m_till.article();
    // The stock as it is now: the work copy's, with today's sales and the
    // inventory changes since it was made.
    const double stock = m_state.stock.now(a.ArticleCode, static_cast<double>(a.StockOnHand));
    long threshold = a.StockLevel * m_state.config.LowStockPercent / 100;
    if (stock >= static_cast<double>(threshold)) return;
    // The note only informs: it takes no keys, so the cashier's next ones
    // still answer the line.
    std::string description = a.ArticleDescription;
    while (!description.empty() && description.back() == ' ')
        description.pop_back();
    const QString note = fromCp1252(description + " on stock " + GeneralText(stock, 15, '.') +
                                    ", reference level " + std::to_string(a.StockLevel));
    promptLabel->setText("<font color=\"red\">" + note.toHtmlEscaped() + "</font>");
}

// ---------------------------------------------------------------- confirmation

void SalesScreen::edYNEnter() {
    prompt(promptLabel, 7);
    confirmField->clear();
    FieldColours::paint(confirmField, FieldColours::Confirm);
}

void SalesScreen::edYNKeyPress(char& key) {
    const char k = EntryRules::upper(key);
    key = 0;
    const Configuration& c = m_state.config;
    switch (k) {
    case 'Y':
        confirmLine(0);
        break;
    case 'L':
        confirmLine(c.DiscountLow);
        break;
    case 'M':
        confirmLine(c.DiscountMed);
        break;
    case 'H':
        confirmLine(c.DiscountHigh);
        break;
    case 'N':
    case EntryRules::Esc:
        for (EntryField* f : {confirmField, quantityField, codeField, articleField})
            f->clear();
        moveTo(codeField);
        break;
    default:
        break;
    }
}

void SalesScreen::confirmLine(double discountPercent) {
    TillOutcome line = m_till.confirmLine(discountPercent, m_services.regional.formats());
    if (line.refused) helpMessage(18);
    show(line);
    if (m_till.sale().SaleHasLines)
        showBigFigure("Total so far", RunningTotal(m_till.sale(), m_state.config));
    articleField->clear();
    quantityField->clear();
    moveTo(codeField);
}

void SalesScreen::edYNExit() {
    codeField->clear();
    confirmField->clear();
    FieldColours::paint(confirmField, FieldColours::Left);
    ScreenParts::setCaption(quantityLabel, "Sales Quantity", Black);
    leaveModes();
    m_till.sale().PayCash = m_till.sale().PayCheque = m_till.sale().PayCredit = false;
}
