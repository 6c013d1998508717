#include "support/ProgramFixture.h"

#include "app/MainScreen.h"
#include "cashup/CashUpScreen.h"
#include "consolidation/ConsolidationScreen.h"
#include "expenses/ExpenseScreen.h"
#include "forms/ZorviScreen.h"
#include "inventory/InventoryScreen.h"
#include "pricelist/PriceListScreen.h"
#include "sales/SalesScreen.h"
#include "setup/SetupScreen.h"
#include "support/ScreenProbe.h"
#include "viewer/ViewerScreen.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

#include <stdexcept>

ProgramFixture::ProgramFixture(const std::string& leaf) : dir(leaf) {
    for (const char* name : {"hlpf.1", "hlpf.2", "hlpf.3", "hlpf.4", "hlpf.5", "hlpf.6", "hlpf.7",
                             "Devcheck.exe", "Slipjet.exe"})
        dir.write(name, "");
    launcher.checkFiles = true;
}

ProgramFixture::~ProgramFixture() = default;

void ProgramFixture::writeNumberedHelp(const std::string& file, const std::string& prefix,
                                       int last) {
    std::string help;
    for (int i = 0; i <= last; ++i)
        help += prefix + std::to_string(i) + "\r\n";
    dir.write(file, help);
}

void ProgramFixture::writeConfiguration(const Configuration& c) {
    WriteConfiguration(dir.file("Configur.dat"), c);
}

void ProgramFixture::writeTestShop() {
    writeNumberedHelp("hlpf.2", "s", 22);
    writeNumberedHelp("hlpf.3", "p", 22);
    writeNumberedHelp("hlpf.4", "H", 22);
    writeNumberedHelp("hlpf.5", "e", 22);
    dir.write("Pricelist.dat",
              " 4006381333931 Ballpoint pen blue               0.40      20.00 10\r\n"
              " 5000000000017 Copy paper A4                    3.10      19.36 10\r\n"
              " /REPAIR       Repair service                   0.00      12.34  0\r\n"
              "$EXP1          Stationery                       0.00       0.00  0\r\n"
              " MILK1         Milk 1 litre                     0.70       1.50 10\r\n"
              " BREAD         Bread white                      1.10       2.25 10\r\n");
}

void ProgramFixture::printerReady() {
    launcher.onRun = [this] { dir.write("Devcheck.dat", "Ok\r\n"); };
}

void ProgramFixture::start() {
    program = std::make_unique<ProgramBlock>(services, dir.path());
    program->show();
    program->main->activateWindow();
    QApplication::setActiveWindow(program->main);
    QApplication::processEvents();
}

void ProgramFixture::open(const char* button, QWidget* screen) {
    probe::click(&main(), button);
    QApplication::setActiveWindow(screen);
    QApplication::processEvents();
}

void ProgramFixture::menu(const char* entry) {
    probe::click(&main(), "menuButton");
    probe::widget(&main(), entry)->setFocus();
    QApplication::processEvents();
}

ZorviScreen* ProgramFixture::openScreen(const std::string& role) {
    struct Way {
        const char* role;
        const char* button; // or a menu entry
        ZorviScreen* (*screen)(ProgramBlock&);
    };
    static const Way ways[] = {
        {"SalesScreen", "saleButton", [](ProgramBlock& p) -> ZorviScreen* { return p.sales; }},
        {"ExpenseScreen", "expenseButton",
         [](ProgramBlock& p) -> ZorviScreen* { return p.expense; }},
        {"ViewerScreen", "viewPrintButton",
         [](ProgramBlock& p) -> ZorviScreen* { return p.viewer; }},
        {"SetupScreen", "setupEntry", [](ProgramBlock& p) -> ZorviScreen* { return p.setup; }},
        {"PriceListScreen", "priceListEntry",
         [](ProgramBlock& p) -> ZorviScreen* { return p.priceList; }},
        {"InventoryScreen", "inventoryEntry",
         [](ProgramBlock& p) -> ZorviScreen* { return p.inventory; }},
        {"CashUpScreen", "cashUpEntry", [](ProgramBlock& p) -> ZorviScreen* { return p.cashUp; }},
        {"ConsolidationScreen", "exitButton",
         [](ProgramBlock& p) -> ZorviScreen* { return p.consolidation; }},
    };
    if (role == "MainScreen") return program->main;
    for (const Way& w : ways) {
        if (role != w.role) continue;
        ZorviScreen* screen = w.screen(*program);
        const std::string way = w.button;
        if (way.ends_with("Entry")) {
            menu(w.button);
        } else {
            if (way == "exitButton") dialogs.answers.push_front(Dialogs::Answer::Yes);
            probe::click(&main(), w.button);
        }
        QApplication::setActiveWindow(screen);
        QApplication::processEvents();
        return screen;
    }
    throw std::runtime_error("no screen with the role " + role);
}

MainScreen& ProgramFixture::main() {
    return *program->main;
}

void ProgramFixture::type(ZorviScreen* screen, const std::string& keys) {
    for (char c : keys) {
        QWidget* at = screen->activeControl();
        if (c == '\n' || c == '\r')
            QTest::keyClick(at, Qt::Key_Return);
        else if (c == '\x1b')
            QTest::keyClick(at, Qt::Key_Escape);
        else
            QTest::keyClick(at, c);
    }
}

void ProgramFixture::press(int key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    QApplication::processEvents();
}

void ProgramFixture::typeText(const std::string& text) {
    QTest::keyClicks(QApplication::focusWidget(), QString::fromStdString(text));
}

std::vector<std::string> ProgramFixture::messages() {
    std::vector<std::string> texts = dialogs.texts();
    dialogs.shown.clear();
    return texts;
}

std::vector<std::string> ProgramFixture::lines(const QPlainTextEdit* box) {
    std::vector<std::string> out;
    for (const QString& l : box->toPlainText().split('\n'))
        out.push_back(l.toStdString());
    return out;
}
