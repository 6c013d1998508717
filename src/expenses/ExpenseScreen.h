#pragma once

#include "forms/CodeField.h"
#include "forms/ZorviScreen.h"

#include <string>

class Till;
struct TillOutcome;

class EntryField;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The expense screen, on which money paid out of the till is booked
// against the expense codes of the price list.
class ExpenseScreen : public ZorviScreen {
    Q_OBJECT
  public:
    ExpenseScreen(ProgramState& state, Services& services, Till& till, QWidget* parent = nullptr);

    void leaveToMain() override;

  protected:
    void FormActivate() override;

  private:
    // The controls, each named by its role, which is its object name too.
    QLabel* salesPersonLabel;
    QLabel* codeLabel;
    QLabel* taxLabel; // greyed without tax
    QLabel* amountLabel;
    QLabel* payLabel;
    QLabel* promptLabel; // prompt line
    QLabel* confirmLabel;
    QLabel* totalLabel;
    QLabel* paidLabel;
    EntryField* salesPersonField;
    EntryField* codeField;
    EntryField* articleField;
    EntryField* amountField;
    EntryField* confirmField;
    EntryField* taxField;
    EntryField* totalField;
    EntryField* payField;
    EntryField* paidField;
    QPlainTextEdit* journalBox;
    QPushButton* exitButton;

    void buildControls();
    void wireHandlers();
    std::string currency(double amount) const;
    void journal(const std::string& line);
    void refreshClock();

    void edspEnter();
    void edspKeyPress(char& key);
    void edspExit();
    void edcodeEnter();
    void edcodeKeyDown(int& key, Qt::KeyboardModifiers modifiers);
    void edcodeKeyPress(char& key);
    void edcodeExit();
    void codeComplete();
    void endExpenseList();
    void searchExpense();
    void EdexpEnter();
    void EdexpKeyDown(int& key, Qt::KeyboardModifiers modifiers);
    void EdexpKeyPress(char& key);
    void edynEnter();
    void edynKeyPress(char& key);
    void edynExit();
    void bookExpenseLine();
    void edtaxEnter();
    void edtaxKeyDown(int& key, Qt::KeyboardModifiers modifiers);
    void edtaxKeyPress(char& key);
    void edcqtEnter();
    void edcqtKeyPress(char& key);
    void payOut();
    // Shows what a step of the till said and the journal lines it added.
    void show(const TillOutcome& outcome);
    void ButexitClick();

    Till& m_till;
    CodeField m_code;

    // Hours and minutes, as the screen's clock last showed them.
    std::string m_clockText;
};
