// The consolidation screen.
#include "consolidation/ConsolidationScreen.h"
#include "cashup/CashupFile.h"
#include "store/AmountText.h"
#include "store/AuditTrail.h"
#include "store/IoError.h"
#include "store/Options.h"
#include "store/Padding.h"
#include "store/TextLines.h"
#include "takings/SealCheck.h"
#include "takings/TakingsDay.h"

#include "forms/OwnerPinAsk.h"
#include "forms/PrinterRetry.h"
#include "forms/ShowNotices.h"

#include "backup/ShopBackup.h"
#include "consolidation/ConsolidationError.h"
#include "consolidation/DayCommit.h"
#include "consolidation/Removal.h"
#include "consolidation/Reports.h"
#include "consolidation/Stocktake.h"
#include "devices/Printer.h"
#include "forms/ScreenParts.h"
#include "forms/ShowNotices.h"
#include "platform/Cp1252.h"
#include "platform/QtPaths.h"
#include "platform/Services.h"
#include "pricelist/PriceList.h"
#include "store/DateTimeText.h"
#include "store/FileNames.h"
#include "store/ProgramState.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>

namespace {

const char* const Hint = "Click the Next Button or press the N or Alt-N key.";

std::string notFoundText(const std::string& path) {
    return " The file " + path +
           " not found! \r Zorvi can not finalize without this file and will close now";
}

} // namespace

ConsolidationScreen::ConsolidationScreen(ProgramState& state, Services& services, QWidget* parent)
    : ZorviScreen(state, services, parent) {
    setWindowTitle("ZORVI  CONSOLIDATE");
    setClientSize(630, 423);
    buildControls();
    nameRoles({{dateLabel, "dateLabel"},
               {timeLabel, "timeLabel"},
               {hintLabel, "hintLabel"},
               {backupLabel, "backupLabel"},
               {reportBox, "reportBox"},
               {nextButton, "nextButton"},
               {exitButton, "exitButton"},
               {stockButton, "stockButton"},
               {removeButton, "removeButton"},
               {fileList, "fileList"},
               {clockTimer, "clockTimer"}});
    bindAccelerator(nextButton, [this] { ButNextClick(); });
    bindAccelerator(exitButton, [this] { ButExitClick(); });
    bindAccelerator(stockButton, [this] { butstockClick(); });
    connect(removeButton, &QPushButton::clicked, this,
            [this] { guarded([this] { ButDeleteClick(); }); });
    connect(clockTimer, &QTimer::timeout, this, [this] { guarded([this] { Timer1Timer(); }); });
    clockTimer->start();
}

void ConsolidationScreen::buildControls() {
    // Two ellipses behind the title, each title drawn twice for its shadow.
    auto* outer = new QLabel(this);
    outer->setGeometry(95, 8, 440, 120);
    outer->setStyleSheet("background: white; border: 2px solid black; border-radius: 60px;");
    auto* inner = new QLabel(this);
    inner->setGeometry(125, 20, 380, 96);
    inner->setStyleSheet("background: teal; border-radius: 48px;");
    auto title = [this](const char* text, const QFont& font, int left, int top,
                        const char* colour) {
        auto* label = new QLabel(text, this);
        label->setFont(font);
        label->setStyleSheet(QString("color: %1; background: transparent;").arg(colour));
        label->setGeometry(left, top, 400, font.pixelSize() + 12);
        return label;
    };
    QFont zorvi = ScreenParts::arial(48, true);
    QFont consolidate("Times New Roman");
    consolidate.setPixelSize(67);
    consolidate.setBold(true);
    title("ZORVI", zorvi, 240, 10, "black");
    title("ZORVI", zorvi, 242, 12, "red");
    title("Consolidate", consolidate, 150, 52, "black");
    title("Consolidate", consolidate, 152, 54, "red");

    dateLabel = new QLabel(this);
    dateLabel->setGeometry(8, 4, 120, 18);
    timeLabel = new QLabel(this);
    timeLabel->setGeometry(502, 4, 120, 18);
    timeLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    reportBox = new QPlainTextEdit(this);
    reportBox->setGeometry(60, 134, 510, 214);
    reportBox->setReadOnly(true);
    reportBox->setLineWrapMode(QPlainTextEdit::NoWrap);
    reportBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    reportBox->setFont(ScreenParts::lineDraw(13));
    reportBox->setFocusPolicy(Qt::NoFocus);
    reportBox->hide();

    hintLabel = new QLabel(Hint, this);
    hintLabel->setGeometry(60, 352, 510, 18);
    hintLabel->setAlignment(Qt::AlignCenter);

    // Over the foot of the memo, below the FINISH notice.
    backupLabel = new QLabel(this);
    backupLabel->setGeometry(64, 300, 486, 44);
    backupLabel->setAlignment(Qt::AlignCenter);
    backupLabel->setWordWrap(true);
    backupLabel->hide();

    nextButton = new QPushButton("&Next", this);
    nextButton->setGeometry(120, 378, 110, 30);
    exitButton = new QPushButton("E&xit ", this);
    exitButton->setGeometry(400, 378, 110, 30);
    stockButton = new QPushButton("&Setup inventory", this);
    stockButton->setGeometry(245, 378, 140, 30);
    stockButton->setEnabled(false);
    removeButton = new QPushButton("Remove Zorvi", this);
    // Above the hint, clear of it and of the three buttons below.
    removeButton->setGeometry(245, 300, 140, 30);
    removeButton->setStyleSheet("color: red;");
    removeButton->setEnabled(false);
    removeButton->hide();
    fileList = new QListWidget(this);
    fileList->hide();
    setTabOrder(nextButton, exitButton);
    setTabOrder(exitButton, stockButton);

    clockTimer = new QTimer(this);
    clockTimer->setInterval(10000);
}

void ConsolidationScreen::FormActivate() {
    centre();
    ConsolidationStep = 0;
    Config().InventoryOn = Config().LowStockPercent >= 1;
    nextButton->setEnabled(true);
    exitButton->setEnabled(true);
    stockButton->setEnabled(false);
    hintLabel->setText(Hint);
    hintLabel->show();
    // Removing is offered only when asked for from the menu, and before the
    // day is touched, not half way through it.
    removeButton->setEnabled(m_removalAsked);
    removeButton->setVisible(m_removalAsked);
    m_removalAsked = false;
    hintLabel->setEnabled(true);
    reportBox->clear();
    reportBox->hide();
    backupLabel->hide();
    // The day's date is taken once, so a run that crosses midnight files
    // everything under the day it began on.
    const DateTime now = m_services.clock.now();
    const RegionalFormats formats = m_services.regional.formats();
    m_dates = MakeRunDates(now, formats);
    dateLabel->setText(fromCp1252(m_dates.DateText));
    m_clockText = UpdateClockText(LongTimeText(now, formats));
    timeLabel->setText(fromCp1252(m_clockText));
    PeriodEnd = m_dates.lastDayOfMonth;
    nextButton->setFocus();
    if (Config().InventoryOn &&
        !FileNames::exists(FileNames::resolve(m_state.files.DataDir(), "Inventory.dat"))) {
        stockButton->setEnabled(true);
        nextButton->setEnabled(false);
        hintLabel->hide();
        m_services.dialogs.message(
            "Zorvi is in \"Inventory mode\" and the file \"Inventory.dat\" was not found.\r"
            "Zorvi is now switched to \"Stocktake mode\".\rSee the manual \"Inventory setup\".");
        exitButton->setFocus();
    }
}

Configuration& ConsolidationScreen::Config() {
    return m_state.config;
}

void ConsolidationScreen::ButNextClick() {
    if (!nextButton->isEnabled()) return;
    reportBox->clear();
    removeButton->hide();
    ++ConsolidationStep;
    switch (ConsolidationStep) {
    case 1:
        stepQuestions();
        break;
    case 3:
        stepSalesPersonTable();
        break;
    case 4:
        stepConsolidate();
        break;
    default:
        break;
    }
}

void ConsolidationScreen::stepQuestions() {
    hintLabel->setEnabled(false);
    exitButton->setEnabled(false);
    // One copy of the program at a time may consolidate this data directory.
    if (!m_lock.tryAcquire(m_state.files.pathOf(FileNames::ConsolidationLock))) {
        m_services.dialogs.message("Another copy of Zorvi is consolidating the files of " +
                                   m_state.files.DataDir() +
                                   " now.\rTry again when it has finished.");
        ConsolidationStep = 0;
        exitButton->setEnabled(true);
        hintLabel->setEnabled(true);
        return;
    }
    AskForPrinting();
    std::string question;
    if (PeriodEnd) question = "Today is the last Day of this Month!   " + m_dates.DateText + "\r";
    question += "Do a end of week, month ect. consolitate,\rpress the [ Yes ] Button ! ";
    // A closed box is No: a period end cannot be undone.
    PeriodEnd = m_services.dialogs.confirm(question, Dialogs::Buttons::YesNoDefaultNo) ==
                Dialogs::Answer::Yes;
    // The day's close is never held up: without the owner PIN the day is
    // closed and the period stays open.
    if (PeriodEnd && !AskOwnerPin(m_state, m_services)) {
        PeriodEnd = false;
        m_services.dialogs.message("Without the owner PIN the period end is not done; the day is "
                                   "consolidated as usual.");
    }
    askClosingCount();
    ConsolidationStep = 2;
    hintLabel->setEnabled(true);
    stepDayReport();
}

namespace {

// Minutes since midnight of a clock text such as "9:05" or "17:30".
int minutesOf(const std::string& clock) {
    const size_t colon = clock.find(':');
    if (colon == std::string::npos || colon == 0) return -1;
    try {
        return std::stoi(clock.substr(0, colon)) * 60 + std::stoi(clock.substr(colon + 1));
    } catch (const std::exception&) {
        return -1;
    }
}

} // namespace

// The day gets its Z number and its closing count: the last count of the
// day when none of the sales came after it, else one made now if the
// operator wants (a shop with a float, or one that counted today, is asked).
void ConsolidationScreen::askClosingCount() {
    m_closingLine.clear();
    m_zLine.clear();
    m_closingReport.clear();
    Dialogs& dialogs = m_services.dialogs;
    const std::string dir = m_state.files.DataDir();
    const RegionalFormats formats = m_services.regional.formats();
    const DateTime now = m_services.clock.now();
    const std::string date = ShortDateText(now, formats).substr(0, 8);
    CashupRead read;
    try {
        read = ReadCashup(FileNames::resolve(dir, "Cashup.dat"));
    } catch (const IoError& e) {
        dialogs.message(e.message());
    }
    for (const std::string& fault : read.faults)
        dialogs.message(fault);
    const TakingsDay day = ReadTakingsDay(m_state.files, Config().RoundingOn);
    CashCount z = UncountedClose(dir, read, date, UpdateClockText(LongTimeText(now, formats)),
                                 CashInDrawer(day.totals));
    const CashCount* counted = nullptr;
    for (const CashCount& c : read.counts)
        if (c.kind == 'X' && c.date == date) counted = &c;
    if (counted && minutesOf(counted->time) >= minutesOf(day.lastSaleClock)) {
        z.counted = counted->counted;
        z.salesPerson = counted->salesPerson;
    } else if ((counted || !m_state.options.value("float").empty()) &&
               dialogs.confirm("Count the cash in the drawer for the close of the day?",
                               Dialogs::Buttons::YesNoDefaultNo) == Dialogs::Answer::Yes) {
        while (std::optional<std::string> typed =
                   dialogs.askText("The cash counted in the drawer:")) {
            if (std::optional<long> cents = OptionAmountCents(*typed)) {
                z.counted = static_cast<double>(*cents) / 100;
                break;
            }
            dialogs.message("Type the cash counted, such as 352.50.");
        }
    }
    m_closingLine = CashCountLine(z);
    m_zNumber = z.number;
    m_zLine = "Z " + std::to_string(z.number);
    if (!z.counted) return;
    auto row = [&formats](const char* label, double x) {
        return label + PadLeft(CurrencyText(x, formats), 12);
    };
    m_closingReport = {" ", row("Cash expected       ", z.expected),
                       row("Cash counted        ", *z.counted),
                       row("Difference          ", z.difference())};
}

void ConsolidationScreen::AskForPrinting() {
    Dialogs& dialogs = m_services.dialogs;
    if (dialogs.confirm("  If you want the Results printed,  \r  then switch the Printer on and "
                        "press  [ Yes ] ! ",
                        Dialogs::Buttons::YesNo) == Dialogs::Answer::Yes)
        testPrinter();
    else
        m_state.flags.DocketAutoPrint = false;
}

// The test program may be missing; the operator can put it in place and retry.
void ConsolidationScreen::testPrinter() {
    CheckPrinterAsking(m_services.dialogs,
                       [this] { return TestPrinter(m_state, m_services.launcher); });
}

void ConsolidationScreen::offerSamplePriceList() {
    DataFiles& files = m_state.files;
    if (!PriceListMissing(files)) return;
    if (m_services.dialogs.confirm(PriceListSampleQuestion, Dialogs::Buttons::OkCancel) ==
        Dialogs::Answer::Ok)
        CreateSamplePriceList(files);
}

void ConsolidationScreen::stepDayReport() {
    hintLabel->setEnabled(false);
    DataFiles& files = m_state.files;
    // Without a price list the inventory would be rebuilt from nothing.
    if (PriceListMissing(files)) {
        offerSamplePriceList();
        m_services.dialogs.message(notFoundText(files.pathOf("Pricelist.dat")));
        endProgram();
        return;
    }
    const std::string results = files.compose("Results.dat");
    if (!ReadDayResults(results, Config(), m_dates.DateText, m_day, m_state.taxes)) {
        m_services.dialogs.message(notFoundText(results));
        endProgram();
        return;
    }
    if (m_day.faultyLines > 0) {
        std::string question = "The file " + results + " has " + std::to_string(m_day.faultyLines) +
                               " line(s) that cannot be read; the first is line " +
                               std::to_string(m_day.firstFaultyLine) + ":\r" +
                               m_day.firstFaultyText.substr(0, 90) +
                               "\rConsolidate the day without them?";
        if (m_services.dialogs.confirm(question, Dialogs::Buttons::YesNoDefaultNo) !=
            Dialogs::Answer::Yes) {
            endProgram();
            return;
        }
    }
    reportBox->show();
    std::vector<std::string> report = DayReportLines(
        m_day.totals, m_day.headerText, m_services.regional.formats(), m_day.taxShares);
    if (!m_zLine.empty()) report.insert(report.begin() + 2, m_zLine);
    report.insert(report.end(), m_closingReport.begin(), m_closingReport.end());
    showLines(report);
    hintLabel->setEnabled(true);
    printReport(report);
}

void ConsolidationScreen::stepSalesPersonTable() {
    hintLabel->setEnabled(false);
    QFont font = reportBox->font();
    font.setPixelSize(10 * 4 / 3);
    reportBox->setFont(font);
    std::vector<std::string> table =
        SalesPersonTableLines(m_day.persons, Config(), m_services.regional.formats());
    showLines(table);
    printReport(table);
    hintLabel->setEnabled(true);
}

// The sealed books are checked before the day is added to them: a change
// that Audit.dat does not explain would be sealed with it. The operator sees
// it and decides; the answer is recorded.
bool ConsolidationScreen::booksHoldOrGoOn() {
    const std::string& dir = m_state.files.DataDir();
    const SealCheck check = CheckSeals(dir);
    if (check.findings.empty()) return true;
    std::string text = "The check of the sealed books found changes that Audit.dat does not "
                       "explain:\r";
    const size_t shown = std::min<size_t>(check.findings.size(), 8);
    for (size_t i = 0; i < shown; ++i)
        text += check.findings[i] + "\r";
    if (check.findings.size() > shown)
        text += "and " + std::to_string(check.findings.size() - shown) + " more.\r";
    text += "Go on with the consolidation?";
    const bool goOn =
        m_services.dialogs.confirm(text, Dialogs::Buttons::YesNoDefaultNo) == Dialogs::Answer::Yes;
    std::vector<AuditEntry> answer;
    for (const std::string& file : check.findingFiles) {
        const std::string path = FileNames::resolve(dir, file);
        std::optional<std::string> now;
        if (FileNames::exists(path)) now = ReadWholeFile(path);
        answer.push_back(AuditChange(m_services.clock.now(),
                                     goOn ? "check: go on" : "check: stopped", file, now, now));
        answer.back().before = AbsentFileHash();
        answer.back().linesChanged = 0;
    }
    appendAudit(dir, answer);
    if (!goOn) m_services.dialogs.message("The consolidation was not made. Nothing was changed.");
    return goOn;
}

void ConsolidationScreen::stepConsolidate() {
    hintLabel->setEnabled(false);
    nextButton->setEnabled(false);
    bool goOn = false;
    guarded([this, &goOn] { goOn = booksHoldOrGoOn(); });
    if (!goOn) {
        exitButton->setEnabled(true);
        hintLabel->setEnabled(true);
        exitButton->setFocus();
        return;
    }
    notice({" ", " ", " ", " ", "W O R K I N G", " ", " please wait."}, 16 * 4 / 3, false);
    hintLabel->setText("Press X or Alt-X to Exit.");
    repaint();
    m_working = true;
    const bool closed = commitWithProgress([this](const DayCommitOptions& options) {
        const DayCommitResult r =
            CommitDay({m_state.files.DataDir(), Config(), Config().InventoryOn, PeriodEnd, m_dates,
                       m_day, m_closingLine, m_services.clock.now()},
                      options);
        return r.unfinished.empty() ? r.outbox : r.unfinished;
    });
    if (closed) backUpClosedDay();
    exitButton->setEnabled(true);
    hintLabel->setEnabled(true);
    exitButton->setFocus();
}

bool ConsolidationScreen::commitWithProgress(
    const std::function<std::string(const DayCommitOptions&)>& commit) {
    progressBar = new QProgressBar(this);
    progressBar->setGeometry(0, height() - 16, width(), 16);
    progressBar->show();
    DayCommitOptions options;
    options.progress = [this](size_t done, size_t total) { showProgress(done, total); };
    std::string unfinished;
    bool done = false;
    try {
        unfinished = commit(options);
        done = true;
    } catch (const ConsolidationError& e) {
        m_services.dialogs.message(e.what());
    }
    delete progressBar;
    progressBar = nullptr;
    m_working = false;
    if (done) {
        notice({" ", " ", "F I N I S H"}, 36 * 4 / 3, true);
        repaint();
        // A commit that is made but could not be carried out to the end is
        // finished by the next start.
        if (!unfinished.empty()) m_services.dialogs.message(unfinished);
    }
    return done;
}

void ConsolidationScreen::backUpClosedDay() {
    backupLabel->setText("Writing the backup ...");
    backupLabel->setStyleSheet("color: black; background: white;");
    backupLabel->show();
    repaint();
    // The thread gets its own copies: a backup that overruns its minute is
    // left to end by itself, after this screen may have gone.
    const std::string shop = m_state.files.DataDir();
    const Options options = m_state.options;
    const BackupStamp stamp{m_services.clock.now(), m_zNumber};
    const ShopBackup backup =
        BackUpWithin(CloseBackupLimit, [shop, options, stamp](const std::atomic<bool>& cancel) {
            return BackUpShop(shop, options, stamp, &cancel);
        });
    const std::string text = CloseBackupText(backup);
    backupLabel->setText(fromCp1252(text));
    backupLabel->setStyleSheet(backup.ok() ? "color: darkgreen; background: white;"
                                           : "color: red; background: white; font-weight: bold;");
    if (!backup.ok()) m_services.dialogs.message(text);
    printReport(BackupDocketLines(text, static_cast<size_t>(std::max(20L, Config().PrintWidth))));
}

void ConsolidationScreen::showProgress(size_t done, size_t total) {
    if (!progressBar) return;
    progressBar->setMaximum(static_cast<int>(total));
    progressBar->setValue(static_cast<int>(done));
    progressBar->repaint();
}

void ConsolidationScreen::notice(const std::vector<const char*>& lines, int pixels, bool finish) {
    reportBox->clear();
    QFont font = reportBox->font();
    font.setPixelSize(pixels);
    font.setBold(finish);
    reportBox->setFont(font);
    reportBox->setStyleSheet(finish ? "color: red;" : "");
    std::vector<std::string> text(lines.begin(), lines.end());
    showLines(text);
}

void ConsolidationScreen::showLines(const std::vector<std::string>& lines) {
    reportBox->clear();
    for (const std::string& line : lines)
        reportBox->appendPlainText(fromCp1252(line));
    QTextCursor all(reportBox->document());
    all.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    all.mergeBlockFormat(centred);
    reportBox->show();
}

void ConsolidationScreen::printReport(const std::vector<std::string>& lines) {
    if (!m_state.flags.DocketAutoPrint) return;
    WriteReportToDocketFile(m_state.files.pathOf("Docket.Prn"), lines);
    ShowNotices(m_services.dialogs,
                SendDocketToPrinter(m_state.files.DataDir(), m_services.launcher));
}

void ConsolidationScreen::ButExitClick() {
    if (!exitButton->isEnabled()) return;
    endProgram();
}

void ConsolidationScreen::endProgram() {
    m_lock.release();
    m_state.flags.QuitAfterConsolidation = true;
    leaveToMain();
}

void ConsolidationScreen::butstockClick() {
    if (!stockButton->isEnabled()) return;
    if (!m_lock.tryAcquire(m_state.files.pathOf(FileNames::ConsolidationLock))) {
        m_services.dialogs.message("Another copy of Zorvi is consolidating the files of " +
                                   m_state.files.DataDir() +
                                   " now.\rTry again when it has finished.");
        return;
    }
    notice({" ", " ", " ", " ", "W O R K I N G", " ", " please wait."}, 16 * 4 / 3, false);
    repaint();
    DataFiles& files = m_state.files;
    offerSamplePriceList();
    const std::string results = files.compose("Results.dat");
    DayResults counted;
    if (!ReadDayResults(results, Config(), m_dates.DateText, counted)) {
        m_services.dialogs.message(notFoundText(results));
        endProgram();
        return;
    }
    // A line left out is a count lost: the operator decides.
    if (counted.faultyLines > 0) {
        std::string question =
            "The file " + results + " has " + std::to_string(counted.faultyLines) +
            " line(s) that cannot be read; the first is line " +
            std::to_string(counted.firstFaultyLine) + ":\r" +
            counted.firstFaultyText.substr(0, 90) + "\rSet the inventory up without them?";
        if (m_services.dialogs.confirm(question, Dialogs::Buttons::YesNoDefaultNo) !=
            Dialogs::Answer::Yes) {
            endProgram();
            return;
        }
    }
    stockButton->setEnabled(false);
    m_working = true;
    const bool done = commitWithProgress([&](const DayCommitOptions& options) {
        return CommitStocktake({files.DataDir(), Config().InventoryOn, m_dates, counted,
                                m_services.clock.now()},
                               options)
            .unfinished;
    });
    if (!done) {
        // Nothing was changed: the operator may put the cause right and try again.
        reportBox->clear();
        stockButton->setEnabled(true);
    }
    exitButton->setEnabled(true);
    exitButton->setFocus();
}

void ConsolidationScreen::ButDeleteClick() {
    Dialogs& dialogs = m_services.dialogs;
    if (dialogs.confirm("Zorvi will be removed from your hard disk. Are you sure?",
                        Dialogs::Buttons::YesNoDefaultNo) != Dialogs::Answer::Yes)
        return;
    // A second answer that no habit types by itself.
    std::optional<std::string> typed =
        dialogs.askText("To remove Zorvi and all its files, type REMOVE and press Enter.");
    if (typed != std::optional<std::string>("REMOVE")) {
        dialogs.message("Zorvi is not removed.");
        return;
    }
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    RemovalRecord record = RecordProgramFiles(m_state.files.DataDir(), toNativePath(program));
    if (!record.refusal.empty()) {
        dialogs.message(record.refusal);
        return;
    }
    AuditEntry removal{m_services.clock.now(),
                       AuditOwner,
                       "removal",
                       "*",
                       AbsentFileHash(),
                       AbsentFileHash(),
                       static_cast<long>(record.paths.size())};
    appendAudit(m_state.files.DataDir(), removal);
    // The shop's data go with the program: first a copy that has been read
    // back and checked, or nothing goes.
    const std::string shop = m_state.files.DataDir();
    const Options options = m_state.options;
    // The last day closed names a backup made outside a close.
    const BackupStamp stamp{m_services.clock.now(), NextZNumber(m_state.files.DataDir()) - 1};
    const ShopBackup backup =
        BackUpWithin(CloseBackupLimit, [shop, options, stamp](const std::atomic<bool>& cancel) {
            return BackUpShop(shop, options, stamp, &cancel);
        });
    if (!backup.ok()) {
        removal.action = "removal stopped";
        removal.at = m_services.clock.now();
        appendAudit(m_state.files.DataDir(), removal);
        dialogs.message("Zorvi is not removed.\r" + backup.text());
        return;
    }
    fileList->clear();
    for (const std::string& path : record.paths)
        fileList->addItem(fromNativePath(path));
    m_state.RemoveAtEnd = std::move(record.paths);
    dialogs.message("Zorvi will be removed from your hard disk,\rWhen Zorvi closes, all Zorvi "
                    "files will be gone.\r" +
                    backup.text() + "\rin " + backup.folder);
}

void ConsolidationScreen::Timer1Timer() {
    m_clockText =
        UpdateClockText(LongTimeText(m_services.clock.now(), m_services.regional.formats()));
    timeLabel->setText(fromCp1252(m_clockText));
}

void ConsolidationScreen::closeEvent(QCloseEvent* event) {
    event->ignore();
    // While the day's files are written the window stays; before and after,
    // its close box is Exit.
    if (m_working) return;
    guarded([this] { endProgram(); });
}

void ConsolidationScreen::keyPressEvent(QKeyEvent* event) {
    // The underlined letter alone presses a button while a button has the focus.
    if (qobject_cast<QPushButton*>(focusWidget()) && !(event->modifiers() & Qt::AltModifier)) {
        const std::pair<int, QPushButton*> letters[] = {
            {Qt::Key_N, nextButton}, {Qt::Key_X, exitButton}, {Qt::Key_S, stockButton}};
        for (const auto& [key, button] : letters) {
            if (event->key() == key && button->isEnabled()) {
                button->click();
                return;
            }
        }
    }
    ZorviScreen::keyPressEvent(event);
}
