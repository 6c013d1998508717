#include "forms/EntryField.h"

#include "forms/FieldColours.h"
#include "forms/Guard.h"
#include "platform/Cp1252.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

char KeyCharacter(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return '\r';
    case Qt::Key_Escape:
        return '\x1b';
    case Qt::Key_Backspace:
        return '\b';
    default:
        break;
    }
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return 0;
    QString text = event->text();
    if (text.size() != 1 || !isCp1252(text[0]) || text[0].unicode() < 32) return 0;
    return toCp1252(text)[0];
}

EntryField::EntryField(Dialogs& dialogs, QWidget* parent) : QLineEdit(parent), m_dialogs(dialogs) {
    setFocusPolicy(Qt::ClickFocus);
    // Dropped and menu-pasted text would skip the key rules.
    setAcceptDrops(false);
    setContextMenuPolicy(Qt::NoContextMenu);
}

void EntryField::typeCharacter(char key, QKeyEvent* event) {
    char original = key;
    if (onKeyPress) onKeyPress(key);
    if (m_upperCase && key >= 'a' && key <= 'z') key = static_cast<char>(key - 32);
    if (key == 0 || key == '\r' || key == '\x1b') return;
    if (key == '\b') {
        if (!isReadOnly()) backspace();
        return;
    }
    if (isReadOnly()) return;
    if (event && key == original && !m_upperCase) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    insert(fromCp1252(std::string(1, key)));
}

void EntryField::typeText(const QString& text) {
    m_keyTime = 0;
    RunGuarded(m_dialogs, [&] {
        for (QChar c : text) {
            // Line ends and tabs in pasted text type nothing.
            if (!isCp1252(c) || c.unicode() < 32) continue;
            typeCharacter(toCp1252(QString(c))[0], nullptr);
        }
    });
}

// The handlers see a cut as Backspaces from the end of the selection, so a
// field that follows its text key by key stays in step with it.
void EntryField::cutTyping() {
    if (!hasSelectedText()) return;
    copy();
    const int count = static_cast<int>(selectedText().size());
    const int end = selectionStart() + count;
    deselect();
    setCursorPosition(end);
    RunGuarded(m_dialogs, [&] {
        for (int i = 0; i < count; ++i)
            typeCharacter('\b', nullptr);
    });
}

// An undo is typed, too: the field's text is erased with Backspaces and the
// text before the last change typed again through the key rules.
void EntryField::undoTyping() {
    const QString now = text();
    undo();
    const QString before = text();
    redo();
    if (before == now) return;
    setCursorPosition(static_cast<int>(now.size()));
    RunGuarded(m_dialogs, [&] {
        for (qsizetype i = 0; i < now.size(); ++i)
            typeCharacter('\b', nullptr);
    });
    typeText(before);
}

void EntryField::inputMethodEvent(QInputMethodEvent* event) {
    typeText(event->commitString());
    event->accept();
}

void EntryField::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton) {
        if (hasFocus()) typeText(QGuiApplication::clipboard()->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void EntryField::keyPressEvent(QKeyEvent* event) {
    m_keyTime = event->timestamp();
    // A paste types its text through the key rules; a copy is harmless.
    if (event->matches(QKeySequence::Paste)) {
        if (!isReadOnly()) typeText(QGuiApplication::clipboard()->text());
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Copy)) {
        copy();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::SelectAll)) {
        selectAll();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo)) {
        if (!isReadOnly()) {
            if (event->matches(QKeySequence::Cut))
                cutTyping();
            else
                undoTyping();
        }
        event->accept();
        return;
    }
    bool handled = false;
    RunGuarded(m_dialogs, [&] {
        int code = event->key();
        if (onKeyDown) onKeyDown(code, event->modifiers());
        if (code == 0) {
            handled = true;
            return;
        }
        char key = KeyCharacter(event);
        if (key == 0) return;
        handled = true;
        typeCharacter(key, event);
    });
    // Keys that type nothing only move the cursor within the field.
    static const int Moves[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End,
                                Qt::Key_Delete};
    if (!handled && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) &&
        std::find(std::begin(Moves), std::end(Moves), event->key()) != std::end(Moves))
        QLineEdit::keyPressEvent(event);
    else if (!handled)
        event->ignore();
}

void EntryField::whiteWhenLeft() {
    onExit = [this] { FieldColours::paint(this, FieldColours::Left); };
}
