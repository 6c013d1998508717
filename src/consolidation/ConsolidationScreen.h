#pragma once

#include "consolidation/DayCommit.h"
#include "consolidation/DayResults.h"
#include "consolidation/RunDates.h"
#include "forms/ZorviScreen.h"
#include "platform/FileLock.h"

#include <functional>
#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTimer;

// The consolidation screen. Three presses of Next: the questions and
// the day report, the table per sales person, then the day's lasting records
// written all at once. Leaving it ends the program.
class ConsolidationScreen : public ZorviScreen {
    Q_OBJECT
  public:
    ConsolidationScreen(ProgramState& state, Services& services, QWidget* parent = nullptr);

    int ConsolidationStep = 0;
    bool PeriodEnd = false;

    void ButNextClick();
    void ButExitClick();
    void butstockClick();
    void ButDeleteClick();
    // The next showing offers the Remove Zorvi button, which stays hidden
    // otherwise: the main screen's menu asks for it.
    void offerRemoval() { m_removalAsked = true; }
    void Timer1Timer();

  protected:
    void FormActivate() override;
    bool followsSharedPosition() const override { return false; }
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    // The controls, each named by its role, which is its object name too.
    QLabel* dateLabel;
    QLabel* timeLabel;
    QLabel* hintLabel;
    // What became of the backup written after the day's close.
    QLabel* backupLabel;
    QPlainTextEdit* reportBox;
    QPushButton* nextButton;
    QPushButton* exitButton;
    QPushButton* stockButton;
    QPushButton* removeButton;
    QListWidget* fileList;
    QTimer* clockTimer;
    QProgressBar* progressBar = nullptr;

    bool m_removalAsked = false;
    // The day's Z line for Cashup.dat, and what the day report says of it.
    std::string m_closingLine;
    std::string m_zLine;
    long m_zNumber = 0;
    std::vector<std::string> m_closingReport;
    Configuration& Config();
    void buildControls();
    void stepQuestions();
    void stepDayReport();
    void askClosingCount();
    void stepSalesPersonTable();
    void stepConsolidate();
    bool booksHoldOrGoOn();
    void AskForPrinting();
    void testPrinter();
    // When there is no price list at all, the operator may have one made
    // with the sample line.
    void offerSamplePriceList();
    void showLines(const std::vector<std::string>& lines);
    void printReport(const std::vector<std::string>& lines);
    // Runs a commit under the progress bar; false (after its message) when it failed
    // and nothing was changed.
    bool commitWithProgress(const std::function<std::string(const DayCommitOptions&)>& commit);
    void showProgress(size_t done, size_t total);
    // A verified copy of the closed day, for at most a minute; its outcome
    // goes on the screen and, when the results are printed, on a docket.
    void backUpClosedDay();
    void notice(const std::vector<const char*>& lines, int pixels, bool finish);
    // Ends the program without consolidating (or after it).
    void endProgram();

    RunDates m_dates;
    DayResults m_day;
    FileLock m_lock;
    bool m_working = false;

    // Hours and minutes, as the screen's clock last showed them.
    std::string m_clockText;
};
