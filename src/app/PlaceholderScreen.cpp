#include "app/PlaceholderScreen.h"

#include "store/ProgramState.h"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

PlaceholderScreen::PlaceholderScreen(ProgramState& state, Services& services,
                                     const QString& caption, int width, int height, QWidget* parent)
    : ZorviScreen(state, services, parent) {
    setWindowTitle(caption);
    setClientSize(width, height);
    auto* layout = new QVBoxLayout(this);
    auto* note = new QLabel(tr("This screen is not available yet.\nPress Esc to return."), this);
    note->setAlignment(Qt::AlignCenter);
    layout->addWidget(note);
}

void PlaceholderScreen::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        guarded([this] { leaveToMain(); });
        return;
    }
    ZorviScreen::keyPressEvent(event);
}

void PlaceholderScreen::leaveToMain() {
    if (m_endsTheDay) m_state.flags.QuitAfterConsolidation = true;
    ZorviScreen::leaveToMain();
}
