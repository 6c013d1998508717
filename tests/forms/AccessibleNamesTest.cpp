#include "app/MainScreen.h"
#include "forms/EntryField.h"
#include "sales/SalesScreen.h"
#include "setup/SetupScreen.h"
#include "support/ProgramFixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QLineEdit>
#include <QPlainTextEdit>
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
    for (QWidget* screen : {static_cast<QWidget*>(p.Form1), p.Form2, p.Form3, p.Form4, p.Form5,
                            p.Form6, p.Form7, p.Form8}) {
        for (QWidget* w : screen->findChildren<QWidget*>()) {
            if (!operable(w)) continue;
            EXPECT_FALSE(spokenName(w).isEmpty())
                << screen->windowTitle().toStdString() << ": " << w->metaObject()->className()
                << " " << w->objectName().toStdString() << " at " << w->x() << "," << w->y();
        }
    }
    // A field is named by the label beside it, not by one further left in its row.
    auto& sales = *static_cast<SalesScreen*>(p.Form4);
    auto& setup = *static_cast<SetupScreen*>(p.Form2);
    const std::pair<QWidget*, const char*> named[] = {
        {p.Form1->butsale, "Sale"},
        {sales.edquant, "Sales Quantity"},
        {sales.edchange, "Change due"},
        {setup.dispNoched, "Cust. display width"},
    };
    for (auto [w, name] : named)
        EXPECT_EQ(spokenName(w).toStdString(), name);
}
