#include "platform/QtSystem.h"
#include "platform/Cp1252.h"
#include "platform/QtDialogs.h"
#include "store/AmountText.h"
#include "store/DateTimeText.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

TEST(QtRegional, TheCLocaleStillGivesSensibleTexts) {
    QLocale::setDefault(QLocale::c());
    RegionalFormats f = QtRegional().formats();
    if (QLocale::system().language() != QLocale::C) GTEST_SKIP() << "the system locale is not C";
    EXPECT_EQ(f.decimalSeparator, '.');
    EXPECT_EQ(ShortDateText({2026, 3, 4, 9, 5, 7}, f), "04/03/26");
    EXPECT_EQ(LongTimeText({2026, 3, 4, 9, 5, 7}, f), "9:05:07");
    std::string amount = CurrencyText(-1234.5, f);
    EXPECT_NE(amount.find("1"), std::string::npos);
    EXPECT_NE(amount.find("234.50"), std::string::npos);
    EXPECT_EQ(amount.front(), '-');
}

TEST(Cp1252, RoundTripsItsOwnCharactersAndDropsOthers) {
    std::string bytes = "Caf\xe9 \x80 5 \x96 x";
    QString text = fromCp1252(bytes);
    EXPECT_EQ(text, QString::fromUtf8("Café € 5 – x"));
    EXPECT_EQ(toCp1252(text), bytes);
    EXPECT_EQ(toCp1252(QString::fromUtf8("a\u4e2db")), "ab");
    EXPECT_FALSE(isCp1252(QChar(0x4e2d)));
    std::string all;
    for (int b = 0; b < 256; ++b)
        all.push_back(static_cast<char>(b));
    EXPECT_EQ(toCp1252(fromCp1252(all)), all);
}

TEST(QtDialogs, KeysTypedAheadDoNotAnswerABox) {
    // An Esc as soon as the box is there would answer No; it is dropped, and
    // the Enter after the guard's time answers with the default button.
    QElapsedTimer sinceBox;
    QTimer poll;
    poll.setInterval(5);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) return;
        if (!sinceBox.isValid()) {
            sinceBox.start();
            QTest::keyClick(box, Qt::Key_Escape);
        } else if (sinceBox.elapsed() > QtDialogs::TypeAheadMilliseconds + 100) {
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    poll.start();
    QtDialogs dialogs;
    EXPECT_EQ(dialogs.confirm("Go on?", Dialogs::Buttons::YesNo), Dialogs::Answer::Yes);
}
