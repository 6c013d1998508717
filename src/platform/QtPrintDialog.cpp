#include "platform/QtPrintDialog.h"

#include "platform/Cp1252.h"
#include "platform/QtFontDialog.h"
#include "platform/QtPaths.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

bool QtPrintDialog::choose() {
    QPrinter printer;
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

PrintDialog::Outcome QtPrintDialog::printText(const TextDocument& document) {
    QPrinter printer;
    const bool noPrinter = QPrinterInfo::availablePrinters().isEmpty();
    const QString pdf = fromNativePath(document.pdfPath);
    if (noPrinter) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    } else {
        QPrintDialog dialog(&printer, QApplication::activeWindow());
        if (dialog.exec() != QDialog::Accepted) return Outcome::Cancelled;
    }
    printer.setDocName(fromCp1252(document.title));
    QTextDocument text;
    text.setDefaultFont(QtFontDialog::toQFont(document.font));
    text.setPlainText(fromCp1252(document.text));
    text.print(&printer);
    if (noPrinter) return QFileInfo::exists(pdf) ? Outcome::PrintedToPdf : Outcome::Failed;
    return printer.printerState() == QPrinter::Error ? Outcome::Failed : Outcome::Printed;
}
