#include "setup/SetupScreen.h"
#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "sales/SalesScreen.h"
#include "support/ProgramFixture.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

struct SetupFixture : ProgramFixture {
    SetupFixture() {
        writeTestShop();
        printerReady();
    }
    TForm2& setup() { return *static_cast<TForm2*>(program->Form2); }
    std::string help() { return setup().Memo2->toPlainText().toStdString(); }
    QWidget* focus() { return QApplication::focusWidget(); }
    // Keys go where the keyboard would send them: to the focused control.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(focus(), static_cast<Qt::Key>(key), modifiers);
        QApplication::processEvents();
    }
    void typeText(const char* text) { QTest::keyClicks(focus(), text); }
    // Opens the setup screen from the main screen's menu with Alt+S.
    void openSetup() {
        QTest::mouseClick(main().butmenu, Qt::LeftButton);
        press(Qt::Key_S, Qt::AltModifier);
        QApplication::setActiveWindow(&setup());
        QApplication::processEvents();
    }
};

} // namespace

TEST(SetupScreen, ANewTaxRateIsSavedAndUsedByTheNextSale) {
    SetupFixture f;
    f.config.PrintWidth = 100; // wider than the field lets one type
    f.writeConfiguration(f.config);
    f.start();
    f.openSetup();
    TForm2& s = f.setup();
    EXPECT_FALSE(s.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(f.help(), "s1");
    EXPECT_EQ(s.Prnwed->text(), "100");

    f.press(Qt::Key_B, Qt::AltModifier);
    EXPECT_TRUE(s.panbasic->isVisible());
    EXPECT_EQ(f.focus(), s.taxed);
    EXPECT_EQ(f.help(), "s2");
    f.press(Qt::Key_End);
    f.press(Qt::Key_Backspace);
    f.typeText("12.5");
    // Tab runs down the left column, then down the right one.
    for (int i = 0; i < 5; ++i)
        f.press(Qt::Key_Tab);
    EXPECT_EQ(f.focus(), s.displayed);
    EXPECT_EQ(f.help(), "s21");

    f.press(Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(f.focus(), s.sped[0]);
    f.typeText("9k");
    EXPECT_EQ(s.sped[0]->text(), "K"); // a letter, in capitals

    s.close(); // there is no way out but Exit & Save
    EXPECT_TRUE(s.isVisible());

    // A configuration that cannot be stored keeps the operator here.
    std::filesystem::create_directory(f.dir.file("Configur.dat.~stg.~tmp"));
    f.press(Qt::Key_X, Qt::AltModifier);
    ASSERT_EQ(f.dialogs.texts().size(), 1u);
    EXPECT_EQ(f.dialogs.texts()[0].rfind("I/O error in file " + f.dir.file("Configur.dat"), 0), 0u);
    EXPECT_TRUE(s.isVisible());
    std::filesystem::remove(f.dir.file("Configur.dat.~stg.~tmp"));

    f.dialogs.shown.clear();
    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_TRUE(f.dialogs.texts().empty());
    EXPECT_FALSE(s.isVisible());
    // The file's layout is Configuration's to check; here what the screen took over.
    const std::string saved = f.dir.read("Configur.dat");
    EXPECT_EQ(saved.substr(0, 12), "KA        \r\n");
    EXPECT_NE(saved.find("\r\n?? N   100   5     0     12.50      0.00   0.00   0.00\r\n"),
              std::string::npos);

    QApplication::setActiveWindow(&f.main());
    f.open(f.main().butsale, f.program->Form4);
    auto* sales = static_cast<TForm4*>(f.program->Form4);
    f.type(sales, "K4006381333931"
                  "1\nYF\n");
    EXPECT_EQ(sales->edtotal->text(), "$22.50");
}

TEST(SetupScreen, ASampleDocketSavesTheSetupOnlyWhenThePrinterCanPrintIt) {
    SetupFixture f;
    f.writeConfiguration(f.config);
    f.start();
    f.openSetup();
    TForm2& s = f.setup();
    s.taxed->setText("12.5");
    const std::string saved = f.dir.read("Configur.dat");
    f.dialogs.shown.clear();
    f.launcher.started.clear();

    // The test program cannot be started: retried once, then given up.
    f.launcher.startResult = 2;
    f.launcher.onRun = nullptr;
    f.dialogs.answers = {Dialogs::Answer::Retry, Dialogs::Answer::Cancel};
    f.press(Qt::Key_P, Qt::AltModifier);
    const std::string notFound =
        "The file " + f.dir.file("Devcheck.exe") +
        " not found!\rPress \"Help\" and see the paragraph \"Instalation\".";
    EXPECT_EQ(f.dialogs.texts(),
              (std::vector<std::string>{notFound, notFound,
                                        "Printer problem :\r" + f.dir.file("Devcheck.dat"),
                                        "Printer not ready!"}));
    EXPECT_EQ(f.dir.read("Configur.dat"), saved);
    EXPECT_EQ(f.printDialog.shown, 0);
    EXPECT_TRUE(f.launcher.started.empty());

    f.launcher.startResult = 33;
    f.printerReady();
    f.dialogs.shown.clear();
    f.press(Qt::Key_P, Qt::AltModifier);
    EXPECT_EQ(f.dialogs.texts(),
              std::vector<std::string>{"Printing a wide Sample docket.\r\nSwitch "
                                       "the Printer on and click on Ok"});
    EXPECT_NE(f.dir.read("Configur.dat")
                  .find("\r\n?? N   40   5     0     12.50      0.00   0.00   0.00\r\n"),
              std::string::npos);
    EXPECT_EQ(f.printDialog.shown, 1);
    EXPECT_EQ(f.launcher.started, std::vector<std::string>{f.dir.file("Slipjet.exe")});
}

TEST(SetupScreen, TheOptionsPanelKeepsTheShopsCommentsAndUnknownKeys) {
    SetupFixture f;
    f.writeConfiguration(f.config);
    f.dir.write("Options.dat", "# set by the owner\r\n"
                               "till-number=2\r\n"
                               "shop-note=Back at 2\r\n");
    f.start();
    EXPECT_EQ(f.main().shopNote->text(), "Back at 2");
    EXPECT_TRUE(f.main().shopNote->isVisible());
    f.openSetup();
    TForm2& s = f.setup();

    // Every caption of the row of buttons shows whole.
    for (QPushButton* b :
         {s.butbasic, s.butsp, s.butdock, s.butlang, s.butopt, s.butprndocket, s.butsavEx}) {
        const QString caption = b->text().remove('&');
        QStyleOptionButton option;
        option.initFrom(b);
        const QRect room = b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b);
        EXPECT_LE(b->fontMetrics().horizontalAdvance(caption), room.width())
            << caption.toStdString();
        EXPECT_LE(b->geometry().right(), s.width());
    }

    f.press(Qt::Key_O, Qt::AltModifier);
    ASSERT_EQ(f.focus(), s.opted.front());
    EXPECT_TRUE(s.panopt->isVisible());
    EXPECT_EQ(s.opted.front()->selectedText(), "Back at 2");
    EXPECT_EQ(f.help(), "A note of up to 40 characters shown in the main screen's status line.");
    // Typing replaces what was selected.
    f.typeText("Closed Monday");
    EXPECT_EQ(s.opted.front()->text(), "Closed Monday");

    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_FALSE(s.isVisible());
    EXPECT_TRUE(f.dialogs.texts().empty());
    EXPECT_EQ(f.dir.read("Options.dat"), "# set by the owner\r\n"
                                         "till-number=2\r\n"
                                         "shop-note=Closed Monday\r\n");
    EXPECT_EQ(f.main().shopNote->text(), "Closed Monday");
}

TEST(SetupScreen, AnOptionsFileThatCannotBeReadIsReplacedOnlyWhenTheOperatorSaysSo) {
    SetupFixture f;
    f.writeConfiguration(f.config);
    f.dir.write("Options.dat", std::string(70 * 1024, '#'));
    f.start();
    const std::string fault = "The options file " + f.dir.file("Options.dat") +
                              " has faults; the default is used for:\rit is larger than 64 KiB";
    const std::vector<std::string> said = f.dialogs.texts();
    EXPECT_EQ(std::count(said.begin(), said.end(), fault), 1);
    f.openSetup();
    f.dialogs.shown.clear();
    f.press(Qt::Key_X, Qt::AltModifier);
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_TRUE(f.dialogs.shown[0].confirmation);
    EXPECT_EQ(f.dir.read("Options.dat"), std::string(70 * 1024, '#'));
    EXPECT_FALSE(f.setup().isVisible());

    f.openSetup();
    f.press(Qt::Key_O, Qt::AltModifier);
    f.typeText("Open");
    f.dialogs.answers = {Dialogs::Answer::Yes};
    f.press(Qt::Key_X, Qt::AltModifier);
    EXPECT_EQ(f.dir.read("Options.dat"), "shop-note=Open\r\n");
}

// However a field is entered its content is selected, so typing replaces it;
// a correction in the middle of a value stays where it is typed.
TEST(SetupScreen, TypingReplacesWhatAFieldHeldAndCorrectionsStayInPlace) {
    SetupFixture f;
    f.config.TaxRate = 10;
    f.writeConfiguration(f.config);
    f.start();
    f.openSetup();
    TForm2& s = f.setup();
    f.press(Qt::Key_B, Qt::AltModifier);
    ASSERT_EQ(f.focus(), s.taxed);
    EXPECT_EQ(s.taxed->selectedText(), s.taxed->text());
    f.typeText("5");
    EXPECT_EQ(s.taxed->text(), "5");
    f.press(Qt::Key_Home);
    f.typeText("12");
    EXPECT_EQ(s.taxed->text(), "125");

    // By Tab and by the mouse alike.
    f.press(Qt::Key_Tab);
    ASSERT_EQ(f.focus(), s.ldisced);
    EXPECT_EQ(s.ldisced->selectedText(), s.ldisced->text());
    QTest::mouseClick(s.mdisced, Qt::LeftButton, Qt::NoModifier, QPoint(3, 12));
    QApplication::processEvents();
    ASSERT_EQ(f.focus(), s.mdisced);
    EXPECT_FALSE(s.mdisced->text().isEmpty());
    EXPECT_EQ(s.mdisced->selectedText(), s.mdisced->text());
}
