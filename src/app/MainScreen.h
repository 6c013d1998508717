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

    // Components, named as the operators' manual names them.
    QFrame* Panel1;
    QLabel* Panel2;
    QWidget* Shape1;
    QWidget* Shape2;
    QLabel* Label1;
    QLabel* Label2;
    QLabel* Label3;
    QLabel* Label5;
    QLabel* Label6;
    // The shop's own note (the option shop-note), above the status line.
    QLabel* shopNote;
    QPushButton* butsale;
    QPushButton* butdocket;
    QPushButton* butexp;
    QPushButton* butmenu;
    QPushButton* Butintro;
    QPushButton* Buthelp;
    QPushButton* butdeb;
    QPushButton* butlay;
    QPushButton* butcred;
    QPushButton* butexit;
    QGroupBox* RadioGroup1;
    QRadioButton* RbutSetup;
    QRadioButton* RbutInvent;
    QRadioButton* RbutPlist;
    QRadioButton* RbutTotals;
    QRadioButton* RbutCashUp;
    QRadioButton* RbutGraphs;
    QRadioButton* RbutRemove;
    QPlainTextEdit* Memo1;
    QTimer* Timer1;

    void leaveToMain() override {}

  protected:
    void FormActivate() override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
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
