#include "platform/QtPrintDialog.h"

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>

bool QtPrintDialog::choose() {
    QPrinter printer;
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}
