#include "support/ProgramFixture.h"

#include "app/MainScreen.h"
#include "forms/ZorviScreen.h"
#include "support/ScreenProbe.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>

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

std::vector<std::string> ProgramFixture::lines(const QPlainTextEdit* box) {
    std::vector<std::string> out;
    for (const QString& l : box->toPlainText().split('\n'))
        out.push_back(l.toStdString());
    return out;
}
