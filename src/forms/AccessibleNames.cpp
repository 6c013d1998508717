#include "forms/AccessibleNames.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <algorithm>

namespace {

// The label's text as it is read out: without the accelerator's "&".
QString spoken(const QLabel* label) {
    const QString text = label->text();
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('&') && i + 1 < text.size()) ++i;
        out.append(text[i]);
    }
    return out.simplified();
}

bool sameRow(const QRect& a, const QRect& b) {
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

bool isField(const QWidget* w) {
    return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QPlainTextEdit*>(w);
}

const QLabel* labelOf(const QWidget* field) {
    const QRect f = field->geometry();
    const QList<QWidget*> siblings =
        field->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    // The right edge of the nearest other field on the left in the row: a
    // label left of it is that field's.
    int fence = -1;
    for (const QWidget* w : siblings) {
        const QRect g = w->geometry();
        if (w != field && isField(w) && sameRow(g, f) && g.right() < f.left())
            fence = std::max(fence, g.right());
    }
    const QLabel* beside = nullptr;
    for (const QWidget* w : siblings) {
        const auto* label = qobject_cast<const QLabel*>(w);
        if (!label) continue;
        if (label->buddy() == field) return label;
        const QRect g = label->geometry();
        if (label->isHidden() || spoken(label).isEmpty() || !sameRow(g, f) ||
            g.right() >= f.left() || g.left() <= fence)
            continue;
        if (!beside || g.right() > beside->geometry().right()) beside = label;
    }
    return beside;
}

} // namespace

void NameFieldsByTheirLabels(QWidget* screen) {
    for (QWidget* field : screen->findChildren<QWidget*>()) {
        if (!isField(field) || !field->accessibleName().isEmpty() || !field->parentWidget())
            continue;
        if (const QLabel* label = labelOf(field)) field->setAccessibleName(spoken(label));
    }
}
