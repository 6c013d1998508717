#include "cashup/CashUpScreen.h"

#include "cashup/CashupFile.h"
#include "forms/EntryField.h"
#include "forms/EntryRules.h"
#include "forms/FieldColours.h"
#include "forms/ScreenParts.h"
#include "platform/Cp1252.h"
#include "platform/Services.h"
#include "store/AmountText.h"
#include "store/DateTimeText.h"
#include "store/FileNames.h"
#include "store/NumberEntry.h"
#include "store/Padding.h"
#include "store/ProgramState.h"
#include "takings/TakingsDay.h"

#include <QLabel>
#include <QPushButton>

namespace {

constexpr size_t MostDenominations = 16; // two columns of eight
constexpr size_t RowsPerColumn = 8;

} // namespace

CashUpScreen::CashUpScreen(ProgramState& state, Services& services, QWidget* parent)
    : ZorviScreen(state, services, parent) {
    setWindowTitle("CASH UP SCREEN            Count the drawer, then see what it should hold.");
    setClientSize(630, 425);
    buildControls();
}

void CashUpScreen::buildControls() {
    QLabel* label = nullptr;
    m_person = addField(label, "Sales Person Code", 12, 12, 40, 1);
    m_person->setUpperCase(true);
    m_person->onEnter = [this] { startCount(); };
    m_person->onKeyPress = [this](char& k) { personKeyPress(k); };
    m_person->whiteWhenLeft();

    // Room for every note and coin; those the shop does not list stay hidden.
    for (size_t i = 0; i < MostDenominations; ++i) {
        const int top = 44 + static_cast<int>(i % RowsPerColumn) * 26;
        const int left = i < RowsPerColumn ? 12 : 330;
        QLabel* caption = nullptr;
        EntryField* field = addField(caption, "", top, left, 60, 5);
        caption->setGeometry(left, top + 4, 170, 18);
        field->setGeometry(left + 180, top, 60, 24);
        field->onKeyPress = [this, i](char& k) { denominationKeyPress(i, k); };
        field->onEnter = [field] { FieldColours::paint(field, FieldColours::Entry); };
        field->whiteWhenLeft();
        field->setObjectName(QString("denominationField%1").arg(i + 1));
        m_denominations.push_back(field);
        m_denominationLabels.push_back(caption);
    }
    m_total = addField(label, "Counted total", 256, 330, 110, 10);
    m_total->onEnter = [this] { totalEnter(); };
    m_total->onKeyPress = [this](char& k) { totalKeyPress(k); };
    m_total->whiteWhenLeft();
    m_confirm = addField(label, "Is the count right  Y / N", 286, 330, 40, 1);
    m_confirm->setUpperCase(true);
    m_confirm->onEnter = [this] { FieldColours::paint(m_confirm, FieldColours::Confirm); };
    m_confirm->onKeyPress = [this](char& k) { confirmKeyPress(k); };
    m_confirm->whiteWhenLeft();

    m_result = new QLabel(this);
    m_result->setGeometry(12, 258, 300, 88);
    m_result->setFont(ScreenParts::lineDraw(13));
    m_result->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_prompt = ScreenParts::promptLine(this, QColor(0, 255, 0), ScreenParts::arial(13));
    m_prompt->move(m_prompt->x(), 352);

    m_exit = new QPushButton("E&xit", this);
    m_exit->setGeometry(270, 384, 90, 28);
    m_exit->setFocusPolicy(Qt::ClickFocus);
    m_exit->setAutoDefault(false);
    setExitButton(m_exit);
    bindAccelerator(m_exit, [this] { leaveToMain(); });
    nameRoles({{m_person, "personField"},
               {m_total, "totalField"},
               {m_confirm, "confirmField"},
               {m_result, "resultLabel"},
               {m_prompt, "promptLabel"},
               {m_exit, "exitButton"}});
}

std::string CashUpScreen::money(double amount) const {
    return CurrencyText(amount, m_services.regional.formats());
}

void CashUpScreen::FormActivate() {
    m_cents = DenominationCents(m_state.options.value("denominations"), MostDenominations);
    for (size_t i = 0; i < m_denominations.size(); ++i) {
        const bool used = i < m_cents.size();
        m_denominations[i]->setVisible(used);
        m_denominationLabels[i]->setVisible(used);
        if (used)
            m_denominationLabels[i]->setText(
                fromCp1252(money(static_cast<double>(m_cents[i]) / 100) + "  x"));
    }
    m_result->clear();
    moveTo(m_person);
}

void CashUpScreen::startCount() {
    FieldColours::paint(m_person, FieldColours::Entry);
    m_person->clear();
    for (EntryField* f : m_denominations)
        f->clear();
    m_total->clear();
    m_confirm->clear();
    m_prompt->setText("Type your sales person code. Esc = back to the main screen.");
}

void CashUpScreen::personKeyPress(char& key) {
    const char typed = key;
    key = 0;
    if (typed == EntryRules::Esc) {
        leaveToMain();
        return;
    }
    if (!EntryRules::isSalesPersonCode(m_state.config, typed)) {
        m_prompt->setText(QString("%1 is not a sales person code.").arg(QChar(typed)));
        return;
    }
    m_salesPerson = EntryRules::upper(typed);
    m_person->setText(QString(QChar(m_salesPerson)));
    m_result->clear();
    m_prompt->setText("Count each note and coin, Enter after each; or type the total below.");
    moveTo(m_cents.empty() ? m_total : m_denominations[0]);
}

void CashUpScreen::denominationKeyPress(size_t index, char& key) {
    if (key == EntryRules::Esc) {
        key = 0;
        moveTo(index == 0 ? m_person : m_denominations[index - 1]);
        return;
    }
    if (key != EntryRules::Enter) {
        if (!(key >= '0' && key <= '9') && key != EntryRules::Backspace) key = 0;
        return;
    }
    key = 0;
    moveTo(index + 1 < m_cents.size() ? m_denominations[index + 1] : m_total);
}

void CashUpScreen::totalEnter() {
    FieldColours::paint(m_total, FieldColours::Entry);
    // The notes and coins counted, summed in cents; a total typed instead
    // stands for a count without them.
    long cents = 0;
    bool any = false;
    for (size_t i = 0; i < m_cents.size(); ++i) {
        const std::string typed = toCp1252(m_denominations[i]->text());
        if (typed.empty()) continue;
        any = true;
        cents += std::stol(typed) * m_cents[i];
    }
    if (any) m_total->setText(fromCp1252(FixedText(static_cast<double>(cents) / 100)));
}

void CashUpScreen::totalKeyPress(char& key) {
    if (key == EntryRules::Esc) {
        key = 0;
        moveTo(m_cents.empty() ? m_person : m_denominations[m_cents.size() - 1]);
        return;
    }
    if (key != EntryRules::Enter) {
        if (!EntryRules::isAmountKey(key)) key = 0;
        return;
    }
    key = 0;
    AmountEntry entry = ParseNumber(toCp1252(m_total->text()));
    if (entry.ValueError != 0 || m_total->text().isEmpty()) {
        m_prompt->setText("Type the counted total, such as 352.50, and press Enter.");
        return;
    }
    m_counted = entry.ParsedAmount;
    m_prompt->setText(fromCp1252("Counted " + money(m_counted) +
                                 ". Is the count right? Y = yes, N = count again"));
    moveTo(m_confirm);
}

void CashUpScreen::confirmKeyPress(char& key) {
    const char k = EntryRules::upper(key);
    key = 0;
    if (k == 'N' || k == EntryRules::Esc) {
        moveTo(m_cents.empty() ? m_total : m_denominations[0]);
        return;
    }
    if (k != 'Y') return;
    guarded([this] { recordCount(); });
}

// Only now, with the count given, does the screen say what was expected.
void CashUpScreen::recordCount() {
    const std::string dir = m_state.files.DataDir();
    const RegionalFormats formats = m_services.regional.formats();
    const DateTime now = m_services.clock.now();
    const std::string date = ShortDateText(now, formats).substr(0, 8);
    const CashupRead read = ReadCashup(FileNames::resolve(dir, "Cashup.dat"));
    const TakingsDay day = ReadTakingsDay(m_state.files, m_state.config.RoundingOn);
    const double cashFloat = OpeningFloat(read, date).value_or(0);
    const double expected = cashFloat + CashInDrawer(day.totals);
    CashCount count{'X',           NextCountNumber(read),
                    date,          UpdateClockText(LongTimeText(now, formats)),
                    m_salesPerson, cashFloat,
                    expected,      m_counted};
    AppendCashCount(dir, count);
    const double difference = count.difference();
    const char* verdict = difference > 0.004 ? "  over" : difference < -0.004 ? "  short" : "";
    auto row = [this](const char* label, double amount) {
        return label + PadLeft(money(amount), 14);
    };
    moveTo(m_person);
    m_result->setText(fromCp1252(
        row("Float      ", cashFloat) + "\n" + row("Expected   ", expected) + "\n" +
        row("Counted    ", m_counted) + "\n" + row("Difference ", difference) + verdict));
    m_prompt->setText(fromCp1252("Count " + std::to_string(count.number) +
                                 " is kept. Type a sales person code to count again."));
}
