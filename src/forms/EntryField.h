#pragma once

#include <QLineEdit>

#include <functional>

class Dialogs;

// A single-line entry field with the events the screens are written against:
// the cursor entering and leaving (dispatched by the screen, see ZorviScreen),
// key down (the key and shift state, before anything else; setting the key to
// 0 discards the keystroke) and key press (the character, which the handler
// may replace, or drop by setting it to 0). Fields are never reached with
// Tab; the handlers move the cursor.
class EntryField : public QLineEdit {
    Q_OBJECT
  public:
    EntryField(Dialogs& dialogs, QWidget* parent = nullptr);

    std::function<void()> onEnter;
    std::function<void()> onExit;
    std::function<void(int& key, Qt::KeyboardModifiers modifiers)> onKeyDown;
    std::function<void(char& key)> onKeyPress;

    // The field turns white when the cursor leaves it, and does nothing else then.
    void whiteWhenLeft();

    // Letters the handlers let through are shown as capitals.
    void setUpperCase(bool on) { m_upperCase = on; }

    // Text arriving otherwise than by a key (a middle-button paste, an input
    // method) is typed character by character through the same handlers, so
    // it obeys the field's key rules.
    void typeText(const QString& text);
    // Types one character as if its key had been pressed now.
    void typeKey(char key) { typeCharacter(key, nullptr); }
    // When the key being handled was pressed, in milliseconds of the event
    // clock; 0 when unknown (text pasted, or a key made up by a program).
    unsigned long keyTime() const { return m_keyTime; }

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // One typed character through the key-press handler and the field rules.
    void typeCharacter(char key, QKeyEvent* event);
    void cutTyping();
    void undoTyping();

    Dialogs& m_dialogs;
    bool m_upperCase = false;
    unsigned long m_keyTime = 0;
};

// The character code a key event stands for: Enter 13, Esc 27, Backspace 8,
// a Windows-1252 character, or 0 for keys that type nothing.
char KeyCharacter(const QKeyEvent* event);
