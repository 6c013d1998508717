#pragma once

#include "forms/CodeField.h"
#include "forms/ZorviScreen.h"

#include <QElapsedTimer>

class EntryField;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimer;
class Till;
struct TillOutcome;

// The sales screen, the till on which sales are rung up field by field.
// One class in three source files: SalesScreen.cpp (layout, activation, sales
// person), SalesArticlesScreen.cpp (code, quantity, confirmation of a line) and
// SalesPaymentScreen.cpp (totals, tender, change). The handlers of one sale
// share this screen's fields, and each part alone is a screenful to read.
class SalesScreen : public ZorviScreen {
    Q_OBJECT
  public:
    SalesScreen(ProgramState& state, Services& services, Till& till, QWidget* parent = nullptr);

    void leaveToMain() override;

  protected:
    void FormActivate() override;

  private:
    // The controls, each named by its role, which is its object name too.
    QLabel* promptLabel; // prompt line
    // The sale's figure in large type: the total so far after each line, the
    // total at F, the balance or the change after a payment.
    QLabel* bigCaptionLabel;
    QLabel* bigFigureLabel;
    QLabel* salesPersonLabel;
    QLabel* codeLabel;
    QLabel* quantityLabel;
    QLabel* confirmLabel;
    QLabel* totalLabel;
    QLabel* tenderLabel;
    QLabel* paidLabel;
    QLabel* receivedLabel;
    QLabel* changeLabel;
    QLabel* newArticleBanner; // new-article banner
    QLabel* returnBanner;     // return banner
    QLabel* dateLabel;
    QLabel* timeLabel;
    EntryField* salesPersonField;
    EntryField* codeField;
    EntryField* articleField;
    EntryField* quantityField;
    EntryField* confirmField;
    EntryField* totalField;
    EntryField* tenderField;
    EntryField* paidField;
    EntryField* receivedField;
    EntryField* changeField;
    QPlainTextEdit* journalBox;
    QPushButton* returnButton;
    QPushButton* newArticleButton;
    QPushButton* exitButton;
    QTimer* clockTimer;

    void buildControls();
    void wireHandlers();
    QString currency(double amount) const;
    void showBigFigure(const char* caption, double amount);
    void clearBigFigure();
    void normalCaptions();
    void refundCaptions();
    void setReturnMode(bool on);
    void setNewArticleMode(bool on);
    void leaveModes();
    // Shows what a step of the till said and the journal lines it added.
    void show(const TillOutcome& outcome);

    // Handlers, one per field and event.
    void edspEnter();
    void edspKeyPress(char& key);
    void edspExit();
    void edcodeEnter();
    void edcodeKeyDown(int& key, Qt::KeyboardModifiers modifiers);
    void edcodeKeyPress(char& key);
    void edcodeExit();
    void codeComplete(bool byLength);
    void endArticleList();
    void searchArticle();
    // A scanned weight or price label: its article with the label's figures.
    bool sellLabel();
    void edquantEnter();
    void edquantKeyDown(int& key, Qt::KeyboardModifiers modifiers);
    void edquantKeyPress(char& key);
    void showLowStockNote();
    void edYNEnter();
    void edYNKeyPress(char& key);
    void edYNExit();
    void confirmLine(double discountPercent);
    void edCQTEnter();
    void edCQTKeyPress(char& key);
    void EdpaidEnter();
    void EdpaidKeyDown(int& key, Qt::KeyboardModifiers modifiers);
    void EdpaidKeyPress(char& key);
    void saleCovered(const TillOutcome& covered);
    void edchangeEnter();
    void edchangeKeyDown(int& key, Qt::KeyboardModifiers modifiers);
    void edchangeKeyPress(char& key);
    void edarticleEnter();
    void edarticleKeyDown(int& key, Qt::KeyboardModifiers modifiers);
    void edarticleKeyPress(char& key);
    void edreceivedEnter();
    void edreceivedKeyDown(int& key, Qt::KeyboardModifiers modifiers);
    void edreceivedKeyPress(char& key);
    void ButreturnClick();
    void butnewClick();
    void ButexitClick();
    void Timer1Timer();

    // A scanner sends Enter after the 13th character; that Enter is not the
    // operator's answer in the quantity field.
    Till& m_till;
    CodeField m_code;
    QElapsedTimer m_codeCompletedAt;
    bool m_scanSuffixPending = false;

    // Hours and minutes, as the screen's clock last showed them.
    std::string m_clockText;
};
