// Every caption of the eight screens shows whole in the font it is drawn in.
#include "app/MainScreen.h"
#include "support/ProgramFixture.h"

#include <QAbstractButton>
#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <gtest/gtest.h>

namespace {

// The room a control has for its text, and the text's width; a caption's
// underlined letter takes no room.
struct Fit {
    QString text;
    int room;
    int needed;
};

bool shown(const QWidget* w) {
    return !w->isHidden() && w->isVisibleTo(w->window());
}

std::vector<Fit> captions(QWidget* screen) {
    std::vector<Fit> fits;
    // Controls in a layout get their size when it is laid out.
    for (QLayout* layout : screen->findChildren<QLayout*>())
        layout->activate();
    for (QLabel* label : screen->findChildren<QLabel*>()) {
        if (!shown(label) || label->wordWrap() || label->text().isEmpty() ||
            label->textFormat() == Qt::RichText)
            continue;
        const QFontMetrics metrics(label->font());
        for (const QString& line : label->text().split('\n')) {
            QString caption = line;
            if (label->buddy()) caption.remove('&');
            fits.push_back(
                {caption, label->contentsRect().width(), metrics.horizontalAdvance(caption)});
        }
    }
    for (QAbstractButton* button : screen->findChildren<QAbstractButton*>()) {
        if (!shown(button) || button->text().isEmpty()) continue;
        const QString caption = QString(button->text()).replace("&&", "\x01").remove('&');
        if (auto* push = qobject_cast<QPushButton*>(button)) {
            QStyleOptionButton option;
            option.initFrom(push);
            const QRect room =
                push->style()->subElementRect(QStyle::SE_PushButtonContents, &option, push);
            fits.push_back({caption, room.width(), push->fontMetrics().horizontalAdvance(caption)});
        } else {
            fits.push_back({caption, button->width(), button->sizeHint().width()});
        }
    }
    return fits;
}

} // namespace

TEST(ScreenTexts, NoCaptionOfAnyScreenIsClipped) {
    ProgramFixture f;
    f.writeTestShop();
    f.printerReady();
    f.start();
    ProgramBlock& p = *f.program;
    for (QWidget* screen : p.screens()) {
        for (const Fit& fit : captions(screen))
            EXPECT_LE(fit.needed, fit.room)
                << screen->windowTitle().toStdString() << ": \"" << fit.text.toStdString() << "\"";
    }
}
