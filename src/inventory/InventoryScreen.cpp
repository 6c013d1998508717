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
      m_code(codeField, m_enteredCode, m_help, services.dialogs, {true, 2, 3}) {
    setWindowTitle("   INVENTORY UPDATE");
    setClientSize(630, 423);
    buildControls();
    wireHandlers();
    nameRoles({{codeLabel, "codeLabel"},
               {quantityLabel, "quantityLabel"},
               {addDeductLabel, "addDeductLabel"},
               {confirmLabel, "confirmLabel"},
               {headerLabel, "headerLabel"},
               {newHeaderLabel, "newHeaderLabel"},
               {oldLineLabel, "oldLineLabel"},
               {newLineLabel, "newLineLabel"},
               {descriptionLabel, "descriptionLabel"},
               {codeField, "codeField"},
               {quantityField, "quantityField"},
               {addDeductField, "addDeductField"},
               {confirmField, "confirmField"},
               {helpBox, "helpBox"},
               {exitButton, "exitButton"}});
    // Esc in the code field leaves the screen.
    m_code.mayStepBack = [] { return true; };
    m_code.stepBack = [this] { leaveToMain(); };
    m_code.complete = [this](bool byLength) {
        m_scanSuffixPending = byLength;
        if (byLength) m_codeScannedAt.start();
        searchCode();
    };
    m_code.showNote = [this](const std::string& text) { helpBox->setPlainText(fromCp1252(text)); };
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
    codeField = field(codeLabel, "Enter the  Article code to update", 24, 150, 13);
    quantityField = field(
        quantityLabel, "Enter the quantity to add to, or deduct from the Inventory", 60, 100, 10);
    addDeductField = field(
        addDeductLabel, "Type  'A'  to add to,  or  'D'  to deduct from the Inventory", 96, 40, 2);
    confirmField = field(confirmLabel, "Is this correct ?  'Y' or 'N'", 132, 40, 2);

    headerLabel = new QLabel("Code          minmax      sold    on stock   total sold", this);
    headerLabel->setGeometry(92, 174, 445, 18);
    headerLabel->setFont(ScreenParts::lineDraw(13));
    headerLabel->hide();
    descriptionLabel = new QLabel(this);
    descriptionLabel->setGeometry(92, 156, 445, 18);
    descriptionLabel->setFont(ScreenParts::lineDraw(13));
    oldLineLabel = lineLabel(this, 192, White, Navy);
    newHeaderLabel = new QLabel(this);
    newHeaderLabel->setGeometry(92, 222, 445, 18);
    newHeaderLabel->setFont(ScreenParts::lineDraw(13));
    newHeaderLabel->hide();
    newLineLabel = lineLabel(this, 240, Navy, White);

    helpBox = ScreenParts::readOnlyBox(this, 24, 280, 582, 80);
    QFont times;
    times.setFamilies({"Times New Roman", "Liberation Serif", "DejaVu Serif"});
    times.setPixelSize(15);
    helpBox->setFont(times);

    exitButton = new QPushButton("E&xit", this);
    exitButton->setGeometry(270, 380, 90, 28);
    exitButton->setFocusPolicy(Qt::ClickFocus);
    exitButton->setAutoDefault(false);
}

void InventoryScreen::wireHandlers() {
    codeField->onEnter = [this] { EdcodeEnter(); };
    codeField->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { EdcodeKeyDown(k, m); };
    codeField->onKeyPress = [this](char& k) { EdcodeKeyPress(k); };
    codeField->onExit = [this] { EdcodeExit(); };
    quantityField->onEnter = [this] { EdqtyEnter(); };
    quantityField->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { EdqtyKeyDown(k, m); };
    quantityField->onKeyPress = [this](char& k) { EdqtyKeyPress(k); };
    quantityField->whiteWhenLeft();
    addDeductField->onEnter = [this] { EdaddEnter(); };
    addDeductField->onKeyPress = [this](char& k) { EdaddKeyPress(k); };
    addDeductField->onExit = [this] { EdaddExit(); };
    confirmField->onEnter = [this] { EdynEnter(); };
    confirmField->onKeyPress = [this](char& k) { EdynKeyPress(k); };
    confirmField->onExit = [this] { EdynExit(); };
    bindAccelerator(exitButton, [this] { butexitClick(); });
}

void InventoryScreen::showHelp(size_t index) {
    helpBox->setPlainText(fromCp1252(m_help.line(index)));
}

// ---------------------------------------------------------------- activation and leaving

void InventoryScreen::FormActivate() {
    m_firstEntry = true;
    m_help.load(m_state.files.compose("hlpf.6"));
    m_code.useOptions(m_state.options);
    // A work copy that cannot be made is reported; the screen still opens,
    // and without a copy nothing is applied at the end.
    guarded([this] { MakeInventoryWorkCopy(m_state.files); });
    moveTo(codeField);
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
    codeField->clear();
    FieldColours::paint(codeField, FieldColours::Entry);
    m_article.ArticleMarker = ' ';
    showHelp(m_firstEntry ? 1 : 8);
    m_firstEntry = false;
    exitButton->setEnabled(true);
    oldLineLabel->clear();
    newLineLabel->clear();
    descriptionLabel->clear();
    m_enteredCode.clear();
    quantityField->clear();
    addDeductField->clear();
    headerLabel->hide();
    newHeaderLabel->hide();
    FieldColours::paint(confirmField, FieldColours::Left);
    confirmField->clear();
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
    codeField->setText(fromCp1252(typed));
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
        moveTo(quantityField);
        return;
    }
    if (result == InventoryFind::Expense) {
        code.clear();
        codeField->clear();
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
    FieldColours::paint(codeField, FieldColours::Left);
    oldLineLabel->setText(fromCp1252(InventoryLineDisplay(m_line, m_line.InvOnStock)));
    headerLabel->show();
    confirmField->clear();
}

// ---------------------------------------------------------------- quantity

void InventoryScreen::EdqtyEnter() {
    exitButton->setEnabled(false);
    FieldColours::paint(quantityField, FieldColours::Entry);
    quantityField->clear();
    showHelp(4);
}

void InventoryScreen::EdqtyKeyDown(int& key, Qt::KeyboardModifiers) {
    if (key == Qt::Key_Delete) {
        quantityField->clear();
        key = 0;
    } else if (key == Qt::Key_Escape) {
        key = 0;
        quantityField->clear();
        m_enteredCode.clear();
        codeField->clear();
        moveTo(codeField);
    }
}

// The journal and the inventory keep the stock with one decimal: a change
// with more would be stored otherwise than it was shown.
bool InventoryScreen::refuseSecondDecimal(const std::string& text) {
    size_t point = text.find('.');
    if (point == std::string::npos || text.size() - point <= 2) return false;
    helpBox->setPlainText(QString(SecondDecimalNote));
    return true;
}

void InventoryScreen::EdqtyKeyPress(char& key) {
    if (key == '-' || key == '$') key = 0;
    if (key >= '0' && key <= '9') {
        std::string text = toCp1252(quantityField->text());
        text.insert(std::min(text.size(), static_cast<size_t>(quantityField->cursorPosition())), 1,
                    key);
        if (refuseSecondDecimal(text)) key = 0;
    }
    if (key != '\r') {
        m_scanSuffixPending = false;
        return;
    }
    key = 0;
    if ((m_scanSuffixPending && m_codeScannedAt.elapsed() < 50) ||
        m_code.takeSuffix(quantityField->keyTime())) {
        m_scanSuffixPending = false;
        return;
    }
    m_scanSuffixPending = false;
    const std::string text = toCp1252(quantityField->text());
    QuantityEntry entry = ParseQuantity(text);
    if (entry.ValueError != 0) {
        helpMessage(6);
        return;
    }
    // Whatever reached the field (a paste, an exponent), a change is stored
    // with one decimal only if it has no more.
    const double tenths = entry.Quantity * 10;
    if (std::fabs(tenths - std::round(tenths)) > 1e-6) {
        helpBox->setPlainText(QString(SecondDecimalNote));
        return;
    }
    m_quantity = entry.Quantity;
    moveTo(addDeductField);
}

// ---------------------------------------------------------------- add or deduct

void InventoryScreen::EdaddEnter() {
    FieldColours::paint(addDeductField, FieldColours::Entry);
    showHelp(5);
}

void InventoryScreen::EdaddKeyPress(char& key) {
    key = upper(key);
    if (key != 'A' && key != 'D') {
        m_services.dialogs.message(" Wrong key pressed !");
        addDeductField->clear();
        return;
    }
    double& quantity = m_quantity;
    if (key == 'D') quantity = -quantity;
    newLineLabel->setText(fromCp1252(InventoryLineDisplay(m_line, m_line.InvOnStock + quantity)));
    moveTo(confirmField);
}

void InventoryScreen::EdaddExit() {
    FieldColours::paint(addDeductField, FieldColours::Left);
    newHeaderLabel->setText(headerLabel->text());
}

// ---------------------------------------------------------------- confirmation

void InventoryScreen::EdynEnter() {
    FieldColours::paint(confirmField, FieldColours::Confirm);
    showHelp(7);
    newHeaderLabel->show();
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
        confirmField->clear();
        return;
    }
    moveTo(codeField);
}

void InventoryScreen::EdynExit() {
    FieldColours::paint(confirmField, FieldColours::Left);
    confirmField->clear();
}
