// The setup screen.
#include "setup/SetupScreen.h"

#include "devices/SerialDevices.h"
#include "forms/EntryField.h"
#include "forms/PrinterRetry.h"
#include "forms/ScreenParts.h"
#include "forms/ShowNotices.h"
#include "platform/Cp1252.h"
#include "platform/Services.h"
#include "setup/SampleDocket.h"
#include "setup/SetupFields.h"
#include "setup/SetupFiles.h"
#include "store/AuditTrail.h"
#include "store/FileNames.h"
#include "store/OwnerPin.h"
#include "store/ProgramState.h"

#include <QCloseEvent>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <map>

namespace {

const char* const TypedLimitProperty = "typedLimit";

// Longer texts than a field lets the operator type still show whole: a value
// from the file must be saved as it was read, not cut to the field's length.
void showWhole(EntryField* field, const std::string& bytes) {
    QString text = fromCp1252(bytes);
    int limit = field->property(TypedLimitProperty).toInt();
    if (limit > 0) field->setMaxLength(std::max(limit, static_cast<int>(text.size())));
    field->setText(text);
}

std::string textOf(const EntryField* field) {
    return field ? toCp1252(field->text()) : std::string();
}

// However a field is entered (its panel's accelerator, Tab or the mouse) its
// content is selected, so what the operator types replaces it. A click puts
// the caret where it landed after the field is entered, so the selection is
// made again once the click is done.
void selectWhole(EntryField* field) {
    field->selectAll();
    QTimer::singleShot(0, field, [field] {
        if (field->hasFocus()) field->selectAll();
    });
}

bool isLetterKey(char key) {
    return (key >= 'a' && key <= 'z') || (key >= 'A' && key <= 'Z') || key == '\b';
}

// Help lines and stand-in labels of the docket rows, in the order of
// DocketRowsOnScreen.
struct DocketRowHelp {
    int codeHelp;
    int textHelp; // -1: no text field, a label stands in its place
    const char* placeholder;
};

const DocketRowHelp DocketRowHelps[] = {
    {12, 13, nullptr},
    {15, 13, nullptr},
    {15, 13, nullptr},
    {15, 18, nullptr},
    {15, 18, nullptr},
    {15, 18, nullptr},
    {16, -1, "Article Line, Release-code"},
    {17, -1, "Paid with - Line, Release-code"},
    {17, -1, "Served by - Line, Release-code"},
};
static_assert(std::size(DocketRowHelps) == DocketRowsOnScreen.size());
constexpr int ReleaseHelp = 14;

// The options panel shows this many keys a page.
constexpr size_t OptionsPerPage = 6;

int optionFieldLength(const OptionKey& key) {
    switch (key.type) {
    case OptionKey::Type::Text:
        return static_cast<int>(key.most);
    case OptionKey::Type::Number:
        return 11;
    case OptionKey::Type::Choice:
        return static_cast<int>(key.choices.size());
    case OptionKey::Type::Amount:
        return 12;
    case OptionKey::Type::Amounts:
        return 60;
    case OptionKey::Type::PinHash:
    case OptionKey::Type::Serial:
        return 12;
    }
    return 0;
}

bool isPin(const OptionKey& key) {
    return key.type == OptionKey::Type::PinHash;
}

// Typed into the owner PIN's field, it removes the PIN.
const char* const NoPin = "none";

// The field checks name a field as the configuration's layout does; the
// screen names it by its role.
QString roleOf(const std::string& checked) {
    static const std::map<std::string, const char*> single = {{"taxed", "taxField"},
                                                              {"ldisced", "lowDiscountField"},
                                                              {"mdisced", "mediumDiscountField"},
                                                              {"hdisced", "highDiscountField"},
                                                              {"COMed", "drawerPortField"},
                                                              {"displayed", "displayPortField"},
                                                              {"dispNoched", "displayWidthField"},
                                                              {"denomed", "denominationField"},
                                                              {"rounded", "roundingField"},
                                                              {"Prnwed", "printWidthField"},
                                                              {"pushed", "pushOutField"},
                                                              {"stocked", "lowStockField"}};
    if (auto it = single.find(checked); it != single.end()) return it->second;
    // A row's field: sp1ed is salesPersonCode1, dl3ed docketCode3.
    const std::pair<const char*, const char*> rows[] = {{"sp", "salesPersonCode"},
                                                        {"dl", "docketCode"},
                                                        {"dn", "docketText"},
                                                        {"dr", "docketRelease"}};
    const std::string row = checked.size() > 4 ? checked.substr(2, checked.size() - 4) : "";
    const bool numbered = !row.empty() && row.find_first_not_of("0123456789") == std::string::npos;
    for (auto [prefix, role] : rows)
        if (numbered && checked.starts_with(prefix) && checked.ends_with("ed"))
            return QString(role) + QString::fromStdString(row);
    return QString::fromStdString(checked);
}

} // namespace

SetupScreen::SetupScreen(ProgramState& state, Services& services, QWidget* parent)
    : ZorviScreen(state, services, parent) {
    setWindowTitle("CONFIGURE ZORVI              Use the TAB Key  or Mouse to move to the next "
                   "field.");
    setClientSize(631, 424);
    setFont(ScreenParts::arial(16));

    mainPanel = new QFrame(this);
    mainPanel->setGeometry(0, 0, 631, 424);
    mainPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);

    helpBox = ScreenParts::readOnlyBox(mainPanel, 5, 304, 617, 77);
    QPalette navy = helpBox->palette();
    navy.setColor(QPalette::Text, QColor(0, 0, 128));
    helpBox->setPalette(navy);

    buildSalesPersonPanel();
    buildBasicPanel();
    buildDocketPanel();
    buildLanguagePanel();
    buildOptionsPanel();
    buildButtons();
    nameRoles({{mainPanel, "mainPanel"},
               {salesPersonPanel, "salesPersonPanel"},
               {basicPanel, "basicPanel"},
               {docketPanel, "docketPanel"},
               {languagePanel, "languagePanel"},
               {optionsPanel, "optionsPanel"},
               {basicButton, "basicButton"},
               {salesPersonButton, "salesPersonButton"},
               {docketButton, "docketButton"},
               {languageButton, "languageButton"},
               {optionsButton, "optionsButton"},
               {printDocketButton, "printDocketButton"},
               {taxLabel, "taxLabel"},
               {saveExitButton, "saveExitButton"},
               {helpBox, "helpBox"}});
}

QFrame* SetupScreen::makePanel(int left, int top, int width, int height, const char* title) {
    auto* panel = new QFrame(mainPanel);
    panel->setGeometry(left, top, width, height);
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* caption = new QLabel(title, panel);
    caption->setGeometry(0, 4, width, 22);
    caption->setAlignment(Qt::AlignHCenter);
    caption->setFont(ScreenParts::arial(16, true));
    panel->hide();
    return panel;
}

EntryField* SetupScreen::makeField(QWidget* panel, const char* name, int left, int top, int width,
                                   int maxLength, int helpLine) {
    auto* field = new EntryField(m_services.dialogs, panel);
    field->setObjectName(name);
    field->setGeometry(left, top, width, 24);
    field->setFocusPolicy(Qt::StrongFocus);
    field->setProperty(TypedLimitProperty, maxLength);
    if (maxLength > 0) field->setMaxLength(maxLength);
    field->onEnter = [this, field, helpLine] {
        selectWhole(field);
        if (helpLine >= 0) showHelp(helpLine);
    };
    connect(field, &QLineEdit::textEdited, this, [this, field, maxLength](const QString& text) {
        // Pasted text passes the key filter; what the files cannot hold is refused here.
        QString kept;
        for (QChar c : text)
            if (isCp1252(c)) kept.append(c);
        if (kept.size() != text.size()) {
            field->setText(kept);
            m_services.dialogs.message(
                "Only characters of the Windows-1252 set can be stored and printed.\r"
                "The other characters were removed.");
        }
        // A value shown whole is shortened by the operator, never typed longer.
        // Setting the limit sets the text anew, which would put the caret at
        // the end: a correction in the middle must stay in the middle.
        const int limit = std::max(maxLength, int(field->text().size()));
        if (maxLength > 0 && limit != field->maxLength()) {
            const int caret = field->cursorPosition();
            field->setMaxLength(limit);
            field->setCursorPosition(caret);
        }
    });
    return field;
}

void SetupScreen::buildButtons() {
    struct Place {
        QPushButton*& button;
        const char* caption;
        int left;
    };
    // Seven buttons share the row; a smaller face than the fields' keeps
    // every caption whole.
    Place places[] = {
        {basicButton, "&Basic Setup", 5},       {salesPersonButton, "&SP Setup", 94},
        {docketButton, "&Docket Setup", 183},   {languageButton, "&Language Setup", 272},
        {optionsButton, "&Options", 361},       {printDocketButton, "&Print Docket", 450},
        {saveExitButton, "E&xit && Save", 539},
    };
    for (Place& s : places) {
        s.button = new QPushButton(s.caption, mainPanel);
        s.button->setGeometry(s.left, 389, 87, 25);
        s.button->setFont(ScreenParts::arial(11));
        s.button->setFocusPolicy(Qt::NoFocus);
        s.button->setAutoDefault(false);
    }
    bindAccelerator(basicButton, [this] { showPanel(basicPanel, taxField); });
    bindAccelerator(salesPersonButton,
                    [this] { showPanel(salesPersonPanel, salesPersonCodeFields[0]); });
    bindAccelerator(docketButton, [this] { showPanel(docketPanel, docketCodeFields[1]); });
    bindAccelerator(languageButton, [this] { showPanel(languagePanel, docketWordFields[0]); });
    bindAccelerator(optionsButton, [this] { showPanel(optionsPanel, optionFields.front()); });
    bindAccelerator(printDocketButton, [this] { butprndocketClick(); });
    bindAccelerator(saveExitButton, [this] { butsavExClick(); });
}

void SetupScreen::buildSalesPersonPanel() {
    salesPersonPanel = makePanel(187, 43, 253, 238, "Sales Person Setup");
    for (size_t i = 0; i < 5; ++i) {
        const int top = 40 + static_cast<int>(i) * 38;
        const std::string n = std::to_string(i + 1);
        auto* label = new QLabel(QString::fromStdString("SP" + n), salesPersonPanel);
        label->setGeometry(20, top + 3, 40, 20);
        salesPersonCodeFields[i] =
            makeField(salesPersonPanel, ("salesPersonCode" + n).c_str(), 70, top, 30, 1, 9);
        salesPersonCodeFields[i]->setUpperCase(true);
        // Codes are letters: the takings tell articles from services by their case.
        salesPersonCodeFields[i]->onKeyPress = [](char& key) {
            if (!isLetterKey(key)) key = 0;
        };
        salesPersonNameFields[i] =
            makeField(salesPersonPanel, ("salesPersonName" + n).c_str(), 110, top, 120, 9, 10);
        // Two fields share the row's label.
        salesPersonCodeFields[i]->setAccessibleName(QString::fromStdString("SP" + n + " code"));
        salesPersonNameFields[i]->setAccessibleName(QString::fromStdString("SP" + n + " name"));
    }
    for (size_t i = 0; i < 5; ++i) {
        setTabOrder(salesPersonCodeFields[i], salesPersonNameFields[i]);
        if (i < 4) setTabOrder(salesPersonNameFields[i], salesPersonCodeFields[i + 1]);
    }
}

void SetupScreen::buildBasicPanel() {
    basicPanel = makePanel(76, 38, 474, 263, "Basic Setup");
    struct Place {
        EntryField*& field;
        const char* name;
        const char* label;
        int maxLength;
        int helpLine;
    };
    Place places[] = {
        {taxField, "taxField", "Tax Rate %", 5, 2},
        {lowDiscountField, "lowDiscountField", "Low Discount %", 5, 2},
        {mediumDiscountField, "mediumDiscountField", "Med. Discount %", 5, 2},
        {highDiscountField, "highDiscountField", "High Discount %", 5, 2},
        {drawerPortField, "drawerPortField", "Cash drawer port", 0, 3},
        {displayPortField, "displayPortField", "Cust. display port ", 0, 21},
        {displayWidthField, "displayWidthField", "Cust. display width", 2, 22},
        {denominationField, "denominationField", "Denomination", 2, 4},
        {roundingField, "roundingField", "Rounding", 1, 5},
        {printWidthField, "printWidthField", "Print width", 2, 6},
        {pushOutField, "pushOutField", "Docket push out", 0, 7},
        {lowStockField, "lowStockField", "Low Stock warning", 2, 8},
    };
    for (int i = 0; i < 12; ++i) {
        const int column = i / 6;
        const int top = 40 + (i % 6) * 36;
        const int left = 12 + column * 236;
        auto* label = new QLabel(places[i].label, basicPanel);
        label->setGeometry(left, top + 3, 150, 20);
        if (i == 0) taxLabel = label;
        places[i].field = makeField(basicPanel, places[i].name, left + 155, top, 62,
                                    places[i].maxLength, places[i].helpLine);
        if (i > 0) setTabOrder(places[i - 1].field, places[i].field);
    }
    drawerPortField->setUpperCase(true);
    displayPortField->setUpperCase(true);
}

void SetupScreen::buildDocketPanel() {
    docketPanel = makePanel(5, 4, 617, 297, "Docket Setup");
    const std::pair<const char*, int> headers[] = {
        {"Printer code", 150}, {"Text on the Docket", 221}, {"Release code", 532}};
    for (auto [text, left] : headers) {
        auto* header = new QLabel(text, docketPanel);
        header->setGeometry(left, 26, left == 221 ? 304 : 90, 18);
        header->setFont(ScreenParts::arial(12, true));
    }
    QWidget* previous = nullptr;
    auto chain = [&](QWidget* next) {
        if (previous) setTabOrder(previous, next);
        previous = next;
    };
    int top = 46;
    for (size_t i = 0; i < DocketRowsOnScreen.size(); ++i) {
        const DocketRowLabel& r = DocketRowsOnScreen[i];
        const DocketRowHelp& h = DocketRowHelps[i];
        const std::string k = std::to_string(r.row);
        auto* label = new QLabel(r.label, docketPanel);
        label->setGeometry(6, top + 3, 140, 20);
        label->setFont(ScreenParts::arial(13));
        docketCodeFields[r.row] =
            makeField(docketPanel, ("docketCode" + k).c_str(), 150, top, 64, 0, h.codeHelp);
        chain(docketCodeFields[r.row]);
        if (h.textHelp >= 0) {
            docketTextFields[r.row] =
                makeField(docketPanel, ("docketText" + k).c_str(), 221, top, 304, 0, h.textHelp);
            chain(docketTextFields[r.row]);
        } else {
            auto* stand = new QLabel(h.placeholder, docketPanel);
            stand->setGeometry(221, top + 3, 304, 20);
            stand->setFont(ScreenParts::arial(13));
        }
        docketReleaseFields[r.row] =
            makeField(docketPanel, ("docketRelease" + k).c_str(), 532, top, 64, 0, ReleaseHelp);
        chain(docketReleaseFields[r.row]);
        // A row's fields share its label; the column headers tell them apart.
        docketCodeFields[r.row]->setAccessibleName(QString(r.label) + ", printer code");
        if (docketTextFields[r.row])
            docketTextFields[r.row]->setAccessibleName(QString(r.label) + ", text");
        docketReleaseFields[r.row]->setAccessibleName(QString(r.label) + ", release code");
        top += 27;
    }
}

void SetupScreen::buildLanguagePanel() {
    languagePanel = makePanel(6, 17, 614, 280, "Docket Language Setup");
    for (size_t i = 0; i < LanguageFields.size(); ++i) {
        const LanguageField& language = LanguageFields[i];
        const int column = static_cast<int>(i) / 7;
        const int top = 40 + (static_cast<int>(i) % 7) * 33;
        const int left = 20 + column * 300;
        auto* label = new QLabel(language.caption, languagePanel);
        label->setGeometry(left, top + 3, 130, 20);
        // Only the first field has a help line of its own; the others leave it.
        docketWordFields[i] = makeField(languagePanel, language.name, left + 135, top, 140,
                                        language.maxLength, i == 0 ? 11 : -1);
        if (i > 0) setTabOrder(docketWordFields[i - 1], docketWordFields[i]);
    }
}

void SetupScreen::buildOptionsPanel() {
    optionsPanel = makePanel(76, 38, 474, 263, "Options");
    const std::span<const OptionKey> keys = OptionKeys();
    const size_t pages = (keys.size() + OptionsPerPage - 1) / OptionsPerPage;
    for (size_t i = 0; i < keys.size(); ++i) {
        const OptionKey& key = keys[i];
        if (i % OptionsPerPage == 0) {
            auto* page = new QWidget(optionsPanel);
            page->setGeometry(0, 30, 474, 233);
            if (pages > 1) {
                auto* number = new QLabel(
                    QString("Page %1 of %2").arg(i / OptionsPerPage + 1).arg(pages), page);
                number->setGeometry(12, 210, 450, 18);
                number->setFont(ScreenParts::arial(12));
            }
            page->setVisible(m_optionPages.empty());
            m_optionPages.push_back(page);
        }
        QWidget* page = m_optionPages.back();
        const int top = 10 + static_cast<int>(i % OptionsPerPage) * 33;
        auto* label = new QLabel(
            QString::fromLatin1(key.name.data(), static_cast<int>(key.name.size())), page);
        label->setGeometry(12, top + 3, 150, 20);
        EntryField* field = makeField(page, ("option:" + std::string(key.name)).c_str(), 165, top,
                                      297, optionFieldLength(key), -1);
        // A field shows its page and its meaning, and its content is selected
        // however it was entered, so typing replaces it.
        field->onEnter = [this, field, page, &key] {
            for (QWidget* p : m_optionPages)
                p->setVisible(p == page);
            helpBox->setPlainText(fromCp1252(std::string(key.meaning)));
            selectWhole(field);
        };
        // The PIN is typed unseen; the field never shows what is kept.
        if (isPin(key)) field->setEchoMode(QLineEdit::Password);
        if (!optionFields.empty()) setTabOrder(optionFields.back(), field);
        optionFields.push_back(field);
    }
}

void SetupScreen::showPanel(QFrame* panel, EntryField* first) {
    for (QFrame* p : {salesPersonPanel, basicPanel, docketPanel, languagePanel, optionsPanel})
        if (p) p->setVisible(p == panel);
    moveTo(first);
    // A field the cursor is already in is not entered again, and what the
    // operator types next must still replace its content.
    selectWhole(first);
}

void SetupScreen::showHelp(int index) {
    helpBox->setPlainText(fromCp1252(m_help.line(static_cast<size_t>(index))));
}

std::string SetupScreen::configurationPath() {
    return m_state.files.compose("Configur.dat");
}

void SetupScreen::FormActivate() {
    SetupFiles::EraseDocketDat(m_state.files.DataDir());
    m_state.config = DefaultConfiguration();
    ShowNotices(m_services.dialogs, ReadConfiguration(configurationPath(), m_state.config).notices);
    m_options = ReadOptions(m_state.files.DataDir());
    fillFields();
    for (QFrame* p : {salesPersonPanel, basicPanel, docketPanel, languagePanel, optionsPanel})
        p->hide();
    m_help.load(m_state.files.compose("hlpf.2"));
    showHelp(1);
}

void SetupScreen::fillFields() {
    const SetupFields f =
        FieldsFromConfiguration(m_state.config, m_services.regional.formats().decimalSeparator);
    for (size_t i = 0; i < 5; ++i) {
        showWhole(salesPersonCodeFields[i], f.salesPersonCode[i]);
        showWhole(salesPersonNameFields[i], f.salesPersonName[i]);
    }
    for (size_t row = 1; row <= 9; ++row) {
        showWhole(docketCodeFields[row], f.docketCode[row]);
        if (docketTextFields[row]) showWhole(docketTextFields[row], f.docketText[row]);
        showWhole(docketReleaseFields[row], f.docketRelease[row]);
    }
    for (size_t i = 0; i < docketWordFields.size(); ++i)
        showWhole(docketWordFields[i], f.language[i]);
    const std::pair<EntryField*, const std::string*> basic[] = {
        {taxField, &f.taxRate},
        {lowDiscountField, &f.discountLow},
        {mediumDiscountField, &f.discountMed},
        {highDiscountField, &f.discountHigh},
        {drawerPortField, &f.drawerPort},
        {displayPortField, &f.displayPort},
        {displayWidthField, &f.displayWidth},
        {denominationField, &f.denomination},
        {roundingField, &f.rounding},
        {printWidthField, &f.printWidth},
        {pushOutField, &f.pushOut},
        {lowStockField, &f.lowStock},
    };
    for (auto [field, text] : basic)
        showWhole(field, *text);
    const std::span<const OptionKey> keys = OptionKeys();
    for (size_t i = 0; i < keys.size(); ++i)
        if (!isPin(keys[i])) showWhole(optionFields[i], m_options.options.value(keys[i].name));
    showPinState();
    showTaxBasis();
}

void SetupScreen::showPinState() {
    const std::span<const OptionKey> keys = OptionKeys();
    for (size_t i = 0; i < keys.size(); ++i) {
        if (!isPin(keys[i])) continue;
        optionFields[i]->clear();
        optionFields[i]->setPlaceholderText(m_options.options.value(keys[i].name).empty()
                                                ? "no PIN: type 4 to 12 digits to set one"
                                                : "a PIN is set: type a new one, or none");
    }
}

std::optional<std::string> SetupScreen::takeOverPin(EntryField* field, const std::string& current) {
    const std::string typed = textOf(field);
    if (typed.empty()) return current;
    if (typed == NoPin) return std::string();
    if (!IsValidOwnerPin(typed)) {
        refuseField(field, "The owner PIN takes 4 to 12 digits, or none to remove it.");
        return std::nullopt;
    }
    // A PIN mistyped unseen would lock the owner out: it is typed twice.
    if (m_services.dialogs.askSecret("Type the new owner PIN again:") != typed) {
        refuseField(field, "The two PINs differ; type the new PIN again.");
        return std::nullopt;
    }
    return HashOwnerPin(typed);
}

// The owner must see at the rate whether the price list's prices are taken
// with the tax in them or have it added.
void SetupScreen::showTaxBasis() {
    const bool included = m_options.options.value("prices-include-tax") == "yes";
    taxLabel->setText(included ? "Tax % (in prices)" : "Tax % (added)");
}

SetupFields SetupScreen::readFields() const {
    SetupFields f;
    for (size_t i = 0; i < 5; ++i) {
        f.salesPersonCode[i] = textOf(salesPersonCodeFields[i]);
        f.salesPersonName[i] = textOf(salesPersonNameFields[i]);
    }
    for (size_t row = 1; row <= 9; ++row) {
        f.docketCode[row] = textOf(docketCodeFields[row]);
        f.docketText[row] = textOf(docketTextFields[row]);
        f.docketRelease[row] = textOf(docketReleaseFields[row]);
    }
    for (size_t i = 0; i < docketWordFields.size(); ++i)
        f.language[i] = textOf(docketWordFields[i]);
    f.taxRate = textOf(taxField);
    f.discountLow = textOf(lowDiscountField);
    f.discountMed = textOf(mediumDiscountField);
    f.discountHigh = textOf(highDiscountField);
    f.drawerPort = textOf(drawerPortField);
    f.displayPort = textOf(displayPortField);
    f.displayWidth = textOf(displayWidthField);
    f.denomination = textOf(denominationField);
    f.rounding = textOf(roundingField);
    f.printWidth = textOf(printWidthField);
    f.pushOut = textOf(pushOutField);
    f.lowStock = textOf(lowStockField);
    return f;
}

QFrame* SetupScreen::panelOf(const QWidget* field) const {
    for (const QWidget* w = field; w; w = w->parentWidget())
        for (QFrame* p : {salesPersonPanel, basicPanel, docketPanel, languagePanel, optionsPanel})
            if (w == p) return p;
    return nullptr;
}

void SetupScreen::refuseField(EntryField* field, const std::string& message) {
    showPanel(panelOf(field), field);
    m_services.dialogs.message(message);
    // The box took the cursor; it comes back to the field to be corrected.
    field->setFocus();
    selectWhole(field);
}

std::optional<Options> SetupScreen::takeOverOptions() {
    const std::span<const OptionKey> keys = OptionKeys();
    for (size_t i = 0; i < keys.size(); ++i) {
        if (isPin(keys[i])) continue;
        if (std::optional<std::string> fault = OptionValueFault(keys[i], textOf(optionFields[i]))) {
            refuseField(optionFields[i], "This option cannot be saved: " + *fault);
            return std::nullopt;
        }
    }
    Options options = m_options.options;
    for (size_t i = 0; i < keys.size(); ++i) {
        if (!isPin(keys[i])) {
            options.set(keys[i].name, textOf(optionFields[i]));
        } else if (std::optional<std::string> hash =
                       takeOverPin(optionFields[i], options.value(keys[i].name))) {
            options.set(keys[i].name, *hash);
        } else {
            return std::nullopt;
        }
    }
    return options;
}

std::optional<std::string> SetupScreen::askFigureMoves(const Configuration& next) {
    const std::string& dir = m_state.files.DataDir();
    Dialogs& dialogs = m_services.dialogs;
    std::array<bool, 5> move{};
    bool anyMoves = false;
    for (const SetupFiles::CodeChange& c :
         SetupFiles::CodeChangesWithFigures(dir, m_state.config, next)) {
        if (!c.to.empty() && dialogs.confirm(SetupFiles::MoveQuestion(c),
                                             Dialogs::Buttons::YesNo) == Dialogs::Answer::Yes) {
            move[c.person] = anyMoves = true;
            continue;
        }
        dialogs.message(SetupFiles::StayNote(c, next));
    }
    if (!anyMoves) return std::nullopt;
    return SetupFiles::MovedFigures(dir, m_state.config, next, move);
}

bool SetupScreen::takeOverAndSave() {
    // Every field is checked before anything is written: a value that
    // cannot be saved is corrected first, and no file holds half a setup.
    SetupFiles::SettingsChange change{m_state.config, {}, {}};
    FieldsTakenOver taken =
        TakeOverFields(readFields(), change.config, m_services.regional.formats().decimalSeparator);
    if (taken.refused) {
        refuseField(findChild<EntryField*>(roleOf(taken.refused->field)), taken.refused->message);
        return false;
    }
    change.options = takeOverOptions();
    if (!change.options) return false;
    ShowNotices(m_services.dialogs, taken.notices);
    change.salesPersons = askFigureMoves(change.config);

    const std::string& dir = m_state.files.DataDir();
    // A file that could not be read may be the shop's own: it is replaced
    // only when the operator says so.
    const bool keepOptionsFile =
        m_options.unreadable &&
        m_services.dialogs.confirm(
            "The options file " + FileNames::resolve(dir, "Options.dat") +
                " could not be read.\rReplace it with the options shown here?",
            Dialogs::Buttons::YesNoDefaultNo) != Dialogs::Answer::Yes;
    if (keepOptionsFile) change.options.reset();
    const AuditSnapshot audit(dir, {"Configur.dat", "Options.dat", "Printer.dat", "Spersons.dat"});
    SetupFiles::SaveSettings(dir, change);
    audit.record(m_services.clock.now(), "setup save");
    m_state.config = change.config;
    if (change.options) {
        m_options.options = *change.options;
        m_options.unreadable = false;
        m_state.options = m_options.options;
        showPinState();
        showTaxBasis();
    }
    return true;
}

void SetupScreen::butsavExClick() {
    SetupFiles::EraseDocketDat(m_state.files.DataDir());
    // A configuration that was not stored keeps the operator here (the error
    // is shown by the handler's guard), and so does a field refused.
    if (!takeOverAndSave()) return;
    ShowNotices(m_services.dialogs, CheckDrawerPort(m_state, m_services.ports));
    ShowNotices(m_services.dialogs, CheckDisplayPort(m_state, m_services.ports));
    leaveToMain();
}

void SetupScreen::butprndocketClick() {
    Dialogs& dialogs = m_services.dialogs;
    Launcher& launcher = m_services.launcher;
    const PrinterTest check =
        CheckPrinterAsking(dialogs, [&] { return SampleDocket::checkPrinter(m_state, launcher); });
    // Nothing is saved for a sample that cannot be printed.
    if (!check.passed || !takeOverAndSave()) return;
    SampleDocket::Started sample = SampleDocket::start(m_state);
    ShowNotices(dialogs, sample.notices);
    ShowNotices(dialogs, SampleDocket::finishAndPrint(m_state, sample.docket, launcher,
                                                      m_services.printDialog));
}

void SetupScreen::closeEvent(QCloseEvent* event) {
    // Exit & Save is the only way out: leaving without it would drop the
    // operator's changes unseen, so the window's close box presses it.
    event->ignore();
    if (saveExitButton->isEnabled()) guarded([this] { butsavExClick(); });
}
