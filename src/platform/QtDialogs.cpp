#include "platform/QtDialogs.h"

#include "platform/Cp1252.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QString boxText(const std::string& text) {
    QString s = fromCp1252(text);
    s.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    // A named key in brackets, "[ Yes ]", is one word: the box may wrap a
    // long line, but never inside it.
    s.replace(QLatin1String("[ "), QStringLiteral("[\u00A0"));
    s.replace(QLatin1String(" ]"), QStringLiteral("\u00A0]"));
    return s;
}
} // namespace

void QtDialogs::message(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), boxText(text),
                    QMessageBox::Ok, QApplication::activeWindow());
    box.exec();
}

Dialogs::Answer QtDialogs::confirm(const std::string& text, Buttons buttons,
                                   std::optional<Position> at) {
    QMessageBox::StandardButtons standard;
    switch (buttons) {
    case Buttons::OkCancel:
        standard = QMessageBox::Ok | QMessageBox::Cancel;
        break;
    case Buttons::YesNo:
    case Buttons::YesNoDefaultNo:
        standard = QMessageBox::Yes | QMessageBox::No;
        break;
    case Buttons::RetryCancel:
        standard = QMessageBox::Retry | QMessageBox::Cancel;
        break;
    }
    QMessageBox box(buttons == Buttons::RetryCancel ? QMessageBox::Critical : QMessageBox::Question,
                    QApplication::applicationName(), boxText(text), standard,
                    QApplication::activeWindow());
    if (at) box.move(at->left, at->top);
    if (buttons == Buttons::YesNoDefaultNo) box.setDefaultButton(QMessageBox::No);
    switch (box.exec()) {
    case QMessageBox::Ok:
        return Answer::Ok;
    case QMessageBox::Cancel:
        return Answer::Cancel;
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Retry:
        return Answer::Retry;
    default:
        return Answer::Closed;
    }
}
