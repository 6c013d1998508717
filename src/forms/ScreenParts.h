#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QLabel;
class QPlainTextEdit;
class QWidget;

// The pieces the entry screens are built from, so every screen looks alike.
namespace ScreenParts {
QFont arial(int pixels, bool bold = false);
// The journal's fixed-pitch face, where the shop has no line-draw font.
QFont lineDraw(int pixels);
// A prompt line: centred text of the given colour on black.
QLabel* promptLine(QWidget* parent, const QColor& colour, const QFont& font);
// A box of text the operator reads but never types in or moves the cursor to.
QPlainTextEdit* readOnlyBox(QWidget* parent, int left, int top, int width, int height);
// A read-only journal below the prompt line.
QPlainTextEdit* journal(QWidget* parent);
void setCaption(QLabel* label, const QString& text, const QColor& colour);
} // namespace ScreenParts
