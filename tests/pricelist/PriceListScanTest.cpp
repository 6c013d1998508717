#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "pricelist/PriceLineCheck.h"
#include "pricelist/PriceListScreen.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// The price list editor with the entry form open, fed keys with their own
// times: a scanner's 5 ms apart, a person's 150 ms apart.
struct ScanEditorFixture : ProgramFixture {
    ScanEditorFixture() {
        dir.write("Pricelist.dat",
                  " APPLE         Apples red                       1.20       2.50 10\r\n");
        writeConfiguration(config);
        printerReady();
        start();
        menu("priceListEntry");
        QApplication::setActiveWindow(&editor());
        QApplication::processEvents();
    }
    PriceListScreen& editor() { return *program->priceList; }
    QWidget* focus() { return QApplication::focusWidget(); }
    QWidget* field(PriceLineField which) {
        return probe::widget(&editor(), ("form" + std::to_string(size_t(which))).c_str());
    }
    std::string text(PriceLineField which) {
        return probe::text(&editor(), ("form" + std::to_string(size_t(which))).c_str());
    }
    std::string line() { return probe::text(&editor(), "lineField"); }
    std::string help() { return probe::text(&editor(), "helpBox"); }
    void keys(const std::string& text, unsigned long step) {
        for (char c : text) {
            const bool enter = c == '\n';
            QKeyEvent event(QEvent::KeyPress, enter ? Qt::Key_Return : static_cast<Qt::Key>(c),
                            Qt::NoModifier, enter ? QString("\r") : QString(QChar(c)));
            event.setTimestamp(m_time += step);
            QApplication::sendEvent(focus(), &event);
        }
        QApplication::processEvents();
        m_time += 1000;
    }
    unsigned long m_time = 100000;
};

} // namespace

// A scanned code with a wrong check digit is refused in the form's code field
// and in the entry line; a right one moves on; a person may type any digits.
TEST(PriceListScan, MisreadCodesAreRefusedOnlyWhenScanned) {
    ScanEditorFixture f;
    PriceListScreen& e = f.editor();
    ASSERT_EQ(f.focus(), f.field(PriceLineField::Code));
    const std::string before = f.help();

    f.keys("4006381333932\n", 5); // the check digit is 1
    EXPECT_EQ(f.focus(), f.field(PriceLineField::Code));
    EXPECT_EQ(f.text(PriceLineField::Code), "");
    EXPECT_EQ(f.help(), "Bar code misread: scan again");
    EXPECT_TRUE(f.dialogs.shown.empty());

    f.keys("4006381333931\n", 5); // the next key takes the warning away
    EXPECT_EQ(f.help(), before);
    EXPECT_EQ(f.text(PriceLineField::Code), "4006381333931");
    EXPECT_EQ(f.focus(), f.field(PriceLineField::Description));

    QTest::keyClick(f.focus(), Qt::Key_Escape); // the form closes, empty
    QApplication::processEvents();
    probe::widget(&e, "lineField")->setFocus();
    f.keys("4006381333932\n", 150); // typed: no check digit rule
    EXPECT_EQ(f.line(), "4006381333932");
    EXPECT_EQ(f.dialogs.texts(), std::vector<std::string>{"This line is not compleet!"});
    f.dialogs.shown.clear();

    probe::widget<QLineEdit>(&e, "lineField")->clear();
    f.keys("4006381333932\n", 5);
    EXPECT_EQ(f.line(), "");
    EXPECT_EQ(f.help(), "Bar code misread: scan again");
    // A right code scanned into the entry line starts its line in the form.
    f.keys("4006381333931\n", 5);
    EXPECT_TRUE(probe::widget(&e, "entryForm")->isVisible());
    EXPECT_EQ(f.text(PriceLineField::Code), "4006381333931");
    EXPECT_EQ(f.focus(), f.field(PriceLineField::Description));
    EXPECT_TRUE(f.dialogs.shown.empty());
}
