// The price list editor.
#include "pricelist/PriceListScreen.h"

#include "forms/EntryField.h"
#include "forms/ScreenParts.h"
#include "forms/ShowNotices.h"
#include "platform/Cp1252.h"
#include "platform/Services.h"
#include "pricelist/DoubleEntryCheck.h"
#include "pricelist/PriceImport.h"
#include "pricelist/PriceLineCheck.h"
#include "pricelist/PriceLineForm.h"
#include "pricelist/PriceList.h"
#include "pricelist/PriceListSave.h"
#include "scanning/BarCodes.h"
#include "store/AuditTrail.h"
#include "store/DateTimeText.h"
#include "store/IoError.h"
#include "store/ProgramState.h"
#include "store/TextLines.h"
#include "takings/TakingsReader.h"
#include "viewer/ViewedFile.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cctype>
#include <memory>

namespace {

const char* const PriceListNotFound = " Error!\r the file Pricelist not found! ";
const QColor Navy(0, 0, 128);
const QRect ListPlace(34, 51, 565, 266);
constexpr int FormTop = 28;
constexpr int FormHeight = 54;
// A short list gets the entry form at once: a new shop starts with one line.
constexpr int FormOpensBelow = 10;
constexpr char16_t ControlPictures = 0x2400;

// Control characters in the list are shown as their pictures, so that a line
// keeps its bytes through the editor: the text area would break a line at a
// CR and swallow a NUL.
QString displayText(const std::string& bytes) {
    QString text = fromCp1252(bytes);
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = QChar(char16_t(ControlPictures + (c.unicode() == 0x7F ? 0x21 : c.unicode())));
    return text;
}

// The bytes of a line of the text area; false when it holds a character the
// file cannot, which stands as a control character then, so that the line
// check refuses it.
bool fileBytes(const QString& text, std::string& bytes) {
    bytes.clear();
    bytes.reserve(static_cast<size_t>(text.size()));
    bool all = true;
    for (QChar c : text) {
        char16_t u = c.unicode();
        if (u >= ControlPictures && u <= ControlPictures + 0x21 && u != ControlPictures + 0x20)
            bytes += static_cast<char>(u == ControlPictures + 0x21 ? 0x7F : u - ControlPictures);
        else if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            bytes += static_cast<char>(u);
        else if (isCp1252(c))
            bytes += toCp1252(QString(c));
        else {
            bytes += '\x01';
            all = false;
        }
    }
    return all;
}

// The line check's message, with what is wrong where.
std::string faultMessage(const std::string& where) {
    return std::string(PriceLineFaultMessage) + "\r" + where;
}

size_t helpLineForColumn(int column) {
    if (column == 0) return 1;
    if (column == 14 || column == 41 || column == 52 || column == 63) return 3;
    if (column <= 13) return 2;
    if (column <= 40) return 4;
    if (column <= 51) return 5;
    if (column <= 62) return 6;
    if (column <= 65) return 7;
    return 10;
}

void setTextColour(QWidget* w, const QColor& colour) {
    QPalette p = w->palette();
    p.setColor(QPalette::Text, colour);
    p.setColor(QPalette::WindowText, colour);
    w->setPalette(p);
}

QLabel* header(QWidget* parent, const char* caption, const QColor& colour, bool onSilver) {
    auto* label = new QLabel(caption, parent);
    label->setFont(ScreenParts::lineDraw(13));
    label->adjustSize();
    setTextColour(label, colour);
    if (onSilver) {
        label->setAutoFillBackground(true);
        QPalette p = label->palette();
        p.setColor(QPalette::Window, QColor(192, 192, 192));
        label->setPalette(p);
    }
    return label;
}

} // namespace

PriceListScreen::PriceListScreen(ProgramState& state, Services& services, QWidget* parent)
    : ZorviScreen(state, services, parent) {
    setWindowTitle("PRICE LIST SCREEN         Add, delete or change Articles, Services and "
                   "Expenses.");
    setClientSize(630, 424);
    buildControls();
    buildHeaders();
    buildFindDialog();
    buildEntryForm();
    wireHandlers();
    nameRoles({{backPanel, "backPanel"},
               {listBox, "listBox"},
               {lineField, "lineField"},
               {findButton, "findButton"},
               {exitButton, "exitButton"},
               {importButton, "importButton"},
               {helpBox, "helpBox"},
               {doubleCodesBox, "doubleCodesBox"},
               {positionLabel, "positionLabel"},
               {dateLabel, "dateLabel"},
               {timeLabel, "timeLabel"},
               {findDialog, "findDialog"},
               {findTextField, "findTextField"},
               {entryForm, "entryForm"}});
}

void PriceListScreen::buildControls() {
    backPanel = new QWidget(this);
    backPanel->setGeometry(0, 0, 630, 424);

    listBox = new QPlainTextEdit(this);
    listBox->setGeometry(ListPlace);
    listBox->setFont(ScreenParts::lineDraw(13));
    listBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    listBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    listBox->setUndoRedoEnabled(false);
    listBox->setAccessibleName("Price list");

    lineField = new EntryField(m_services.dialogs, this);
    lineField->setGeometry(34, 28, 565, 24);
    lineField->setFont(ScreenParts::lineDraw(13));
    lineField->setFocusPolicy(Qt::StrongFocus);
    lineField->setAccessibleName("Price list line");

    findButton = new QPushButton("Fin&d", this);
    findButton->setGeometry(244, 387, 90, 25);
    exitButton = new QPushButton("E&xit && Save", this);
    exitButton->setGeometry(346, 387, 90, 25);
    importButton = new QPushButton("&Import", this);
    importButton->setGeometry(30, 387, 90, 25);
    for (QPushButton* b : {findButton, exitButton, importButton})
        b->setAutoDefault(false);
    setTabOrder(listBox, lineField);
    setTabOrder(lineField, findButton);
    setTabOrder(findButton, exitButton);
    setTabOrder(exitButton, importButton);

    helpBox = ScreenParts::readOnlyBox(this, 34, 318, 565, 65);
    helpBox->setFont(ScreenParts::arial(15));
    setTextColour(helpBox, Navy);

    doubleCodesBox = ScreenParts::readOnlyBox(this, 163, 32, 305, 349);
    doubleCodesBox->setFont(ScreenParts::lineDraw(13));
    doubleCodesBox->hide();

    positionLabel = new QLabel(this);
    positionLabel->setGeometry(36, 382, 200, 18);
    dateLabel = new QLabel(this);
    dateLabel->setGeometry(474, 382, 70, 18);
    timeLabel = new QLabel(this);
    timeLabel->setGeometry(550, 382, 45, 18);
    for (QLabel* l : {dateLabel, timeLabel})
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void PriceListScreen::buildHeaders() {
    // The headers stand in a row as wide as the list's text, which clips
    // them as the list scrolls sideways.
    auto* row = new QWidget(this);
    row->setObjectName("headerRow");
    m_headers = {{header(row, "M", Qt::red, false), 0},
                 {header(row, "The--Bar-code", Qt::black, true), 1},
                 {header(row, "The---Article--description", Qt::darkGreen, true), 15},
                 {header(row, "WhsalPrice", Qt::blue, true), 42},
                 {header(row, "Sale-Price", Qt::red, true), 53},
                 {header(row, "Mm", Qt::black, true), 64},
                 {header(row, "E", Qt::magenta, false), 66}};
}

// Each header over its columns, wherever the list's text stands.
void PriceListScreen::placeHeaders() {
    QWidget* row = findChild<QWidget*>("headerRow");
    QWidget* text = listBox->viewport();
    const QPoint textAt = text->mapTo(this, QPoint(0, 0));
    row->setGeometry(textAt.x(), 14, text->width(), m_headers.front().first->height());
    const double columnWidth = QFontMetricsF(listBox->font()).horizontalAdvance('M');
    const double first =
        listBox->document()->documentMargin() - listBox->horizontalScrollBar()->value();
    for (auto& [label, column] : m_headers)
        label->move(qRound(first + column * columnWidth), 0);
}

void PriceListScreen::buildEntryForm() {
    entryForm = new QWidget(this);
    entryForm->setGeometry(ListPlace.left(), FormTop, ListPlace.width(), FormHeight);
    entryForm->hide();
    struct Place {
        const char* caption;
        int row;
    };
    const Place places[] = {{"Marker", 0},          {"Code", 0},       {"Description", 0},
                            {"Wholesale price", 1}, {"Sale price", 1}, {"Stock level", 1}};
    const QFont fieldFont = ScreenParts::lineDraw(13);
    const QFontMetrics fieldMetrics(fieldFont);
    int left[2] = {0, 0};
    for (size_t i = 0; i < formFields.size(); ++i) {
        const auto field = static_cast<PriceLineField>(i);
        const int row = places[i].row;
        // Labels as wide as their text in whatever font the system has.
        auto* label = new QLabel(places[i].caption, entryForm);
        label->adjustSize();
        label->move(left[row], row * 28 + 4);
        left[row] += label->width() + 4;
        auto* edit = new EntryField(m_services.dialogs, entryForm);
        edit->setFont(fieldFont);
        edit->setMaxLength(static_cast<int>(PriceFormWidth(field)));
        const int chars = static_cast<int>(PriceFormWidth(field));
        edit->setGeometry(left[row], row * 28,
                          fieldMetrics.horizontalAdvance(QString(chars, 'M')) + 12, 24);
        edit->setAccessibleName(places[i].caption);
        edit->setObjectName(QString("form%1").arg(i));
        edit->setUpperCase(field == PriceLineField::Code);
        left[row] += edit->width() + 14;
        label->setBuddy(edit);
        edit->onKeyPress = [this, i](char& k) { formKeyPress(i, k); };
        const size_t help = i == 0 ? 1 : i == 1 ? 2 : i + 2; // the help of its columns
        edit->onEnter = [this, help] { showHelp(help); };
        edit->installEventFilter(this);
        formFields[i] = edit;
    }
}

void PriceListScreen::buildFindDialog() {
    findDialog = new QDialog(this);
    findDialog->setWindowTitle("Find");
    findDialog->setModal(false);
    findTextField = new QLineEdit(findDialog);
    findTextField->setGeometry(10, 10, 220, 24);
    findTextField->setAccessibleName("Find what");
    auto* matchCase = new QCheckBox("Match &case", findDialog);
    matchCase->setGeometry(10, 42, 150, 20);
    matchCase->setChecked(true);
    auto* findNext = new QPushButton("&Find Next", findDialog);
    findNext->setGeometry(240, 10, 90, 25);
    findNext->setDefault(true);
    findDialog->setFixedSize(340, 72);
    connect(findNext, &QPushButton::clicked, this,
            [this] { guarded([this] { FindDialog1Find(); }); });
    connect(findDialog, &QDialog::rejected, this,
            [this] { guarded([this] { FindDialog1Close(); }); });
}

void PriceListScreen::wireHandlers() {
    listBox->installEventFilter(this);
    connect(listBox, &QPlainTextEdit::cursorPositionChanged, this,
            [this] { guarded([this] { REdit1SelectionChange(); }); });
    // Typing, deleting, cutting and pasting all count: whatever changes the
    // text is saved by Exit & Save.
    connect(listBox->document(), &QTextDocument::contentsChanged, this, [this] {
        if (!m_loading) m_modified = true;
    });
    lineField->onEnter = [this] { Edit1Enter(); };
    lineField->onExit = [this] { Edit1Exit(); };
    lineField->onKeyDown = [this](int& k, Qt::KeyboardModifiers m) { Edit1KeyDown(k, m); };
    lineField->onKeyPress = [this](char& k) { Edit1KeyPress(k); };
    connect(lineField, &QLineEdit::textChanged, this,
            [this] { guarded([this] { Edit1Change(); }); });
    bindAccelerator(findButton, [this] { butfindClick(); });
    bindAccelerator(exitButton, [this] { butexitClick(); });
    bindAccelerator(importButton, [this] { butimportClick(); });
    auto* formKey = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_F), this);
    connect(formKey, &QShortcut::activated, this, [this] { guarded([this] { openForm(); }); });
    connect(listBox->horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this] { placeHeaders(); });
}

// ---------------------------------------------------------------- activation

void PriceListScreen::FormActivate() {
    m_help.load(m_state.files.compose("hlpf.3"));
    m_burst.setGap(ScannerGapMs(m_state.options));
    showHelp(8);
    m_lineValid = true;
    positionLabel->setText("L 1   C 1   TotL ");
    dateLabel->setText(
        fromCp1252(ShortDateText(m_services.clock.now(), m_services.regional.formats())));
    refreshTime();
    // The list is loaded here only: a message box, a click or a search that
    // gives the text area the focus again must not throw edits away.
    loadPriceList();
    m_modified = false;
    placeHeaders();
    if (listBox->document()->blockCount() < FormOpensBelow)
        openForm();
    else
        moveTo(listBox);
}

void PriceListScreen::loadPriceList() {
    std::vector<std::string> lines;
    if (!ReadPriceListLines(m_state.files, lines)) {
        m_services.dialogs.message(PriceListNotFound);
        return;
    }
    QString text;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (i) text += '\n';
        text += displayText(lines[i]);
    }
    m_loading = true;
    listBox->setPlainText(text);
    m_loading = false;
    listBox->moveCursor(QTextCursor::Start);
    if (!WritePriceListBackup(m_state.files, lines)) m_services.dialogs.message(PriceListNotFound);
}

void PriceListScreen::refreshTime() {
    std::string time = LongTimeText(m_services.clock.now(), m_services.regional.formats());
    timeLabel->setText(fromCp1252(time.substr(0, time.size() == 8 ? 5 : 4)));
}

void PriceListScreen::showHelp(size_t index) {
    helpBox->setPlainText(fromCp1252(m_help.line(index)));
}

void PriceListScreen::showHelpForColumn(int column, bool entryLine) {
    if (entryLine && column == 0) return;
    size_t index = helpLineForColumn(column);
    showHelp(entryLine && index == 10 ? 11 : index);
    setTextColour(helpBox, Navy);
}

// ---------------------------------------------------------------- text area

void PriceListScreen::REdit1SelectionChange() {
    refreshTime();
    // Line and column come from the cursor: splitting a long list into lines
    // at every caret move would make typing crawl.
    QTextCursor cursor = listBox->textCursor();
    int line = cursor.blockNumber();
    int column = cursor.positionInBlock();
    positionLabel->setText(QString("L %1   C %2   TotL %3")
                               .arg(line + 1)
                               .arg(column + 1)
                               .arg(listBox->document()->blockCount()));
    QTextCharFormat format;
    format.setForeground(m_lineValid ? Qt::black : Qt::red);
    listBox->setCurrentCharFormat(format);
    showHelpForColumn(column, false);
}

bool PriceListScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        for (size_t i = 0; i < formFields.size(); ++i)
            if (watched == formFields[i] && (key == Qt::Key_Tab || key == Qt::Key_Backtab)) {
                guarded([&] { formNext(i, key == Qt::Key_Tab ? 1 : -1); });
                return true;
            }
    }
    if (watched == listBox && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        bool consumed = false;
        guarded([&] { consumed = REdit1KeyPress(key->key()); });
        return consumed;
    }
    return ZorviScreen::eventFilter(watched, event);
}

// True when the key is used up here; otherwise the text area takes it.
bool PriceListScreen::REdit1KeyPress(int key) {
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        moveTo(entryForm->isVisible() ? static_cast<QWidget*>(formFields[1]) : lineField);
        return true;
    case Qt::Key_Escape:
        moveTo(exitButton);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        QTextCursor cursor = listBox->textCursor();
        QTextBlock block = cursor.block();
        if (block.text().size() <= 63) return false;
        QString result;
        bool passed = checkTyped(block.text(), result,
                                 "Line " + std::to_string(block.blockNumber() + 1) + ", ");
        // A corrected line turns black again, a faulty one red.
        replaceLine(block, result, passed ? Qt::black : Qt::red);
        cursor = QTextCursor(block);
        cursor.movePosition(QTextCursor::EndOfBlock);
        listBox->setTextCursor(cursor);
        return false;
    }
    default:
        return false;
    }
}

bool PriceListScreen::checkTyped(const QString& typed, QString& result, const std::string& where) {
    std::string bytes, rebuilt;
    fileBytes(typed, bytes);
    m_lineValid = CheckPriceLine(bytes, rebuilt);
    result = m_lineValid ? displayText(rebuilt) : typed;
    if (!m_lineValid) {
        std::string fault = PriceLineFault(bytes);
        if (where.empty()) fault[0] = static_cast<char>(std::toupper(fault[0]));
        m_services.dialogs.message(faultMessage(where + fault));
    }
    return m_lineValid;
}

// Puts `text` in place of the line's text, all of it in one colour.
void PriceListScreen::replaceLine(const QTextBlock& block, const QString& text,
                                  const QColor& colour) {
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat format;
    format.setForeground(colour);
    cursor.insertText(text, format);
}

// ---------------------------------------------------------------- entry line

void PriceListScreen::Edit1Enter() {
    showHelp(12);
}

void PriceListScreen::Edit1Change() {
    refreshTime();
    int column = lineField->cursorPosition();
    positionLabel->setText(QString("L 1   C %1   TotL 1").arg(column + 1));
    showHelpForColumn(column, true);
}

void PriceListScreen::Edit1KeyDown(int& key, Qt::KeyboardModifiers) {
    if (key != Qt::Key_Delete) return;
    lineField->clear();
    key = 0;
}

void PriceListScreen::Edit1KeyPress(char& key) {
    const Scan scan = takeScan(lineField, key);
    if (scan == Scan::Refused) {
        key = 0;
        return;
    }
    // A scanned code alone starts a new line in the entry form, where the
    // scanner's Enter cannot stop on a line that is not complete.
    if (scan == Scan::Scanned && lineField->text().trimmed().size() <= 13) {
        key = 0;
        const QString code = lineField->text().trimmed();
        lineField->clear();
        openForm();
        formFields[static_cast<size_t>(PriceLineField::Code)]->setText(code);
        formNext(static_cast<size_t>(PriceLineField::Code), 1);
        return;
    }
    if (key == '\x1b') {
        moveTo(listBox);
        return;
    }
    if (key != '\r') return;
    setTextColour(lineField, Qt::black);
    if (lineField->text().size() < 64) {
        m_services.dialogs.message("This line is not compleet!");
        return;
    }
    QString result;
    bool passed = checkTyped(lineField->text(), result, "");
    lineField->setText(result);
    if (!passed) {
        setTextColour(lineField, Qt::red);
        return;
    }
    lineField->clear();
    appendLine(result);
    showHelp(12);
}

void PriceListScreen::appendLine(const QString& text) {
    QTextCursor end(listBox->document());
    end.movePosition(QTextCursor::End);
    // The sample line of a new list shows the layout until the first article
    // takes its place; its code is none the line check passes, so it would
    // stop every save.
    QTextDocument* list = listBox->document();
    if (list->blockCount() == 1 && list->begin().text() == displayText(PriceListSampleLine))
        end.select(QTextCursor::Document);
    else if (!end.block().text().isEmpty())
        end.insertBlock();
    QTextCharFormat format;
    format.setForeground(Qt::black);
    end.insertText(text, format);
    m_modified = true;
    end.movePosition(QTextCursor::StartOfBlock);
    listBox->setTextCursor(end);
    listBox->ensureCursorVisible();
    REdit1SelectionChange();
}

// A scanner types a code as a burst of keys (see KeyBurst) and ends it with
// Enter. Each key of the entry line and of the form's code field is timed
// here: an Enter that ends a burst is a scan, and a scanned code with a wrong
// check digit is refused, the field emptied for the code to be scanned again
// and the refusal shown in the help area until the next key.
PriceListScreen::Scan PriceListScreen::takeScan(EntryField* field, char key) {
    if (m_warning) {
        m_warning = false;
        helpBox->setPlainText(m_noteBeforeWarning);
        setTextColour(helpBox, Navy);
    }
    const unsigned long ms = field->keyTime();
    const bool scanned = key == '\r' && m_burst.scanned() && m_burst.follows(ms);
    m_burst.press(ms, key != '\r');
    if (!scanned) return Scan::Typed;
    std::string code;
    fileBytes(field->text(), code);
    if (!BarCodes::Misread(code)) return Scan::Scanned;
    field->clear();
    m_noteBeforeWarning = helpBox->toPlainText();
    helpBox->setPlainText(BarCodes::MisreadText);
    setTextColour(helpBox, Qt::red);
    m_warning = true;
    return Scan::Refused;
}

// ---------------------------------------------------------------- entry form

void PriceListScreen::openForm() {
    lineField->hide();
    entryForm->show();
    listBox->setGeometry(ListPlace.adjusted(0, FormTop + FormHeight - ListPlace.top(), 0, 0));
    listBox->ensureCursorVisible();
    moveTo(formFields[static_cast<size_t>(PriceLineField::Code)]);
}

void PriceListScreen::closeForm() {
    entryForm->hide();
    for (EntryField* field : formFields)
        field->clear();
    listBox->setGeometry(ListPlace);
    lineField->show();
    moveTo(listBox);
    REdit1SelectionChange();
}

void PriceListScreen::formNext(size_t field, int step) {
    const size_t count = formFields.size();
    moveTo(
        formFields[(field + count + static_cast<size_t>(step + static_cast<int>(count))) % count]);
}

void PriceListScreen::formKeyPress(size_t field, char& key) {
    if (field == static_cast<size_t>(PriceLineField::Code) &&
        takeScan(formFields[field], key) == Scan::Refused) {
        key = 0;
        return;
    }
    if (key == '\x1b') {
        key = 0;
        closeForm();
        return;
    }
    if (key == '\r') {
        key = 0;
        if (field + 1 < formFields.size())
            formNext(field, 1);
        else
            addFormLine();
        return;
    }
    if (!PriceFormTakes(static_cast<PriceLineField>(field), key)) key = 0;
}

// The form's line takes the line check as a typed line does; a fault names
// the field and puts the cursor in it.
void PriceListScreen::addFormLine() {
    PriceFormTexts texts;
    for (size_t i = 0; i < formFields.size(); ++i)
        fileBytes(formFields[i]->text(), texts[i]);
    ComposedPriceLine composed = ComposePriceLine(texts);
    m_lineValid = composed.passed;
    if (!composed.passed) {
        m_services.dialogs.message(composed.fault);
        moveTo(formFields[static_cast<size_t>(composed.faultyField)]);
        return;
    }
    appendLine(displayText(composed.line));
    for (EntryField* f : formFields)
        f->clear();
    moveTo(formFields[static_cast<size_t>(PriceLineField::Code)]);
}

void PriceListScreen::Edit1Exit() {
    lineField->clear();
}

// ---------------------------------------------------------------- find

void PriceListScreen::butfindClick() {
    findDialog->show();
    findDialog->raise();
    findDialog->activateWindow();
}

void PriceListScreen::FindDialog1Find() {
    QTextCursor current = listBox->textCursor();
    int from = current.hasSelection() ? current.selectionEnd() : 0;
    QTextCursor found =
        listBox->document()->find(findTextField->text(), from, QTextDocument::FindCaseSensitively);
    if (found.isNull()) return;
    findDialog->hide();
    activateWindow();
    moveTo(listBox);
    listBox->setTextCursor(found);
}

void PriceListScreen::FindDialog1Close() {
    activateWindow();
    moveTo(listBox);
}

// ---------------------------------------------------------------- exit and save

std::vector<std::string> PriceListScreen::textLines() const {
    std::vector<std::string> lines;
    lines.reserve(static_cast<size_t>(listBox->document()->blockCount()));
    std::string bytes;
    for (QTextBlock b = listBox->document()->begin(); b.isValid(); b = b.next()) {
        fileBytes(b.text(), bytes);
        lines.push_back(bytes);
    }
    return lines;
}

// A refused save keeps the text as typed, with every line that passed in its
// layout, and points at the first faulty line.
void PriceListScreen::showRefusal(const CheckedPriceLines& checked) {
    const auto faulty = static_cast<int>(checked.faultyLine);
    QTextBlock block = listBox->document()->begin();
    for (size_t i = 0; i < checked.rebuilt.size() && block.isValid(); ++i, block = block.next()) {
        const std::string& rebuilt = checked.rebuilt[i];
        if (rebuilt.empty()) continue;
        QString text = displayText(rebuilt);
        if (block.text() != text) replaceLine(block, text, Qt::black);
    }
    QTextBlock at = listBox->document()->findBlockByNumber(faulty);
    replaceLine(at, at.text(), Qt::red);
    m_lineValid = false;
    m_services.dialogs.message(
        faultMessage("Line " + std::to_string(faulty + 1) + ", " + checked.fault));
    moveTo(listBox);
    listBox->setTextCursor(QTextCursor(at));
}

QProgressBar* PriceListScreen::startProgress() {
    auto* bar = new QProgressBar(this);
    bar->setGeometry(0, height() - 16, width(), 16);
    bar->setTextVisible(false);
    bar->show();
    return bar;
}

// Saves the modified text and checks it for double codes; false when the
// text could not be saved and the screen stays as it is.
bool PriceListScreen::saveAndCheck() {
    std::unique_ptr<QProgressBar> bar(startProgress());
    auto progress = [&bar](size_t done, size_t total) {
        bar->setMaximum(static_cast<int>(total));
        bar->setValue(static_cast<int>(std::min(done, total)));
        bar->repaint();
    };
    PriceListSaveOptions options;
    options.progress = progress;
    const AuditSnapshot audit(m_state.files.DataDir(), {"Pricelist.dat", "Inventory.dat"});
    PriceListSaveResult saved = SavePriceList(m_state.files, m_state.config, textLines(), options);
    audit.record(m_services.clock.now(), "price list save");
    ShowNotices(m_services.dialogs, saved.notices);
    if (saved.checked.faultyLine != std::string::npos) {
        bar.reset();
        showRefusal(saved.checked);
        return false;
    }
    m_modified = false;
    m_lineValid = true; // every line of the text passed
    // The work copy now holds the stock of Inventory.dat again.
    RestartStockLedger(m_state.stock, m_state.files);

    doubleCodesBox->show();
    doubleCodesBox->setPlainText(" Checking for double entries.\n ");
    DoubleEntryReport report = CheckDoubleEntries(m_state.files, progress);
    m_doubleEntry = report.found;
    if (report.found) m_lineValid = false;
    QString lines;
    for (const std::string& line : report.lines)
        lines += '\n' + fromCp1252(line);
    if (report.leftOut) lines += QString("\n ... and %1 more lines not shown.").arg(report.leftOut);
    doubleCodesBox->setPlainText(doubleCodesBox->toPlainText() + lines);
    return true;
}

void PriceListScreen::butimportClick() {
    std::optional<std::string> path = m_services.fileDialog.open(
        "Import a price list", m_state.files.DataDir(), {{".csv", CaseBlindPattern("*.csv")}});
    if (!path) return;
    std::optional<CsvTable> table;
    CsvFault fault;
    try {
        table = ReadCsv(ReadWholeFile(*path), fault);
    } catch (const IoError& e) {
        m_services.dialogs.message(e.message());
        return;
    }
    if (!table) {
        m_services.dialogs.message("The file " + *path + " cannot be imported:\r" + fault.text());
        return;
    }
    std::string why;
    std::optional<ImportColumns> columns =
        ParseImportColumns(m_state.options.value(ImportColumnsKey), why);
    if (!columns) {
        std::optional<std::string> typed = m_services.dialogs.askText(
            "Which columns of the file hold the code, description, wholesale price, sale price "
            "and stock level?\rFive numbers such as 1,2,3,4,5 (0 for a column the file lacks).");
        if (!typed) return;
        columns = ParseImportColumns(*typed, why);
        if (!columns) {
            m_services.dialogs.message("The columns " + *typed + " cannot be taken: " + why + ".");
            return;
        }
        try {
            SaveImportColumns(m_state.files.DataDir(), m_state.options, *columns);
        } catch (const IoError& e) {
            m_services.dialogs.message(e.message());
        }
    }
    const bool update = m_services.dialogs.confirm(
                            "Codes already in the price list: take the file's prices for them?\r"
                            "Yes: update their prices.  No: keep them as they are.",
                            Dialogs::Buttons::YesNo) == Dialogs::Answer::Yes;
    const PriceImport import = ImportPriceRows(*table, *columns, textLines(), update);
    if (import.added + import.updated > 0) {
        QString text;
        for (size_t i = 0; i < import.lines.size(); ++i) {
            if (i) text += '\n';
            text += displayText(import.lines[i]);
        }
        listBox->setPlainText(text);
        m_modified = true;
    }
    m_services.dialogs.message(PriceImportReport(import));
}

void PriceListScreen::butexitClick() {
    bool saved = false;
    if (m_modified) {
        if (!saveAndCheck()) return;
        saved = true;
    }
    if (m_doubleEntry) {
        doubleCodesBox->show();
        m_services.dialogs.message("Double entry was found.");
    }
    doubleCodesBox->hide();
    // A faulty line that never reached the text, or double codes just saved:
    // the screen stays, with the list as saved to correct.
    if (!m_lineValid || (saved && m_doubleEntry)) {
        m_lineValid = true;
        if (saved) loadPriceList();
        moveTo(listBox);
        return;
    }
    m_state.flags.PriceListError = false;
    ZorviScreen::leaveToMain();
}

void PriceListScreen::closeEvent(QCloseEvent* event) {
    event->ignore();
    guarded([this] { butexitClick(); });
}
