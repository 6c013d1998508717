#include "platform/QtDialogs.h"

#include "platform/Cp1252.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>

namespace {

// Keys that reach a box in its first moments were typed for the screen
// behind it, before the cashier could see the box: an Enter meant for a
// field must not answer it. They are dropped with a beep.
class TypeAheadGuard : public QObject {
  public:
    TypeAheadGuard() {
        m_shown.start();
        qApp->installEventFilter(this);
    }
    ~TypeAheadGuard() override { qApp->removeEventFilter(this); }
    TypeAheadGuard(const TypeAheadGuard&) = delete;
    TypeAheadGuard& operator=(const TypeAheadGuard&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (type != QEvent::KeyPress && type != QEvent::KeyRelease &&
            type != QEvent::ShortcutOverride)
            return QObject::eventFilter(watched, event);
        if (m_shown.elapsed() >= QtDialogs::TypeAheadMilliseconds) return false;
        if (type == QEvent::KeyPress && !static_cast<QKeyEvent*>(event)->isAutoRepeat() &&
            watched->isWidgetType())
            QApplication::beep();
        return true;
    }

  private:
    QElapsedTimer m_shown;
};

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
    TypeAheadGuard guard;
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
    TypeAheadGuard guard;
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

std::optional<std::string> QtDialogs::askText(const std::string& text) {
    return ask(text, false);
}

std::optional<std::string> QtDialogs::askSecret(const std::string& text) {
    return ask(text, true);
}

std::optional<std::string> QtDialogs::ask(const std::string& text, bool secret) {
    QInputDialog box(QApplication::activeWindow());
    box.setWindowTitle(QApplication::applicationName());
    box.setLabelText(boxText(text));
    box.setInputMode(QInputDialog::TextInput);
    if (secret) box.setTextEchoMode(QLineEdit::Password);
    TypeAheadGuard guard;
    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return toCp1252(box.textValue());
}

void QtDialogs::beep() {
    QApplication::beep();
}
