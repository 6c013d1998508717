#include "platform/QtPrintDialog.h"

#include "platform/Cp1252.h"
#include "platform/QtFontDialog.h"
#include "platform/QtPaths.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTextDocument>

namespace {

// Without a printer installed the output goes to the PDF file; with one, the
// operator chooses it (the dialog also lists "Print to File (PDF)"). False
// when the operator cancels.
bool aimPrinter(QPrinter& printer, bool noPrinter, const QString& pdf) {
    if (noPrinter) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return true;
    }
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

bool QtPrintDialog::choose() {
    QPrinter printer;
    QPrintDialog dialog(&printer, QApplication::activeWindow());
    return dialog.exec() == QDialog::Accepted;
}

PrintDialog::Outcome QtPrintDialog::printText(const TextDocument& document) {
    QPrinter printer;
    const bool noPrinter = QPrinterInfo::availablePrinters().isEmpty();
    const QString pdf = fromNativePath(document.pdfPath);
    if (!aimPrinter(printer, noPrinter, pdf)) return Outcome::Cancelled;
    printer.setDocName(fromCp1252(document.title));
    QTextDocument text;
    text.setDefaultFont(QtFontDialog::toQFont(document.font));
    text.setPlainText(fromCp1252(document.text));
    text.print(&printer);
    if (noPrinter) return QFileInfo::exists(pdf) ? Outcome::PrintedToPdf : Outcome::Failed;
    return printer.printerState() == QPrinter::Error ? Outcome::Failed : Outcome::Printed;
}

PrintDialog::Outcome QtPrintDialog::printPicture(const PictureDocument& document) {
    QImage picture;
    if (!picture.loadFromData(reinterpret_cast<const uchar*>(document.png.data()),
                              static_cast<int>(document.png.size()), "PNG"))
        return Outcome::Failed;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(picture.width() > picture.height() ? QPageLayout::Landscape
                                                                  : QPageLayout::Portrait);
    const bool noPrinter = QPrinterInfo::availablePrinters().isEmpty();
    const QString pdf = fromNativePath(document.pdfPath);
    if (!aimPrinter(printer, noPrinter, pdf)) return Outcome::Cancelled;
    printer.setDocName(fromCp1252(document.title));
    QPainter painter;
    if (!painter.begin(&printer)) return Outcome::Failed;
    const QRect page = painter.viewport();
    const QSize size = picture.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawImage(QRect(page.topLeft(), size), picture);
    painter.end();
    if (printer.outputFormat() == QPrinter::PdfFormat)
        return QFileInfo::exists(printer.outputFileName()) ? Outcome::PrintedToPdf
                                                           : Outcome::Failed;
    return printer.printerState() == QPrinter::Error ? Outcome::Failed : Outcome::Printed;
}
