#include "forms/ZorviScreen.h"

#include "forms/Guard.h"
#include "platform/Services.h"
#include "store/ProgramState.h"

#include "forms/EntryField.h"
#include "forms/FieldColours.h"
#include "forms/ScreenParts.h"
#include "platform/Cp1252.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

#include <algorithm>

ZorviScreen::ZorviScreen(ProgramState& state, Services& services, QWidget* parent)
    : QWidget(parent), m_state(state), m_services(services), m_help(services.dialogs) {
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // The cursor's moves between controls of this screen are its enter and exit
    // events; focus going to another window (a message box) is not a move.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && now->window() == this) focusChanged(now);
    });
    setFont(ScreenParts::arial(13));
    // The control with the cursor stands out on every screen: a frame of
    // 2 pixels that the other controls keep in grey, so nothing moves when
    // the cursor does.
    setStyleSheet("QPushButton:focus { border: 2px solid #0040c0; border-radius: 3px;"
                  " background: #e8eefc; padding: 2px; }"
                  "QLineEdit { border: 2px solid #a0a0a0; }"
                  "QLineEdit:focus { border: 2px solid #0040c0; }");
    m_frameWatch.setInterval(10);
    connect(&m_frameWatch, &QTimer::timeout, this, [this] { settleFramePosition(); });
}

void ZorviScreen::setClientSize(int width, int height) {
    // A pixel of play: some window managers draw a maximise box whatever the
    // window asks, and carry out its press only on a window that may grow.
    // The press then leaves the screen as the close box does (changeEvent);
    // the layout itself never grows.
    setMinimumSize(width, height);
    setMaximumSize(width + 1, height + 1);
    resize(width, height);
}

void ZorviScreen::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange || !(windowState() & Qt::WindowMaximized))
        return;
    setWindowState(windowState() & ~Qt::WindowMaximized);
    // The window system may echo the state more than once: one press, one exit.
    if (m_maximisePressed) return;
    m_maximisePressed = true;
    QTimer::singleShot(0, this, [this] {
        m_maximisePressed = false;
        close();
    });
}

void ZorviScreen::centre() {
    const QPoint centred = centredFrame();
    placeFrameAt(centred.x(), centred.y());
    // Centred by its client area alone, a window whose frame is not known yet
    // would stand lower by half its title bar; it is centred again once its
    // frame is known.
    m_centring = m_pendingFrame.has_value();
}

QPoint ZorviScreen::centredFrame() const {
    const QRect frame = frameNow();
    // A window larger than the display keeps its title bar on it.
    return {std::max(0, (m_services.screen.width() - frame.width()) / 2),
            std::max(0, (m_services.screen.height() - frame.height()) / 2)};
}

void ZorviScreen::rememberPosition() {
    const QPoint frame = frameNow().topLeft();
    m_state.window.WindowLeft = frame.x();
    m_state.window.WindowTop = frame.y();
}

QMargins ZorviScreen::windowFrame() const {
    const QWindow* window = windowHandle();
    return window ? window->frameMargins() : QMargins();
}

// The widget learns of its frame only when the window moves, which the window
// manager's framing need not do; the window itself knows it at once.
QRect ZorviScreen::frameNow() const {
    const QWindow* window = windowHandle();
    return window ? window->frameGeometry() : frameGeometry();
}

void ZorviScreen::moveFrameTo(QPoint wanted) {
    create();
    const QMargins frame = windowFrame();
    // The widget gives the window its own record of its place again when it
    // is shown, so the place goes through the widget.
    setGeometry(QRect(wanted + QPoint(frame.left(), frame.top()), size()));
    // Not framed yet: the window manager is asked to put the frame there.
    if (frame.isNull()) windowHandle()->setFramePosition(wanted);
}

void ZorviScreen::placeFrameAt(int left, int top) {
    moveFrameTo(QPoint(left, top));
    m_centring = false;
    if (!windowFrame().isNull()) {
        // The frame is known: the window stands where it was put.
        m_pendingFrame.reset();
        return;
    }
    // Before the window manager has framed the window its frame is unknown;
    // the position is set right once the frame is known (no event tells
    // when; a platform without frames never gets one).
    m_pendingFrame.emplace(left, top);
    m_frameWatchTicks = 0;
    m_frameHeldTicks = 0;
    m_frameWatch.start();
}

void ZorviScreen::settleFramePosition() {
    const bool framed = !windowFrame().isNull();
    if (!m_pendingFrame || !isVisible() || ++m_frameWatchTicks > FrameWaitLimit ||
        (framed && ++m_frameHeldTicks > FrameHoldLimit)) {
        m_pendingFrame.reset();
        m_centring = false;
        m_frameWatchTicks = 0;
        m_frameHeldTicks = 0;
        m_frameWatch.stop();
        return;
    }
    if (!framed) return;
    if (m_centring) m_pendingFrame = centredFrame();
    // The window manager may still place the window its own way just after
    // framing it, so the position is held for a short while, not set once.
    if (frameNow().topLeft() != *m_pendingFrame) moveFrameTo(*m_pendingFrame);
}

void ZorviScreen::handOverTo(QWidget* other) {
    rememberPosition();
    hide();
    other->show();
    other->activateWindow();
}

void ZorviScreen::leaveToMain() {
    if (m_main) handOverTo(m_main);
}

void ZorviScreen::guarded(const std::function<void()>& handler) {
    RunGuarded(m_services.dialogs, handler);
}

void ZorviScreen::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    if (followsSharedPosition()) placeFrameAt(m_state.window.WindowLeft, m_state.window.WindowTop);
    // A screen shown again starts afresh: the field it is sent to gets its
    // enter event even if the cursor was last there.
    m_activeControl = nullptr;
    guarded([this] { FormActivate(); });
}

void ZorviScreen::keyPressEvent(QKeyEvent* event) {
    // Enter presses the button with the cursor, as Space does.
    auto* button = qobject_cast<QPushButton*>(focusWidget());
    if (button && button->window() == this && button->isEnabled() && button->isVisible() &&
        (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        event->accept();
        button->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void ZorviScreen::closeEvent(QCloseEvent* event) {
    // The close button is this screen's way out, so a window always stays shown.
    event->ignore();
    if (m_exitButton && !m_exitButton->isEnabled()) return;
    guarded([this] { leaveToMain(); });
}

void ZorviScreen::moveTo(QWidget* control) {
    focusChanged(control);
    control->setFocus();
}

void ZorviScreen::focusChanged(QWidget* now) {
    if (now == m_activeControl) return;
    QWidget* old = m_activeControl;
    m_activeControl = now;
    if (auto* field = qobject_cast<EntryField*>(old); field && field->onExit)
        guarded(field->onExit);
    // An exit handler may already have sent the cursor elsewhere.
    if (m_activeControl != now) return;
    if (auto* field = qobject_cast<EntryField*>(now); field && field->onEnter)
        guarded(field->onEnter);
}

void ZorviScreen::bindAccelerator(QAbstractButton* button, const std::function<void()>& handler) {
    QKeySequence key = QKeySequence::mnemonic(button->text());
    button->setShortcut(QKeySequence());
    auto* shortcut = new QShortcut(key, this);
    connect(shortcut, &QShortcut::activated, this, [this, button, handler] {
        if (button->isEnabled() && button->isVisible()) guarded(handler);
    });
    connect(button, &QAbstractButton::clicked, this, [this, handler] { guarded(handler); });
}

EntryField* ZorviScreen::addField(QLabel*& label, const char* caption, int top, int left, int width,
                                  int maxLength) {
    auto* field = new EntryField(m_services.dialogs, this);
    field->setGeometry(left + 180, top, width, 24);
    field->setFont(ScreenParts::arial(15));
    if (maxLength > 0) field->setMaxLength(maxLength);
    field->setFocusPolicy(Qt::NoFocus);
    if (caption) {
        label = new QLabel(caption, this);
        label->setGeometry(left, top + 4, 178, 18);
    }
    FieldColours::paint(field, FieldColours::Left);
    return field;
}

void ZorviScreen::prompt(QLabel* promptLine, size_t index) {
    promptLine->setText(fromCp1252(m_help.line(index)));
}

void ZorviScreen::helpMessage(size_t index) {
    m_services.dialogs.message(m_help.line(index));
}

void ZorviScreen::nameRoles(std::initializer_list<std::pair<QObject*, const char*>> roles) {
    for (const auto& [control, role] : roles)
        control->setObjectName(role);
}
