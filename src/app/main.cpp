// The program block: the application, its screens and the message loop.
#include "app/ProgramBlock.h"
#include "app/ShopLock.h"
#include "platform/PosixPorts.h"
#include "platform/QtDialogs.h"
#include "platform/QtFileDialog.h"
#include "platform/QtFontDialog.h"
#include "platform/QtPaths.h"
#include "platform/QtPrintDialog.h"
#include "platform/QtScreenScale.h"
#include "platform/QtSystem.h"
#include "platform/Services.h"
#include "store/DateTimeText.h"

#include <QApplication>

int main(int argc, char** argv) {
    ChooseScreenScale(DataDirectoryBeforeStart());
    QApplication app(argc, argv);
    QApplication::setApplicationName("Zorvi5.1");
    QtDialogs dialogs;
    QtClock clock;
    QtRegional regional;
    QtLauncher launcher;
    PosixPorts ports;
    QtScreenInfo screen;
    QtPrintDialog printDialog;
    QtFileDialog fileDialog;
    QtFontDialog fontDialog;
    Services services{dialogs, clock,       regional,   launcher,  ports,
                      screen,  printDialog, fileDialog, fontDialog};
    const std::string dataDir = DataDirectoryOf(QApplication::applicationDirPath());
    // Taken before the screens, whose start-up writes into the shop's files,
    // and let go after them.
    ShopLock shop;
    const std::string refusal =
        shop.take(dataDir, UpdateClockText(LongTimeText(clock.now(), regional.formats())));
    if (!refusal.empty()) {
        dialogs.message(refusal);
        return 1;
    }
    ProgramBlock program(services, dataDir);
    program.show();
    return QApplication::exec();
}
