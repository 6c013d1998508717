#pragma once

#include "forms/ZorviScreen.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <stdexcept>
#include <string>

// A screen's controls found by their roles (their object names), as a test
// reads and presses them.
namespace probe {

template <typename Control = QWidget> Control* widget(const QObject* screen, const char* role) {
    if (auto* c = screen->findChild<Control*>(role)) return c;
    throw std::runtime_error(std::string("no control with the role ") + role);
}

// What a label, field, text box or button shows.
inline std::string text(const QObject* screen, const char* role) {
    QObject* c = widget<QObject>(screen, role);
    if (auto* l = qobject_cast<QLabel*>(c)) return l->text().toStdString();
    if (auto* e = qobject_cast<QLineEdit*>(c)) return e->text().toStdString();
    if (auto* b = qobject_cast<QPlainTextEdit*>(c)) return b->toPlainText().toStdString();
    if (auto* b = qobject_cast<QAbstractButton*>(c)) return b->text().toStdString();
    if (auto* a = qobject_cast<QAction*>(c)) return a->text().toStdString();
    throw std::runtime_error(std::string("no text in ") + role);
}

// The selected part of an entry field's or a text box's text.
inline std::string selected(const QObject* screen, const char* role) {
    if (auto* b = qobject_cast<QPlainTextEdit*>(widget<QObject>(screen, role)))
        return b->textCursor().selectedText().toStdString();
    return widget<QLineEdit>(screen, role)->selectedText().toStdString();
}

inline bool visible(const QObject* screen, const char* role) {
    return widget(screen, role)->isVisible();
}

inline bool enabled(const QObject* screen, const char* role) {
    return widget(screen, role)->isEnabled();
}

// The role of the control the screen has put the cursor into.
inline std::string cursor(const ZorviScreen* screen) {
    return screen->activeControl() ? screen->activeControl()->objectName().toStdString() : "";
}

inline void click(const QObject* screen, const char* role) {
    QTest::mouseClick(widget(screen, role), Qt::LeftButton);
}

} // namespace probe
