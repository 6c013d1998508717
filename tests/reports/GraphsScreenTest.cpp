#include "reports/GraphsScreen.h"
#include "app/MainScreen.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QChartView>
#include <gtest/gtest.h>

namespace {

double barSum(GraphsScreen* s) {
    auto* bars = qobject_cast<QBarSeries*>(
        probe::widget<QChartView>(s, "chartView")->chart()->series().at(0));
    double sum = 0;
    for (int i = 0; i < bars->barSets().at(0)->count(); ++i)
        sum += bars->barSets().at(0)->at(i);
    return sum;
}

void openGraphs(ProgramFixture& f) {
    probe::click(&f.main(), "menuButton");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_G, Qt::AltModifier);
    QApplication::processEvents();
}

} // namespace

TEST(GraphsScreen, ChartsOpenFromTheMenuTurnWithTheArrowsAndPrint) {
    ProgramFixture f;
    f.writeTestShop();
    f.writeConfiguration(f.config);
    f.start();
    GraphsScreen* s = f.program->graphs;

    // A shop that has sold nothing yet says so, and prints nothing.
    openGraphs(f);
    ASSERT_TRUE(s->isVisible());
    EXPECT_TRUE(probe::visible(s, "emptyLabel"));
    EXPECT_EQ(probe::text(s, "emptyLabel"), "no sales in this period");
    QTest::keyClick(s, Qt::Key_P);
    EXPECT_EQ(f.dialogs.texts().back(), "no sales in this period");
    EXPECT_TRUE(f.printDialog.pictures.empty());
    QTest::keyClick(s, Qt::Key_Escape);
    EXPECT_FALSE(s->isVisible());
    EXPECT_TRUE(f.main().isVisible());

    // Two sales of an archived day, by two sales persons in two hours.
    f.dir.write("Res2026Dez.04",
                crlf({"* START of SALE   04/12/26 9:00:",
                      "A BREAD             2.00       1.10         2.25         2.25          4.50",
                      "# Total*** 9:10    4.50     0.00     0.00             0.00        4.50     "
                      "   5.00  0.50",
                      "B MILK              3.00       0.50         0.85         0.85          2.55",
                      "# Total***11:40    2.55     0.00     0.00             0.00        2.55     "
                      "   2.55  0.00"}));
    openGraphs(f);
    ASSERT_TRUE(s->isVisible());
    EXPECT_FALSE(probe::visible(s, "emptyLabel"));
    EXPECT_EQ(s->shownChart(), 0);
    EXPECT_DOUBLE_EQ(barSum(s), 7.05);
    // Right from the first chart to each in turn, Left from the first to the last.
    const double sums[] = {7.05, 7.05, 7.05, 7.05, 7.05, 5.00};
    for (int i = 1; i < GraphsScreen::ChartCount; ++i) {
        QTest::keyClick(s, Qt::Key_Right);
        EXPECT_EQ(s->shownChart(), i);
        EXPECT_NEAR(barSum(s), sums[i], 1e-9) << s->shownTitle().toStdString();
    }
    QTest::keyClick(s, Qt::Key_Right);
    EXPECT_EQ(s->shownChart(), 0);
    QTest::keyClick(s, Qt::Key_Left);
    EXPECT_EQ(s->shownTitle(), "The 20 best-selling articles by quantity");

    QTest::keyClick(s, Qt::Key_P);
    ASSERT_EQ(f.printDialog.pictures.size(), 1u);
    EXPECT_EQ(f.printDialog.pictures[0].title, "The 20 best-selling articles by quantity");
    EXPECT_EQ(f.printDialog.pictures[0].png.substr(1, 3), "PNG");
    EXPECT_EQ(f.dialogs.texts().back(),
              "No printer is installed.\rThe chart was printed to " + f.dir.path() + "Graph.pdf");
    QTest::keyClick(s, Qt::Key_Escape);
    EXPECT_TRUE(f.main().isVisible());
}
