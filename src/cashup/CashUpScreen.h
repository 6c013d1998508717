#pragma once

#include "forms/ZorviScreen.h"

#include <string>
#include <vector>

class EntryField;
class QLabel;
class QPushButton;

// The cash-up screen: the drawer counted blind, note by note or as one
// total, and only then compared with what it should hold. Each count is
// kept in Cashup.dat.
class CashUpScreen : public ZorviScreen {
    Q_OBJECT
  public:
    CashUpScreen(ProgramState& state, Services& services, QWidget* parent = nullptr);

  protected:
    void FormActivate() override;

  private:
    void buildControls();
    void personKeyPress(char& key);
    void denominationKeyPress(size_t index, char& key);
    void totalEnter();
    void totalKeyPress(char& key);
    void confirmKeyPress(char& key);
    void recordCount();
    void startCount();
    std::string money(double amount) const;

    EntryField* m_person = nullptr;
    std::vector<EntryField*> m_denominations;
    std::vector<QLabel*> m_denominationLabels;
    std::vector<long> m_cents;
    EntryField* m_total = nullptr;
    EntryField* m_confirm = nullptr;
    QLabel* m_prompt = nullptr;
    QLabel* m_result = nullptr;
    QPushButton* m_exit = nullptr;
    char m_salesPerson = ' ';
    double m_counted = 0;
};
