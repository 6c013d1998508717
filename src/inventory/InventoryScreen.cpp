// The inventory update screen.
#include "inventory/InventoryScreen.h"

#include "forms/EntryField.h"
#include "forms/FieldColours.h"
#include "forms/ScreenParts.h"
#include "forms/ShowNotices.h"
#include "inventory/InventoryUpdate.h"
#include "platform/Cp1252.h"
#include "platform/Services.h"
#include "pricelist/CurrentArticle.h"
#include "pricelist/PriceList.h"
#include "scanning/BarCodes.h"
#include "store/AuditTrail.h"
#include "store/NumberEntry.h"
#include "store/Padding.h"
#include "store/ProgramState.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {

const char* const SecondDecimalNote =
    "The stock is kept with one decimal: a change takes no more than one.";

const char Esc = '\x1b';
const QColor Navy(0, 0, 128);
const QColor White(255, 255, 255);

char upper(char key) {
    return key >= 'a' && key <= 'z' ? static_cast<char>(key - 32) : key;
}

// A line display: "MS LineDraw" 13 px, centred, 445 wide.
QLabel* lineLabel(QWidget* parent, int top, const QColor& text, const QColor& background) {
    auto* label = new QLabel(parent);
    label->setGeometry(92, top, 445, 20);
    label->setAlignment(Qt::AlignCenter);
    label->setFont(ScreenParts::lineDraw(13));
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Window, background);
    label->setPalette(p);
    return label;
}

} // namespace

InventoryScreen::InventoryScreen(ProgramState& state, Services& services, QWidget* parent)
    : ZorviScreen(state, services, parent),
      m_code(Edcode, m_enteredCode, m_help, services.dialogs, {true, 2, 3}) {
    setWindowTitle("   INVENTORY UPDATE");
    setClientSize(630, 423);
    buildControls();
    wireHandlers();
    // Esc in the code field leaves the screen.
    m_code.mayStepBack = [] { return true; };
    m_code.stepBack = [this] { leaveToMain(); };
    m_code.complete = [this](bool byLength) {
        m_scanSuffixPending = byLength;
        if (byLength) m_codeScannedAt.start();
        searchCode();
    };
    m_code.showNote = [this](const std::string& text) { Memo2->setPlainText(fromCp1252(text)); };
}

void InventoryScreen::buildControls() {
    auto field = [this](QLabel*& label, const char* caption, int top, int width, int maxLength) {
        label = new QLabel(caption, this);
        label->setGeometry(24, top + 4, 400, 18);
        auto* edit = new EntryField(m_services.dialogs, this);
        edit->setGeometry(436, top, width, 24);
        edit->setFont(ScreenParts::arial(15));
        edit->setMaxLength(maxLength);
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setUpperCase(true);
        FieldColours::paint(edit, FieldColours::Left);
        return edit;
    };
    Edcode = field(Label1, "Enter the  Article code to update", 24, 150, 13);
    Edqty =
        field(Label2, "Enter the quantity to add to, or deduct from the Inventory", 60, 100, 10);
    Edadd =
        field(Label3, "Type  'A'  to add to,  or  'D'  to deduct from the Inventory", 96, 40, 2);
    Edyn = field(Label4, "Is this correct ?  'Y' or 'N'", 132, 40, 2);

    Label5 = new QLabel("Code          minmax      sold    on stock   total sold", this);
    Label5->setGeometry(92, 174, 445, 18);
    Label5->setFont(ScreenParts::lineDraw(13));
    Label5->hide();
    descriptionLabel = new QLabel(this);
    descriptionLabel->setGeometry(92, 156, 445, 18);
    descriptionLabel->setFont(ScreenParts::lineDraw(13));
    Labold = lineLabel(this, 192, White, Navy);
    Label6 = new QLabel(this);
    Label6->setGeometry(92, 222, 445, 18);
    Label6->setFont(ScreenParts::lineDraw(13));
    Label6->hide();
    Labnew = lineLabel(this, 240, Navy, White);

    Memo2 = new QPlainTextEdit(this);
    Memo2->setGeometry(24, 280, 582, 80);
    Memo2->setReadOnly(true);
    Memo2->setFocusPolicy(Qt::NoFocus);
    QFont times;
    times.setFamilies({"Times New Roman", "Liberation Serif", "DejaVu Serif"});
    times.setPixelSize(15);
    Memo2->setFont(times);

    butexit = new QPushButton("E&xit", this);
    butexit->setGeometry(270, 380, 90, 28);
    butexit->setFocusPolicy(Qt::ClickFocus);
    butexit->setAutoDefault(false);
}

void InventoryScreen::wireHandlers() {
    Edcode->onEnter = [this] { EdcodeEnter(); };
    Edcode->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { EdcodeKeyDown(k, m); };
    Edcode->onKeyPress = [this](char& k) { EdcodeKeyPress(k); };
    Edcode->onExit = [this] { EdcodeExit(); };
    Edqty->onEnter = [this] { EdqtyEnter(); };
    Edqty->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { EdqtyKeyDown(k, m); };
    Edqty->onKeyPress = [this](char& k) { EdqtyKeyPress(k); };
    Edqty->whiteWhenLeft();
    Edadd->onEnter = [this] { EdaddEnter(); };
    Edadd->onKeyPress = [this](char& k) { EdaddKeyPress(k); };
    Edadd->onExit = [this] { EdaddExit(); };
    Edyn->onEnter = [this] { EdynEnter(); };
    Edyn->onKeyPress = [this](char& k) { EdynKeyPress(k); };
    Edyn->onExit = [this] { EdynExit(); };
    bindAccelerator(butexit, [this] { butexitClick(); });
}

void InventoryScreen::showHelp(size_t index) {
    Memo2->setPlainText(fromCp1252(m_help.line(index)));
}

// ---------------------------------------------------------------- activation and leaving

void InventoryScreen::FormActivate() {
    m_firstEntry = true;
    m_help.load(m_state.files.compose("hlpf.6"));
    m_code.useOptions(m_state.options);
    // A work copy that cannot be made is reported; the screen still opens,
    // and without a copy nothing is applied at the end.
    guarded([this] { MakeInventoryWorkCopy(m_state.files); });
    moveTo(Edcode);
}

void InventoryScreen::leaveToMain() {
    // A journal that cannot be applied stays for the next visit; the screen
    // is left all the same, or it could never be left.
    guarded([this] {
        std::vector<InventoryChange> applied;
        const AuditSnapshot audit(m_state.files.DataDir(), {"Inventory.dat"});
        Notices told = ApplyInventoryUpdates(m_state.files, static_cast<size_t>(-1), &applied);
        audit.record(m_services.clock.now(), "inventory update");
        // The sales screen's stock follows at once.
        for (const InventoryChange& change : applied)
            m_state.stock.changed(change.code, change.quantity);
        ShowNotices(m_services.dialogs, told);
    });
    ZorviScreen::leaveToMain();
}

void InventoryScreen::butexitClick() {
    leaveToMain();
}

// ---------------------------------------------------------------- code

void InventoryScreen::EdcodeEnter() {
    Edcode->clear();
    FieldColours::paint(Edcode, FieldColours::Entry);
    m_article.ArticleMarker = ' ';
    showHelp(m_firstEntry ? 1 : 8);
    m_firstEntry = false;
    butexit->setEnabled(true);
    Labold->clear();
    Labnew->clear();
    descriptionLabel->clear();
    m_enteredCode.clear();
    Edqty->clear();
    Edadd->clear();
    Label5->hide();
    Label6->hide();
    FieldColours::paint(Edyn, FieldColours::Left);
    Edyn->clear();
}

void InventoryScreen::EdcodeKeyDown(int& key, Qt::KeyboardModifiers modifiers) {
    m_code.keyDown(key, modifiers);
}

void InventoryScreen::EdcodeKeyPress(char& key) {
    m_code.keyPress(key);
}

void InventoryScreen::searchCode() {
    std::string& code = m_enteredCode;
    const std::string typed = code.substr(0, code.find_last_not_of(' ') + 1);
    code = PadRight(code, 13);
    Edcode->setText(fromCp1252(typed));
    InventorySearch search = FindInventoryLine(m_state.files, code, m_line);
    // A UPC-A code is also listed as the EAN-13 it stands for, with a leading 0.
    if (search.result == InventoryFind::NotFound && typed.size() == 12 &&
        BarCodes::checkDigitRight(typed)) {
        InventorySearch asEan = FindInventoryLine(m_state.files, "0" + typed, m_line);
        if (asEan.result != InventoryFind::NotFound) {
            search = std::move(asEan);
            code = "0" + typed;
        }
    }
    ShowNotices(m_services.dialogs, search.notices);
    const InventoryFind result = search.result;
    m_article.ArticleMarker = m_line.ArticleMarker;
    if (result == InventoryFind::Found) {
        m_article.ArticleCode = m_line.ArticleCode;
        showDescription();
        moveTo(Edqty);
        return;
    }
    if (result == InventoryFind::Expense) {
        code.clear();
        Edcode->clear();
        return;
    }
    // The field still shows the code as typed; the search goes on from there,
    // so a corrected code can be looked up and Backspace removes what was typed.
    code = typed;
}

void InventoryScreen::showDescription() {
    // The inventory holds no descriptions; the price list's work copy does.
    CurrentArticle article;
    if (std::optional<TextReader> priceWork = m_state.files.OpenPriceWorkForRead())
        FindArticle(*priceWork, m_line.ArticleCode, article);
    if (article.ArticleCode == m_line.ArticleCode)
        descriptionLabel->setText(fromCp1252(article.ArticleDescription).trimmed());
}

void InventoryScreen::EdcodeExit() {
    FieldColours::paint(Edcode, FieldColours::Left);
    Labold->setText(fromCp1252(InventoryLineDisplay(m_line, m_line.InvOnStock)));
    Label5->show();
    Edyn->clear();
}

// ---------------------------------------------------------------- quantity

void InventoryScreen::EdqtyEnter() {
    butexit->setEnabled(false);
    FieldColours::paint(Edqty, FieldColours::Entry);
    Edqty->clear();
    showHelp(4);
}

void InventoryScreen::EdqtyKeyDown(int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Delete) {
        Edqty->clear();
        key = 0;
    } else if (key == Qt::Key_Escape) {
        key = 0;
        Edqty->clear();
        m_enteredCode.clear();
        Edcode->clear();
        moveTo(Edcode);
    }
}

// The journal and the inventory keep the stock with one decimal: a change
// with more would be stored otherwise than it was shown.
bool InventoryScreen::refuseSecondDecimal(const std::string& text) {
    size_t point = text.find('.');
    if (point == std::string::npos || text.size() - point <= 2) return false;
    Memo2->setPlainText(QString(SecondDecimalNote));
    return true;
}

void InventoryScreen::EdqtyKeyPress(char& key) {
    if (key == '-' || key == '$') key = 0;
    if (key >= '0' && key <= '9') {
        std::string text = toCp1252(Edqty->text());
        text.insert(std::min(text.size(), static_cast<size_t>(Edqty->cursorPosition())), 1, key);
        if (refuseSecondDecimal(text)) key = 0;
    }
    if (key != '\r') {
        m_scanSuffixPending = false;
        return;
    }
    key = 0;
    if ((m_scanSuffixPending && m_codeScannedAt.elapsed() < 50) ||
        m_code.takeSuffix(Edqty->keyTime())) {
        m_scanSuffixPending = false;
        return;
    }
    m_scanSuffixPending = false;
    const std::string text = toCp1252(Edqty->text());
    QuantityEntry entry = ParseQuantity(text);
    if (entry.ValueError != 0) {
        helpMessage(6);
        return;
    }
    // Whatever reached the field (a paste, an exponent), a change is stored
    // with one decimal only if it has no more.
    const double tenths = entry.Quantity * 10;
    if (std::fabs(tenths - std::round(tenths)) > 1e-6) {
        Memo2->setPlainText(QString(SecondDecimalNote));
        return;
    }
    m_quantity = entry.Quantity;
    moveTo(Edadd);
}

// ---------------------------------------------------------------- add or deduct

void InventoryScreen::EdaddEnter() {
    FieldColours::paint(Edadd, FieldColours::Entry);
    showHelp(5);
}

void InventoryScreen::EdaddKeyPress(char& key) {
    key = upper(key);
    if (key != 'A' && key != 'D') {
        m_services.dialogs.message(" Wrong key pressed !");
        Edadd->clear();
        return;
    }
    double& quantity = m_quantity;
    if (key == 'D') quantity = -quantity;
    Labnew->setText(fromCp1252(InventoryLineDisplay(m_line, m_line.InvOnStock + quantity)));
    moveTo(Edyn);
}

void InventoryScreen::EdaddExit() {
    FieldColours::paint(Edadd, FieldColours::Left);
    Label6->setText(Label5->text());
}

// ---------------------------------------------------------------- confirmation

void InventoryScreen::EdynEnter() {
    FieldColours::paint(Edyn, FieldColours::Confirm);
    showHelp(7);
    Label6->show();
}

void InventoryScreen::EdynKeyPress(char& key) {
    const char k = upper(key);
    key = 0;
    if (k == 'Y') {
        // Written before the cursor moves on: a change that cannot be written
        // is reported and the question stays, so it can be confirmed again.
        AppendInventoryChange(m_state.files, {m_enteredCode, m_quantity});
    } else if (k != 'N' && k != Esc) {
        m_services.dialogs.message(" Wrong key pressed !");
        Edyn->clear();
        return;
    }
    moveTo(Edcode);
}

void InventoryScreen::EdynExit() {
    FieldColours::paint(Edyn, FieldColours::Left);
    Edyn->clear();
}
