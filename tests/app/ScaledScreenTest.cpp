// The screens drawn larger for a large display. Qt takes its scale when the
// application starts, so these tests run in a program of their own, started
// as the program starts: the shop's Options.dat asks for twice the size.
#include "app/MainScreen.h"
#include "platform/QtScreenScale.h"
#include "platform/QtSystem.h"
#include "support/ProgramFixture.h"
#include "support/ScreenProbe.h"

#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

// How many rows of the image hold the label's red text.
int inkHeight(const QImage& image) {
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 60 && c.blue() < 60) {
                if (first < 0) first = y;
                last = y;
                break;
            }
        }
    return first < 0 ? 0 : last - first + 1;
}

} // namespace

TEST(ScaledScreens, ScaleTwoDrawsTheLayoutAndItsFontsAtTwiceTheirSize) {
    EXPECT_EQ(QtScreenInfo().scale(), 2.0);
    ProgramFixture f;
    f.writeTestShop();
    f.start();
    MainScreen& main = f.main();
    // The layout keeps its own units; the display gets twice the pixels.
    EXPECT_EQ(main.size(), QSize(632, 423));
    EXPECT_EQ(main.grab().size(), QSize(1264, 846));
    QLabel* title = probe::widget<QLabel>(&main, "logoLabel");
    const int drawn = inkHeight(title->grab().toImage());
    const int laidOut = QFontMetrics(title->font()).tightBoundingRect("ZORVI").height();
    EXPECT_GT(laidOut, 60);
    EXPECT_NEAR(drawn, 2 * laidOut, 3);
}

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TZ", "UTC");
    {
        TestDir shop;
        shop.write("Options.dat", "scale=2\r\n");
        ChooseScreenScale(shop.path());
    }
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
