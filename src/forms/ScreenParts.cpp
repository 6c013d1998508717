#include "forms/ScreenParts.h"

#include <QLabel>
#include <QPlainTextEdit>

namespace ScreenParts {

QFont arial(int pixels, bool bold) {
    QFont f("Arial");
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

QFont lineDraw(int pixels) {
    QFont f;
    f.setFamilies({"MS LineDraw", "Liberation Mono", "DejaVu Sans Mono"});
    f.setStyleHint(QFont::TypeWriter);
    f.setPixelSize(pixels);
    return f;
}

QLabel* promptLine(QWidget* parent, const QColor& colour, const QFont& font) {
    auto* line = new QLabel(parent);
    line->setGeometry(44, 184, 545, 20);
    line->setAlignment(Qt::AlignCenter);
    line->setAutoFillBackground(true);
    line->setFont(font);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, Qt::black);
    p.setColor(QPalette::WindowText, colour);
    line->setPalette(p);
    return line;
}

QPlainTextEdit* readOnlyBox(QWidget* parent, int left, int top, int width, int height) {
    auto* box = new QPlainTextEdit(parent);
    box->setGeometry(left, top, width, height);
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QPlainTextEdit* journal(QWidget* parent) {
    QPlainTextEdit* memo = readOnlyBox(parent, 36, 210, 561, 149);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setFont(lineDraw(12));
    return memo;
}

void setCaption(QLabel* label, const QString& text, const QColor& colour) {
    label->setText(text);
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, colour);
    label->setPalette(p);
}

} // namespace ScreenParts
