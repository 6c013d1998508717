// The program block: the application, its screens and the message loop.
#include "app/ProgramBlock.h"
#include "platform/PosixPorts.h"
#include "platform/QtDialogs.h"
#include "platform/QtFileDialog.h"
#include "platform/QtFontDialog.h"
#include "platform/QtPaths.h"
#include "platform/QtPrintDialog.h"
#include "platform/QtSystem.h"
#include "platform/Services.h"

#include <QApplication>

int main(int argc, char** argv) {
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
    ProgramBlock program(services, DataDirectoryOf(QApplication::applicationDirPath()));
    program.show();
    return QApplication::exec();
}
