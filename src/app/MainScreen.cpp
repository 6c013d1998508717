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
    for (QWidget* child : findChildren<QWidget*>())
        child->installEventFilter(this);
    installEventFilter(this);

    StartUpOutcome outcome;
    guarded([&] { outcome = RunStartUp(m_state, m_services, dataDir); });
    Label5->setText(fromCp1252(outcome.dateText));
    Label6->setText(fromCp1252(outcome.clockText));
    Butintro->setText("Vie&w+Print");
    if (outcome.tradingDisabled || m_state.flags.ConfigMissing)
        enableGroup(tradingButtons(), false);
    connect(Timer1, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });
    Timer1->start();
}

QPushButton* MainScreen::makeButton(const QString& caption, int left, int top) {
    auto* b = new QPushButton(caption, Panel1);
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
    Panel1 = new QFrame(this);
    Panel1->setGeometry(0, 0, 632, 423 - 25);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Panel1->setAutoFillBackground(true);
    QPalette grey = Panel1->palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    Panel1->setPalette(grey);

    Panel2 = new QLabel("Click on a Button, or press the unterlined letter (or Alt+Letter), or use "
                        "the Tab key + Enter to start.",
                        this);
    Panel2->setGeometry(0, 423 - 25, 632, 25);
    Panel2->setAlignment(Qt::AlignCenter);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setAutoFillBackground(true);
    Panel2->setPalette(grey);
}

void MainScreen::buildDecoration() {
    Shape1 = new EllipseShape(Panel1, QColor(192, 192, 192), 10, QColor());
    Shape1->setGeometry(104, 28, 429, 253);
    Shape2 = new EllipseShape(Panel1, QColor(0, 128, 128), 9, QColor(0, 128, 128));
    Shape2->setGeometry(108, 32, 421, 245);

    // Impact where the shop has it, else a heavy condensed face of the same build.
    QFont impact;
    impact.setFamilies({"Impact", "DejaVu Sans Condensed", "Liberation Sans Narrow"});
    impact.setBold(true);
    impact.setPixelSize(120);
    Label1 = new QLabel("ZORVI", Panel1);
    Label2 = new QLabel("ZORVI", Panel1);
    for (auto [label, colour, left, top] : {std::tuple{Label1, QColor(Qt::black), 171, 68},
                                            std::tuple{Label2, QColor(Qt::red), 167, 72}}) {
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
    butsale = makeButton("&Sale", 38, 304);
    butdocket = makeButton("&Docket", 38, 344);
    butexp = makeButton("&Expense", 156, 304);
    butmenu = makeButton("&Menu", 156, 344);
    Butintro = makeButton("Vie&w+Print", 274, 304);
    Buthelp = makeButton("&Help", 274, 344);
    butdeb = makeButton("De&btor", 392, 304);
    butlay = makeButton("&Layby", 392, 344);
    butcred = makeButton("&Creditor", 510, 304);
    butexit = makeButton("E&xit", 510, 344);
}

void MainScreen::buildMenu() {
    RadioGroup1 = new QGroupBox("           Menu           ", Panel1);
    RadioGroup1->setGeometry(246, 208, 141, 161);
    RadioGroup1->setFocusPolicy(Qt::StrongFocus);
    // The open menu stands over the Help button it shares its place with.
    RadioGroup1->setAutoFillBackground(true);
    // The entries in their order, one row of 20 pixels each. Removing the
    // program is asked for here, never offered every evening.
    const std::pair<QRadioButton * MainScreen::*, const char*> entries[] = {
        {&MainScreen::RbutSetup, " &Setup Zorvi"},
        {&MainScreen::RbutInvent, " Update &Inventory"},
        {&MainScreen::RbutPlist, " Update &Price List"},
        {&MainScreen::RbutTotals, " Day &Totals so far"},
        {&MainScreen::RbutCashUp, " Cash &Up"},
        {&MainScreen::RbutGraphs, " &Graphs"},
        {&MainScreen::RbutRemove, " &Remove Zorvi"}};
    int top = 224;
    for (const auto& [entry, caption] : entries) {
        this->*entry = new QRadioButton(caption, Panel1);
        (this->*entry)->setGeometry(252, top, 130, 17);
        top += 20;
    }
    for (QWidget* w : menuGroup())
        w->hide();
}

void MainScreen::buildMemoAndLabels() {
    Memo1 = new QPlainTextEdit(Panel1);
    Memo1->setGeometry(16, 16, 597, 357);
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::ClickFocus);
    Memo1->setAccessibleName("Help and today's totals");
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->viewport()->setCursor(Qt::ForbiddenCursor);
    Memo1->setFont(ScreenParts::lineDraw(12));
    Memo1->hide();

    Label3 = new QLabel("Press   Q  or   X   or   ESC   to exit to the main screen.", Panel1);
    Label3->setGeometry(2, 398 - 2 - 16, 628, 16);
    Label3->setAlignment(Qt::AlignCenter);
    Label3->setFont(ScreenParts::arial(12));
    QPalette hint = Label3->palette();
    hint.setColor(QPalette::WindowText, QColor(0, 255, 255));
    Label3->setPalette(hint);
    Label3->hide();

    shopNote = new QLabel(Panel1);
    shopNote->setGeometry(2, 374, 628, 20);
    shopNote->setAlignment(Qt::AlignCenter);
    shopNote->setFont(ScreenParts::arial(13, true));

    Label5 = new QLabel(Panel1);
    Label5->setGeometry(20, 16, 77, 16);
    Label6 = new QLabel(Panel1);
    Label6->setGeometry(547, 16, 63, 16);
    Label6->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    // Help and today's totals cover the date and time while they are shown.
    Memo1->raise();
}

void MainScreen::buildTimer() {
    Timer1 = new QTimer(this);
    Timer1->setInterval(10000);
}

void MainScreen::setTabOrderAsKnown() {
    // Tab order as the operators know it.
    QList<QWidget*> order = {butsale,     butdocket,  butexp,     butmenu,   Butintro,
                             Buthelp,     butdeb,     butlay,     butcred,   butexit,
                             RadioGroup1, RbutSetup,  RbutInvent, RbutPlist, RbutTotals,
                             RbutCashUp,  RbutGraphs, RbutRemove};
    for (int i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void MainScreen::connectButtons() {
    connect(butsale, &QPushButton::clicked, this, [this] { guarded([this] { butsaleClick(); }); });
    connect(butexp, &QPushButton::clicked, this, [this] { guarded([this] { butexpClick(); }); });
    connect(butmenu, &QPushButton::clicked, this, [this] { guarded([this] { butmenuClick(); }); });
    connect(butdocket, &QPushButton::clicked, this,
            [this] { guarded([this] { butdocketClick(); }); });
    connect(Buthelp, &QPushButton::clicked, this, [this] { guarded([this] { ButhelpClick(); }); });
    connect(Butintro, &QPushButton::clicked, this,
            [this] { guarded([this] { ButintroClick(); }); });
    connect(butexit, &QPushButton::clicked, this, [this] { guarded([this] { butexitClick(); }); });
    QPushButton* editions[] = {butlay, butdeb, butcred};
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
    return {butsale, butdocket, butexp};
}
QList<QWidget*> MainScreen::firstEnableSet() const {
    return {butexit, butlay, butdocket, butsale, butexp};
}
QList<QWidget*> MainScreen::secondEnableSet() const {
    return {butcred, butdeb, Buthelp, Butintro, butmenu, butlay};
}
QList<QWidget*> MainScreen::menuGroup() const {
    return {RadioGroup1, RbutPlist,  RbutSetup,  RbutInvent,
            RbutTotals,  RbutCashUp, RbutGraphs, RbutRemove};
}

void MainScreen::closeMenu() {
    // Hiding the focused frame would pass the focus on to an entry, which acts on it.
    if (menuGroup().contains(QApplication::focusWidget())) butmenu->setFocus();
    for (QWidget* w : menuGroup())
        w->hide();
    Butintro->show();
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
    shopNote->setText(fromCp1252(m_state.options.value("shop-note")));
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
    Butintro->hide();
    for (QWidget* w : menuGroup())
        w->show();
    for (QRadioButton* r :
         {RbutPlist, RbutSetup, RbutInvent, RbutTotals, RbutCashUp, RbutGraphs, RbutRemove}) {
        r->setAutoExclusive(false);
        r->setChecked(false);
        r->setAutoExclusive(true);
    }
    RadioGroup1->setFocus();
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
        butmenu->setFocus();
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
    Label3->show();
    shopNote->hide();
    enableGroup(tradingButtons(), false);
    enableGroup(secondEnableSet(), false);
    std::string path = m_state.files.compose("hlpf.7");
    auto lines = LoadHelpLines(path);
    if (!lines) {
        m_services.dialogs.message(HelpFileMissingText(path));
        // The buttons stay off until Q, X or Esc, so the hint that says so stays.
        Memo1->hide();
        butexit->setFocus();
        return;
    }
    showInMemo(*lines, Qt::AlignLeft);
    Memo1->moveCursor(QTextCursor::Start);
    Memo1->show();
    Memo1->setFocus();
}

void MainScreen::ButintroClick() {
    closeMenu();
    Label3->show();
    shopNote->hide();
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
    shopNote->hide();
    Label3->show();
    butmenu->setFocus();
}

void MainScreen::showTodaysTotals() {
    TakingsDay day;
    showAndPrint(takingsTotalsLines(day));
}

void MainScreen::showAndPrint(const std::vector<std::string>& lines) {
    showInMemo(lines, Qt::AlignHCenter);
    Memo1->show();
    if (!m_state.flags.DocketAutoPrint) return;
    const std::string& dir = m_state.files.DataDir();
    WriteTotalsDocket(m_state.files.pathOf("Docket.Prn"), lines);
    ShowNotices(m_services.dialogs, SendDocketToPrinter(dir, m_services.launcher));
}

void MainScreen::showInMemo(const std::vector<std::string>& lines, Qt::Alignment alignment) {
    // A plain text memo aligns its lines by the document's option alone.
    QTextOption option = Memo1->document()->defaultTextOption();
    option.setAlignment(alignment);
    Memo1->document()->setDefaultTextOption(option);
    Memo1->clear();
    for (const std::string& line : lines)
        Memo1->appendPlainText(fromCp1252(line));
}

void MainScreen::Timer1Timer() {
    m_clockText =
        UpdateClockText(LongTimeText(m_services.clock.now(), m_services.regional.formats()));
    Label6->setText(fromCp1252(m_clockText));
}

void MainScreen::FormKeyDown() {
    Memo1->hide();
    enableGroup(firstEnableSet(), true);
    enableGroup(secondEnableSet(), true);
    closeMenu();
    Label3->hide();
    shopNote->show();
    if (m_state.flags.ConfigMissing) enableGroup(tradingButtons(), false);
    butmenu->setFocus();
}

bool MainScreen::pressUnderlinedLetter(int key) {
    QWidget* focus = QApplication::focusWidget();
    if (!qobject_cast<QAbstractButton*>(focus)) return false;
    QString letter = QString(QChar(key)).toLower();
    QList<QAbstractButton*> candidates;
    for (QAbstractButton* b : Panel1->findChildren<QAbstractButton*>()) {
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
    if (!RadioGroup1->isVisible()) return nullptr;
    switch (key) {
    case Qt::Key_S:
        return RbutSetup;
    case Qt::Key_I:
        return RbutInvent;
    case Qt::Key_P:
        return RbutPlist;
    case Qt::Key_R:
        return RbutRemove;
    case Qt::Key_T:
        return RbutTotals;
    case Qt::Key_U:
        return RbutCashUp;
    case Qt::Key_G:
        return RbutGraphs;
    default:
        return nullptr;
    }
}

bool MainScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusIn) {
        if (watched == RbutSetup) guarded([this] { RbutSetupEnter(); });
        if (watched == RbutPlist) guarded([this] { RbutPlistEnter(); });
        if (watched == RbutInvent) guarded([this] { RbutInventEnter(); });
        if (watched == RbutRemove) guarded([this] { RbutRemoveEnter(); });
        if (watched == RbutTotals) guarded([this] { RbutTotalsEnter(); });
        if (watched == RbutCashUp) guarded([this] { RbutCashUpEnter(); });
        if (watched == RbutGraphs) guarded([this] { RbutGraphsEnter(); });
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
