// The main screen.
#include "app/MainScreen.h"

#include "forms/OwnerPinAsk.h"
#include "forms/PrinterRetry.h"
#include "forms/ShowNotices.h"
#include "till/Till.h"

#include "app/DayClose.h"
#include "app/StartUp.h"
#include "devices/Docket.h"
#include "devices/Printer.h"
#include "forms/ScreenParts.h"
#include "forms/ShowNotices.h"
#include "inventory/InventoryFile.h"
#include "platform/Cp1252.h"
#include "platform/Services.h"
#include "store/DateTimeText.h"
#include "store/FileNames.h"
#include "store/HelpFile.h"
#include "store/Padding.h"
#include "store/ProgramState.h"
#include "takings/TakingsDay.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <QTimer>

namespace {

// An ellipse outline, optionally filled, as the main screen's decoration draws it.
class EllipseShape : public QWidget {
  public:
    EllipseShape(QWidget* parent, const QColor& pen, int penWidth, const QColor& fill)
        : QWidget(parent), m_pen(pen), m_penWidth(penWidth), m_fill(fill) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(m_pen, m_penWidth));
        p.setBrush(m_fill.isValid() ? QBrush(m_fill) : Qt::NoBrush);
        int half = m_penWidth / 2;
        p.drawEllipse(rect().adjusted(half, half, -half - 1, -half - 1));
    }

  private:
    QColor m_pen;
    int m_penWidth;
    QColor m_fill;
};

const QString EditionMessages[] = {
    " The Layby function is available in \r  TALLYBOX and LEDGERPRO !",
    "The Debtor functions are available in \r    TALLYBOX and LEDGERPRO !",
    "The Creditors functions are available in \r               LEDGERPRO only !",
};

} // namespace

MainScreen::MainScreen(ProgramState& state, Services& services, const Till& till,
                       const std::string& dataDir, QWidget* parent)
    : ZorviScreen(state, services, parent), m_till(till) {
    setWindowTitle("Zorvi5.1");
    setClientSize(632, 423);
    buildControls();
    nameRoles({{mainPanel, "mainPanel"},
               {statusLabel, "statusLabel"},
               {outerRing, "outerRing"},
               {innerDisc, "innerDisc"},
               {logoShadowLabel, "logoShadowLabel"},
               {logoLabel, "logoLabel"},
               {exitHintLabel, "exitHintLabel"},
               {dateLabel, "dateLabel"},
               {timeLabel, "timeLabel"},
               {shopNoteLabel, "shopNoteLabel"},
               {saleButton, "saleButton"},
               {docketButton, "docketButton"},
               {expenseButton, "expenseButton"},
               {menuButton, "menuButton"},
               {viewPrintButton, "viewPrintButton"},
               {helpButton, "helpButton"},
               {debtorButton, "debtorButton"},
               {laybyButton, "laybyButton"},
               {creditorButton, "creditorButton"},
               {exitButton, "exitButton"},
               {menuBox, "menuBox"},
               {setupEntry, "setupEntry"},
               {inventoryEntry, "inventoryEntry"},
               {priceListEntry, "priceListEntry"},
               {totalsEntry, "totalsEntry"},
               {cashUpEntry, "cashUpEntry"},
               {graphsEntry, "graphsEntry"},
               {removeEntry, "removeEntry"},
               {infoBox, "infoBox"},
               {clockTimer, "clockTimer"}});
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    installEventFilter(this);

    StartUpOutcome outcome;
    guarded([&] { outcome = RunStartUp(m_state, m_services, dataDir); });
    dateLabel->setText(fromCp1252(outcome.dateText));
    timeLabel->setText(fromCp1252(outcome.clockText));
    viewPrintButton->setText("Vie&w+Print");
    if (outcome.tradingDisabled || m_state.flags.ConfigMissing)
        enableGroup(tradingButtons(), false);
    connect(clockTimer, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });
    clockTimer->start();
}

QPushButton* MainScreen::makeButton(const QString& caption, int left, int top) {
    auto* b = new QPushButton(caption, mainPanel);
    b->setGeometry(left, top, 85, 25);
    b->setFont(ScreenParts::arial(13, true));
    b->setAutoDefault(false);
    return b;
}

void MainScreen::buildControls() {
    buildPanels();
    buildDecoration();
    buildButtons();
    buildMenu();
    buildMemoAndLabels();
    buildTimer();
    setTabOrderAsKnown();
    connectButtons();
}

void MainScreen::buildPanels() {
    mainPanel = new QFrame(this);
    mainPanel->setGeometry(0, 0, 632, 423 - 25);
    mainPanel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    mainPanel->setLineWidth(2);
    mainPanel->setAutoFillBackground(true);
    QPalette grey = mainPanel->palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    mainPanel->setPalette(grey);

    statusLabel =
        new QLabel("Click on a Button, or press the unterlined letter (or Alt+Letter), or use "
                   "the Tab key + Enter to start.",
                   this);
    statusLabel->setGeometry(0, 423 - 25, 632, 25);
    statusLabel->setAlignment(Qt::AlignCenter);
    statusLabel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    statusLabel->setAutoFillBackground(true);
    statusLabel->setPalette(grey);
}

void MainScreen::buildDecoration() {
    outerRing = new EllipseShape(mainPanel, QColor(192, 192, 192), 10, QColor());
    outerRing->setGeometry(104, 28, 429, 253);
    innerDisc = new EllipseShape(mainPanel, QColor(0, 128, 128), 9, QColor(0, 128, 128));
    innerDisc->setGeometry(108, 32, 421, 245);

    // Impact where the shop has it, else a heavy condensed face of the same build.
    QFont impact;
    impact.setFamilies({"Impact", "DejaVu Sans Condensed", "Liberation Sans Narrow"});
    impact.setBold(true);
    impact.setPixelSize(120);
    logoShadowLabel = new QLabel("ZORVI", mainPanel);
    logoLabel = new QLabel("ZORVI", mainPanel);
    for (auto [label, colour, left, top] : {std::tuple{logoShadowLabel, QColor(Qt::black), 171, 68},
                                            std::tuple{logoLabel, QColor(Qt::red), 167, 72}}) {
        label->setFont(impact);
        QPalette p = label->palette();
        p.setColor(QPalette::WindowText, colour);
        label->setPalette(p);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->adjustSize();
        label->move(left, top);
    }
}

void MainScreen::buildButtons() {
    saleButton = makeButton("&Sale", 38, 304);
    docketButton = makeButton("&Docket", 38, 344);
    expenseButton = makeButton("&Expense", 156, 304);
    menuButton = makeButton("&Menu", 156, 344);
    viewPrintButton = makeButton("Vie&w+Print", 274, 304);
    helpButton = makeButton("&Help", 274, 344);
    debtorButton = makeButton("De&btor", 392, 304);
    laybyButton = makeButton("&Layby", 392, 344);
    creditorButton = makeButton("&Creditor", 510, 304);
    exitButton = makeButton("E&xit", 510, 344);
}

void MainScreen::buildMenu() {
    menuBox = new QGroupBox("           Menu           ", mainPanel);
    menuBox->setGeometry(246, 208, 141, 161);
    menuBox->setFocusPolicy(Qt::StrongFocus);
    // The open menu stands over the Help button it shares its place with.
    menuBox->setAutoFillBackground(true);
    // The entries in their order, one row of 20 pixels each. Removing the
    // program is asked for here, never offered every evening.
    const std::pair<QRadioButton * MainScreen::*, const char*> entries[] = {
        {&MainScreen::setupEntry, " &Setup Zorvi"},
        {&MainScreen::inventoryEntry, " Update &Inventory"},
        {&MainScreen::priceListEntry, " Update &Price List"},
        {&MainScreen::totalsEntry, " Day &Totals so far"},
        {&MainScreen::cashUpEntry, " Cash &Up"},
        {&MainScreen::graphsEntry, " &Graphs"},
        {&MainScreen::removeEntry, " &Remove Zorvi"}};
    int top = 224;
    for (const auto& [entry, caption] : entries) {
        this->*entry = new QRadioButton(caption, mainPanel);
        (this->*entry)->setGeometry(252, top, 130, 17);
        top += 20;
    }
    for (QWidget* w : menuGroup())
        w->hide();
}

void MainScreen::buildMemoAndLabels() {
    infoBox = new QPlainTextEdit(mainPanel);
    infoBox->setGeometry(16, 16, 597, 357);
    infoBox->setReadOnly(true);
    infoBox->setFocusPolicy(Qt::ClickFocus);
    infoBox->setAccessibleName("Help and today's totals");
    infoBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    infoBox->viewport()->setCursor(Qt::ForbiddenCursor);
    infoBox->setFont(ScreenParts::lineDraw(12));
    infoBox->hide();

    exitHintLabel =
        new QLabel("Press   Q  or   X   or   ESC   to exit to the main screen.", mainPanel);
    exitHintLabel->setGeometry(2, 398 - 2 - 16, 628, 16);
    exitHintLabel->setAlignment(Qt::AlignCenter);
    exitHintLabel->setFont(ScreenParts::arial(12));
    QPalette hint = exitHintLabel->palette();
    hint.setColor(QPalette::WindowText, QColor(0, 255, 255));
    exitHintLabel->setPalette(hint);
    exitHintLabel->hide();

    shopNoteLabel = new QLabel(mainPanel);
    shopNoteLabel->setGeometry(2, 374, 628, 20);
    shopNoteLabel->setAlignment(Qt::AlignCenter);
    shopNoteLabel->setFont(ScreenParts::arial(13, true));

    dateLabel = new QLabel(mainPanel);
    dateLabel->setGeometry(20, 16, 77, 16);
    timeLabel = new QLabel(mainPanel);
    timeLabel->setGeometry(547, 16, 63, 16);
    timeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // Help and today's totals cover the date and time while they are shown.
    infoBox->raise();
}

void MainScreen::buildTimer() {
    clockTimer = new QTimer(this);
    clockTimer->setInterval(10000);
}

void MainScreen::setTabOrderAsKnown() {
    // Tab order as the operators know it.
    QList<QWidget*> order = {
        saleButton,     docketButton,   expenseButton,  menuButton,  viewPrintButton, helpButton,
        debtorButton,   laybyButton,    creditorButton, exitButton,  menuBox,         setupEntry,
        inventoryEntry, priceListEntry, totalsEntry,    cashUpEntry, graphsEntry,     removeEntry};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void MainScreen::connectButtons() {
    connect(saleButton, &QPushButton::clicked, this,
            [this] { guarded([this] { butsaleClick(); }); });
    connect(expenseButton, &QPushButton::clicked, this,
            [this] { guarded([this] { butexpClick(); }); });
    connect(menuButton, &QPushButton::clicked, this,
            [this] { guarded([this] { butmenuClick(); }); });
    connect(docketButton, &QPushButton::clicked, this,
            [this] { guarded([this] { butdocketClick(); }); });
    connect(helpButton, &QPushButton::clicked, this,
            [this] { guarded([this] { ButhelpClick(); }); });
    connect(viewPrintButton, &QPushButton::clicked, this,
            [this] { guarded([this] { ButintroClick(); }); });
    connect(exitButton, &QPushButton::clicked, this,
            [this] { guarded([this] { butexitClick(); }); });
    QPushButton* editions[] = {laybyButton, debtorButton, creditorButton};
    for (int i = 0; i < 3; ++i) {
        QString text = EditionMessages[i];
        connect(editions[i], &QPushButton::clicked, this, [this, text] {
            closeMenu();
            m_services.dialogs.message(toCp1252(text));
        });
    }
}

void MainScreen::enableGroup(const QList<QWidget*>& group, bool enabled) {
    for (QWidget* w : group)
        w->setEnabled(enabled);
}

QList<QWidget*> MainScreen::tradingButtons() const {
    return {saleButton, docketButton, expenseButton};
}
QList<QWidget*> MainScreen::firstEnableSet() const {
    return {exitButton, laybyButton, docketButton, saleButton, expenseButton};
}
QList<QWidget*> MainScreen::secondEnableSet() const {
    return {creditorButton, debtorButton, helpButton, viewPrintButton, menuButton, laybyButton};
}
QList<QWidget*> MainScreen::menuGroup() const {
    return {menuBox,     priceListEntry, setupEntry,  inventoryEntry,
            totalsEntry, cashUpEntry,    graphsEntry, removeEntry};
}

void MainScreen::closeMenu() {
    // Hiding the focused frame would pass the focus on to an entry, which acts on it.
    if (menuGroup().contains(QApplication::focusWidget())) menuButton->setFocus();
    for (QWidget* w : menuGroup())
        w->hide();
    viewPrintButton->show();
}

void MainScreen::FormActivate() {
    if (m_state.flags.QuitAfterConsolidation) {
        QTimer::singleShot(0, this, [this] { close(); });
        return;
    }
    if (!m_state.flags.ConfigMissing) {
        enableGroup(firstEnableSet(), true);
        enableGroup(secondEnableSet(), true);
    }
    DeriveSwitches(m_state.config);
    m_state.config.PricesIncludeTax = m_state.options.value("prices-include-tax") == "yes";
    shopNoteLabel->setText(fromCp1252(m_state.options.value("shop-note")));
    if (m_state.flags.PriceListError) enableGroup(tradingButtons(), false);
}

void MainScreen::openScreen(QWidget* screen) {
    closeMenu();
    if (screen) handOverTo(screen);
}

void MainScreen::butsaleClick() {
    openScreen(m_screens.sales);
}
void MainScreen::butexpClick() {
    openScreen(m_screens.expense);
}

void MainScreen::butmenuClick() {
    rememberPosition();
    viewPrintButton->hide();
    for (QWidget* w : menuGroup())
        w->show();
    for (QRadioButton* r : {priceListEntry, setupEntry, inventoryEntry, totalsEntry, cashUpEntry,
                            graphsEntry, removeEntry}) {
        r->setAutoExclusive(false);
        r->setChecked(false);
        r->setAutoExclusive(true);
    }
    menuBox->setFocus();
}

// The menu is closed before the PIN is asked: the entry would take the
// cursor back from the box and be entered again.
bool MainScreen::ownerAllows() {
    closeMenu();
    return AskOwnerPin(m_state, m_services);
}

void MainScreen::RbutSetupEnter() {
    if (ownerAllows()) openScreen(m_screens.setup);
}
void MainScreen::RbutPlistEnter() {
    if (ownerAllows()) openScreen(m_screens.priceEditor);
}

void MainScreen::RbutRemoveEnter() {
    if (!ownerAllows() || !m_screens.consolidation) return;
    if (m_screens.offerRemoval) m_screens.offerRemoval();
    rememberPosition();
    hide();
    m_screens.consolidation->show();
}

void MainScreen::RbutInventEnter() {
    closeMenu();
    if (!m_state.config.InventoryOn) {
        m_services.dialogs.message(" Zorvi is running in statistic mode.\r Update the Inventory is "
                                   "blocked !");
        closeMenu();
        return;
    }
    DataFiles& files = m_state.files;
    std::string problem;
    if (std::optional<TextReader> inventory = files.OpenInventoryForRead()) {
        const long count = CountInventoryLines(*inventory);
        if (count == 0) problem = "The file " + files.CurrentFileName + " is empty !";
    } else {
        problem = "The Inventory file " + files.CurrentFileName +
                  " not found !\rPress help and see \"The file Inventory.dat\".";
        closeMenu();
        menuButton->setFocus();
    }
    if (!problem.empty()) {
        m_services.dialogs.message(problem);
        closeMenu();
        return;
    }
    if (ownerAllows()) openScreen(m_screens.inventory);
}

void MainScreen::butdocketClick() {
    closeMenu();
    if (m_state.flags.PrinterDisabled) {
        m_services.dialogs.message("Printer disabled!");
        return;
    }
    Dialogs& dialogs = m_services.dialogs;
    while (!testPrinter()) {
        if (dialogs.confirm("Printer not ready :\r" + m_state.PrinterTestText,
                            Dialogs::Buttons::OkCancel) != Dialogs::Answer::Ok)
            break;
    }
    if (!m_state.flags.DocketAutoPrint) return;
    const std::string& dir = m_state.files.DataDir();
    if (FileNames::exists(FileNames::resolve(dir, "docket.prn")))
        ShowNotices(dialogs, SendDocketToPrinter(dir, m_services.launcher));
    else
        dialogs.message("Docket data file not found.");
    if (dialogs.confirm("Do you want to continue printing Dockets ?", Dialogs::Buttons::YesNo) ==
        Dialogs::Answer::No)
        m_state.flags.DocketAutoPrint = false;
}

// The test program may be missing; the operator can put it in place and retry.
bool MainScreen::testPrinter() {
    return CheckPrinterAsking(m_services.dialogs,
                              [this] { return TestPrinter(m_state, m_services.launcher); })
        .passed;
}

void MainScreen::ButhelpClick() {
    closeMenu();
    exitHintLabel->show();
    shopNoteLabel->hide();
    enableGroup(tradingButtons(), false);
    enableGroup(secondEnableSet(), false);
    std::string path = m_state.files.compose("hlpf.7");
    auto lines = LoadHelpLines(path);
    if (!lines) {
        m_services.dialogs.message(HelpFileMissingText(path));
        // The buttons stay off until Q, X or Esc, so the hint that says so stays.
        infoBox->hide();
        exitButton->setFocus();
        return;
    }
    showInMemo(*lines, Qt::AlignLeft);
    infoBox->moveCursor(QTextCursor::Start);
    infoBox->show();
    infoBox->setFocus();
}

void MainScreen::ButintroClick() {
    closeMenu();
    exitHintLabel->show();
    shopNoteLabel->hide();
    openScreen(m_screens.view);
}

void MainScreen::butexitClick() {
    closeMenu();
    Dialogs& dialogs = m_services.dialogs;
    if (!m_state.flags.QuitAfterConsolidation) showTodaysTotals();
    rememberPosition();
    Dialogs::Position at{172, 301};
    if (m_services.screen.width() > 650)
        at = {m_state.window.WindowLeft + 175, m_state.window.WindowTop + 290};
    Dialogs::Answer answer =
        dialogs.confirm("  To Consolidate todays results press [ Yes ],   \r  to close ZORVI, "
                        "press [ No ] !     ",
                        Dialogs::Buttons::YesNo, at);
    if (answer == Dialogs::Answer::No) {
        DataFiles& files = m_state.files;
        if (std::optional<TextReader> priceWork = files.OpenPriceWorkForRead()) priceWork->erase();
        close();
        return;
    }
    hide();
    if (m_screens.consolidation) m_screens.consolidation->show();
}

std::vector<std::string> MainScreen::takingsTotalsLines(TakingsDay& day) {
    // From the takings as they stand, so that the sales of every run since
    // the last consolidation count, not only this run's.
    const RegionalFormats formats = m_services.regional.formats();
    day = ReadTakingsDay(m_state.files, m_state.config.RoundingOn);
    const std::string today = ShortDateText(m_services.clock.now(), formats);
    const std::string since = !day.firstDate.empty() && day.firstDate != today ? day.firstDate : "";
    return TodaysTotalsLines(day.totals, m_state.config.TaxOn, formats, since, day.skippedLines);
}

void MainScreen::RbutCashUpEnter() {
    openScreen(m_screens.cashUp);
}

void MainScreen::RbutGraphsEnter() {
    openScreen(m_screens.graphs);
}

// The X report: the totals so far, changing nothing but the docket file.
void MainScreen::RbutTotalsEnter() {
    closeMenu();
    TakingsDay day;
    std::vector<std::string> lines = takingsTotalsLines(day);
    lines.insert(lines.begin(),
                 "X REPORT " + DateTimeText(m_services.clock.now(), m_services.regional.formats()));
    lines.push_back(" ");
    auto count = [&lines](const char* label, size_t n) {
        lines.push_back(label + PadLeft(std::to_string(n), 16));
    };
    count("Sales         ", day.sales);
    count("Refunds       ", day.refunds);
    count("Expenses      ", day.expenses);
    showAndPrint(lines);
    // Q, X or Esc goes back, as from a file shown here.
    shopNoteLabel->hide();
    exitHintLabel->show();
    menuButton->setFocus();
}

void MainScreen::showTodaysTotals() {
    TakingsDay day;
    showAndPrint(takingsTotalsLines(day));
}

void MainScreen::showAndPrint(const std::vector<std::string>& lines) {
    showInMemo(lines, Qt::AlignHCenter);
    infoBox->show();
    if (!m_state.flags.DocketAutoPrint) return;
    const std::string& dir = m_state.files.DataDir();
    WriteTotalsDocket(m_state.files.pathOf("Docket.Prn"), lines);
    ShowNotices(m_services.dialogs, SendDocketToPrinter(dir, m_services.launcher));
}

void MainScreen::showInMemo(const std::vector<std::string>& lines, Qt::Alignment alignment) {
    // A plain text memo aligns its lines by the document's option alone.
    QTextOption option = infoBox->document()->defaultTextOption();
    option.setAlignment(alignment);
    infoBox->document()->setDefaultTextOption(option);
    infoBox->clear();
    for (const std::string& line : lines)
        infoBox->appendPlainText(fromCp1252(line));
}

void MainScreen::Timer1Timer() {
    m_clockText =
        UpdateClockText(LongTimeText(m_services.clock.now(), m_services.regional.formats()));
    timeLabel->setText(fromCp1252(m_clockText));
}

void MainScreen::FormKeyDown() {
    infoBox->hide();
    enableGroup(firstEnableSet(), true);
    enableGroup(secondEnableSet(), true);
    closeMenu();
    exitHintLabel->hide();
    shopNoteLabel->show();
    if (m_state.flags.ConfigMissing) enableGroup(tradingButtons(), false);
    menuButton->setFocus();
}

bool MainScreen::pressUnderlinedLetter(int key) {
    QWidget* focus = QApplication::focusWidget();
    if (!qobject_cast<QAbstractButton*>(focus)) return false;
    QString letter = QString(QChar(key)).toLower();
    QList<QAbstractButton*> candidates;
    for (QAbstractButton* b : mainPanel->findChildren<QAbstractButton*>()) {
        QString text = b->text();
        const qsizetype amp = text.indexOf('&');
        if (amp >= 0 && amp + 1 < text.size() && text[amp + 1].toLower() == letter[0] &&
            b->isVisible() && b->isEnabled())
            candidates.append(b);
    }
    if (candidates.isEmpty()) return false;
    // While the menu is open its entries come first.
    QAbstractButton* chosen = candidates.first();
    for (QAbstractButton* b : candidates)
        if (qobject_cast<QRadioButton*>(b)) chosen = b;
    if (qobject_cast<QRadioButton*>(chosen))
        chosen->setFocus();
    else
        chosen->click();
    return true;
}

QRadioButton* MainScreen::menuEntryFor(int key) const {
    if (!menuBox->isVisible()) return nullptr;
    switch (key) {
    case Qt::Key_S:
        return setupEntry;
    case Qt::Key_I:
        return inventoryEntry;
    case Qt::Key_P:
        return priceListEntry;
    case Qt::Key_R:
        return removeEntry;
    case Qt::Key_T:
        return totalsEntry;
    case Qt::Key_U:
        return cashUpEntry;
    case Qt::Key_G:
        return graphsEntry;
    default:
        return nullptr;
    }
}

bool MainScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == setupEntry) guarded([this] { RbutSetupEnter(); });
        if (watched == priceListEntry) guarded([this] { RbutPlistEnter(); });
        if (watched == inventoryEntry) guarded([this] { RbutInventEnter(); });
        if (watched == removeEntry) guarded([this] { RbutRemoveEnter(); });
        if (watched == totalsEntry) guarded([this] { RbutTotalsEnter(); });
        if (watched == cashUpEntry) guarded([this] { RbutCashUpEnter(); });
        if (watched == graphsEntry) guarded([this] { RbutGraphsEnter(); });
        return false;
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // While the menu is open its letters win over the buttons' (S is Sale's too).
        auto* key = static_cast<QKeyEvent*>(event);
        if (menuEntryFor(key->key()) && !(key->modifiers() & Qt::ControlModifier)) {
            event->accept();
            return true;
        }
        return false;
    }
    if (event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    int k = key->key();
    if (QRadioButton* entry = menuEntryFor(k); entry && !(key->modifiers() & Qt::ControlModifier)) {
        entry->setFocus();
        return true;
    }
    if (k == Qt::Key_Q || k == Qt::Key_X || k == Qt::Key_Escape) {
        guarded([this] { FormKeyDown(); });
        // Alt+X still reaches the Exit button's accelerator.
        return !(key->modifiers() & Qt::AltModifier);
    }
    if (k >= Qt::Key_A && k <= Qt::Key_Z &&
        !(key->modifiers() & (Qt::AltModifier | Qt::ControlModifier)))
        return pressUnderlinedLetter(k);
    return false;
}

void MainScreen::closeEvent(QCloseEvent* event) {
    // Closing the main screen ends the program: every other screen is hidden.
    event->accept();
}
