#include "forms/FieldColours.h"

#include <QPalette>
#include <QWidget>

namespace FieldColours {

void paint(QWidget* field, const QColor& colour) {
    QPalette p = field->palette();
    p.setColor(QPalette::Base, colour);
    field->setPalette(p);
    field->setAutoFillBackground(true);
}

QColor of(const QWidget* field) {
    return field->palette().color(QPalette::Base);
}

} // namespace FieldColours
