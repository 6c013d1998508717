#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "sales/SalesScreen.h"
#include "setup/SetupScreen.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QAccessible>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

// What a screen reader says for the control.
QString spokenName(QWidget* w) {
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
    return a ? a->text(QAccessible::Name) : QString();
}

// Every control the operator can act in: buttons, entry fields and the text
// boxes that take the cursor (a journal that only shows lines is read out as
// text, without a name).
bool operable(QWidget* w) {
    if (w->objectName().startsWith("qt_")) return false; // Qt's own parts of a menu bar
    if (auto* box = qobject_cast<QPlainTextEdit*>(w))
        return !box->isReadOnly() || box->focusPolicy() != Qt::NoFocus;
    return qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w);
}

} // namespace

TEST(AccessibleNames, EveryFieldAndButtonOfEveryScreenIsNamed) {
    ProgramFixture f;
    f.writeTestShop();
    f.start();
    ProgramBlock& p = *f.program;
    // The eight screens of old; the cash-up screen names its fields as it shows them.
    const std::vector<QWidget*> screens = p.screens();
    for (QWidget* screen : std::vector<QWidget*>(screens.begin(), screens.begin() + 8)) {
        for (QWidget* w : screen->findChildren<QWidget*>()) {
            if (!operable(w)) continue;
            EXPECT_FALSE(spokenName(w).isEmpty())
                << screen->windowTitle().toStdString() << ": " << w->metaObject()->className()
                << " " << w->objectName().toStdString() << " at " << w->x() << "," << w->y();
        }
    }
    // A field is named by the label beside it, not by one further left in its row.
    auto& sales = *p.sales;
    auto& setup = *p.setup;
    const std::pair<QWidget*, const char*> named[] = {
        {probe::widget<QPushButton>(p.main, "saleButton"), "Sale"},
        {probe::widget<EntryField>(&sales, "quantityField"), "Sales Quantity"},
        {probe::widget<EntryField>(&sales, "changeField"), "Change due"},
        {probe::widget<EntryField>(&setup, "displayWidthField"), "Cust. display width"},
    };
    for (auto [w, name] : named)
        EXPECT_EQ(spokenName(w).toStdString(), name);
}
