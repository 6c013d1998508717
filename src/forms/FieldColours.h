#pragma once

#include <QColor>

class QWidget;

// The field with the cursor is coloured by what it asks for; a field the
// cursor has left is white again.
namespace FieldColours {
inline const QColor Entry = QColor(0, 255, 255);    // aqua
inline const QColor Confirm = QColor(255, 0, 0);    // red: a Y/N question
inline const QColor NewArticle = QColor(0, 255, 0); // lime
inline const QColor Left = QColor(255, 255, 255);   // white

void paint(QWidget* field, const QColor& colour);
QColor of(const QWidget* field);
} // namespace FieldColours
