#include "setup/SetupScreen.h"
#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "sales/SalesScreen.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QFrame>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <gtest/gtest.h>

#include <filesystem>

namespace {

struct SetupFixture : ProgramFixture {
    SetupFixture() {
        writeTestShop();
        printerReady();
        writeConfiguration(config);
    }
    SetupScreen& setup() { return *program->setup; }
    void openSetup() { openScreen("SetupScreen"); }
};

} // namespace

// A configuration that cannot be stored keeps the operator here; the
// window's close box is Exit & Save.
TEST(SetupScreen, AConfigurationThatCannotBeStoredKeepsTheOperatorHere) {
    SetupFixture f;
    f.start();
    f.openSetup();
    SetupScreen& s = f.setup();
    std::filesystem::create_directory(f.dir.file("Configur.dat.~stg.~tmp"));
    s.close();
    ASSERT_EQ(f.dialogs.texts().size(), 1u);
    EXPECT_EQ(f.dialogs.texts()[0].rfind("I/O error in file " + f.dir.file("Configur.dat"), 0), 0u);
    EXPECT_TRUE(s.isVisible());
    std::filesystem::remove(f.dir.file("Configur.dat.~stg.~tmp"));
    f.dialogs.shown.clear();
    s.close();
    EXPECT_TRUE(f.dialogs.texts().empty());
    EXPECT_FALSE(s.isVisible());
    // One save, one entry in the audit trail.
    EXPECT_EQ(f.dir.read("Audit.dat").size(), 205u);
}

TEST(SetupScreen, ASampleDocketSavesTheSetupOnlyWhenThePrinterCanPrintIt) {
    SetupFixture f;
    f.start();
    f.openSetup();
    SetupScreen& s = f.setup();
    probe::widget<EntryField>(&s, "taxField")->setText("12.5");
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

TEST(SetupScreen, EveryCaptionOfTheRowOfButtonsShowsWhole) {
    SetupFixture f;
    f.start();
    f.openSetup();
    SetupScreen& s = f.setup();
    for (const char* role : {"basicButton", "salesPersonButton", "docketButton", "languageButton",
                             "optionsButton", "printDocketButton", "saveExitButton"}) {
        auto* b = probe::widget<QPushButton>(&s, role);
        const QString caption = b->text().remove('&');
        QStyleOptionButton option;
        option.initFrom(b);
        const QRect room = b->style()->subElementRect(QStyle::SE_PushButtonContents, &option, b);
        EXPECT_LE(b->fontMetrics().horizontalAdvance(caption), room.width()) << role;
        EXPECT_LE(b->geometry().right(), s.width());
    }
}
