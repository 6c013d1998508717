#pragma once

#include "forms/ZorviScreen.h"

#include <QList>

#include <string>
#include <vector>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QGroupBox;
class QTimer;
class QFrame;
class QAbstractButton;
class Till;

// The main screen, the program's hub. It runs the start-up checks
// when created and opens every other screen.
struct TakingsDay;

class MainScreen : public ZorviScreen {
    Q_OBJECT
  public:
    struct Screens {
        QWidget* setup = nullptr;
        QWidget* priceEditor = nullptr;
        QWidget* sales = nullptr;
        QWidget* expense = nullptr;
        QWidget* consolidation = nullptr;
        QWidget* inventory = nullptr;
        QWidget* view = nullptr;
        QWidget* cashUp = nullptr;
        QWidget* graphs = nullptr;
        // Asks the consolidation screen to offer the removal when it is next shown.
        std::function<void()> offerRemoval;
    };

    MainScreen(ProgramState& state, Services& services, const Till& till,
               const std::string& dataDir, QWidget* parent = nullptr);
    void setScreens(const Screens& screens) { m_screens = screens; }

    // The hint under the text box, which the viewer shows too.
    QLabel* exitHint() const { return exitHintLabel; }

    void leaveToMain() override {}

  protected:
    void FormActivate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // The controls, each named by its role, which is its object name too.
    QFrame* mainPanel;
    QLabel* statusLabel;
    QWidget* outerRing;
    QWidget* innerDisc;
    QLabel* logoShadowLabel;
    QLabel* logoLabel;
    QLabel* exitHintLabel;
    QLabel* dateLabel;
    QLabel* timeLabel;
    // The shop's own note (the option shop-note), above the status line.
    QLabel* shopNoteLabel;
    QPushButton* saleButton;
    QPushButton* docketButton;
    QPushButton* expenseButton;
    QPushButton* menuButton;
    QPushButton* viewPrintButton;
    QPushButton* helpButton;
    QPushButton* debtorButton;
    QPushButton* laybyButton;
    QPushButton* creditorButton;
    QPushButton* exitButton;
    QGroupBox* menuBox;
    QRadioButton* setupEntry;
    QRadioButton* inventoryEntry;
    QRadioButton* priceListEntry;
    QRadioButton* totalsEntry;
    QRadioButton* cashUpEntry;
    QRadioButton* graphsEntry;
    QRadioButton* removeEntry;
    QPlainTextEdit* infoBox;
    QTimer* clockTimer;

    // The day's totals, shown at Exit.
    const Till& m_till;
    void buildControls();
    void buildPanels();
    void buildDecoration();
    void buildButtons();
    void buildMenu();
    void buildMemoAndLabels();
    void buildTimer();
    void setTabOrderAsKnown();
    void connectButtons();
    QPushButton* makeButton(const QString& caption, int left, int top);
    void enableGroup(const QList<QWidget*>& group, bool enabled);
    QList<QWidget*> tradingButtons() const;
    QList<QWidget*> firstEnableSet() const;
    QList<QWidget*> secondEnableSet() const;
    QList<QWidget*> menuGroup() const;
    void closeMenu();
    void openScreen(QWidget* screen);
    bool pressUnderlinedLetter(int key);
    // The menu entry of a letter while the menu is open.
    QRadioButton* menuEntryFor(int key) const;

    void butsaleClick();
    void butexpClick();
    void butmenuClick();
    void butdocketClick();
    // Whether the printer passed; what went wrong is shown.
    bool testPrinter();
    void ButhelpClick();
    void ButintroClick();
    void butexitClick();
    void showTodaysTotals();
    // The day's totals from the takings, for Exit and for the X report.
    std::vector<std::string> takingsTotalsLines(TakingsDay& day);
    void showAndPrint(const std::vector<std::string>& lines);
    void showInMemo(const std::vector<std::string>& lines, Qt::Alignment alignment);
    // Whether the owner PIN, when the shop has one, lets a guarded entry open.
    bool ownerAllows();
    void RbutSetupEnter();
    void RbutPlistEnter();
    void RbutInventEnter();
    void RbutRemoveEnter();
    void RbutTotalsEnter();
    void RbutCashUpEnter();
    void RbutGraphsEnter();
    void FormKeyDown();
    void Timer1Timer();

    Screens m_screens;
    bool m_closing = false;

    // Hours and minutes, as the screen's clock last showed them.
    std::string m_clockText;
};
