#pragma once

#include "forms/HelpLines.h"

#include <QTimer>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <optional>
#include <utility>

class QAbstractButton;
class QLabel;
class EntryField;

struct ProgramState;
struct Services;

// What every screen shares: the program's state and services, taking the
// shared window position when shown, handing over to another screen, and
// the window's close button acting as the screen's own way out.
class ZorviScreen : public QWidget {
    Q_OBJECT
  public:
    ZorviScreen(ProgramState& state, Services& services, QWidget* parent = nullptr);

    // The screen that the others return to.
    void setMainScreen(QWidget* main) { m_main = main; }
    // Stores this screen's position, hides it and shows the other screen.
    void handOverTo(QWidget* other);
    // Hides this screen and shows the main screen again.
    virtual void leaveToMain();
    // Runs a handler; a data file error is shown and abandons it.
    void guarded(const std::function<void()>& handler);
    // Puts the cursor into a control: the field it leaves gets its exit event
    // and the new one its enter event, at once, as the handlers expect.
    void moveTo(QWidget* control);
    QWidget* activeControl() const { return m_activeControl; }
    // Alt with the underlined letter presses the button at once (a button's
    // own accelerator clicks only after a short animation, by which time a
    // scanner may have typed a whole code).
    void bindAccelerator(QAbstractButton* button, const std::function<void()>& handler);
    // The close button does what this button would do now: nothing while it
    // is disabled (a sale or an expense with lines must be finished first).
    void setExitButton(QAbstractButton* button) { m_exitButton = button; }

  protected:
    // Runs each time the screen is shown, after it has taken the shared position.
    virtual void FormActivate() {}
    // Whether the screen moves to the shared position when shown.
    virtual bool followsSharedPosition() const { return true; }
    void setClientSize(int width, int height);
    // Gives each control its role as its object name, the name by which the
    // tests find it.
    static void nameRoles(std::initializer_list<std::pair<QObject*, const char*>> roles);
    // An entry field with its label to the left, as every entry screen lays
    // them out. Only the handlers move the cursor into a field: a click must
    // not skip a step of a booking.
    EntryField* addField(QLabel*& label, const char* caption, int top, int left, int width,
                         int maxLength);
    // Shows help line `index` in the screen's prompt line, or as a message.
    void prompt(QLabel* promptLine, size_t index);
    void helpMessage(size_t index);
    void centre();
    // The shared position is that of the whole window, frame included, as the
    // shops' screens have always been placed: a title bar never climbs off the
    // top of the display, and the position stays put however often the
    // screens change.
    void rememberPosition();
    void placeFrameAt(int left, int top);
    // The window's frame where it stands now, as far as it is known.
    QRect frameNow() const;

    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

    ProgramState& m_state;
    Services& m_services;
    HelpLines m_help;

  private:
    void focusChanged(QWidget* now);

    QMargins windowFrame() const;
    void moveFrameTo(QPoint wanted);
    void settleFramePosition();
    // Where the frame stands centred on the display, as far as the frame is known.
    QPoint centredFrame() const;

    // Ticks of 10 ms: how long a busy window manager may take to frame a
    // window, and how long the position is held once it has.
    static constexpr int FrameWaitLimit = 500;
    static constexpr int FrameHoldLimit = 50;
    std::optional<QPoint> m_pendingFrame;
    bool m_centring = false;        // the pending position is the centre, once the frame is known
    bool m_maximisePressed = false; // a press of the maximise box waits to leave
    QTimer m_frameWatch;
    int m_frameWatchTicks = 0;
    int m_frameHeldTicks = 0;
    QWidget* m_main = nullptr;
    QWidget* m_activeControl = nullptr;
    QAbstractButton* m_exitButton = nullptr;
};
