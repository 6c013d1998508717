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
#include <QLabel>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

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
    m_frameWatch.setInterval(10);
    connect(&m_frameWatch, &QTimer::timeout, this, [this] { settleFramePosition(); });
}

void ZorviScreen::setClientSize(int width, int height) {
    setFixedSize(width, height);
}

void ZorviScreen::centre() {
    const QRect frame = frameGeometry();
    placeFrameAt((m_services.screen.width() - frame.width()) / 2,
                 (m_services.screen.height() - frame.height()) / 2);
}

void ZorviScreen::rememberPosition() {
    const QPoint frame = frameGeometry().topLeft();
    m_state.window.WindowLeft = frame.x();
    m_state.window.WindowTop = frame.y();
}

void ZorviScreen::placeFrameAt(int left, int top) {
    const QPoint wanted(left, top);
    if (frameGeometry() != geometry()) {
        // The frame is known: a window's position is its frame's.
        move(wanted);
        return;
    }
    // Before the window manager has framed the window its frame is unknown;
    // the position is asked for now and set right once the frame is known
    // (no event tells when; a platform without frames never gets one).
    create();
    windowHandle()->setFramePosition(wanted);
    m_pendingFrame = wanted;
    m_frameWatchTicks = 0;
    m_frameWatch.start();
}

void ZorviScreen::settleFramePosition() {
    if (!m_pendingFrame || !isVisible() || ++m_frameWatchTicks > FrameWatchLimit) {
        m_pendingFrame.reset();
        m_frameWatchTicks = 0;
        m_frameWatch.stop();
        return;
    }
    // The window manager may still place the window its own way just after
    // framing it, so the position is held for a short while, not set once.
    if (frameGeometry() != geometry() && frameGeometry().topLeft() != *m_pendingFrame)
        move(*m_pendingFrame);
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
