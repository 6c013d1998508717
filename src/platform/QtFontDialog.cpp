#include "platform/QtFontDialog.h"

#include "platform/Cp1252.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QFontInfo>
#include <QPushButton>

QFont QtFontDialog::toQFont(const FontChoice& choice) {
    QFont font(fromCp1252(choice.family));
    if (choice.pointSize > 0) font.setPointSizeF(choice.pointSize);
    font.setBold(choice.bold);
    font.setItalic(choice.italic);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

FontChoice QtFontDialog::fromQFont(const QFont& font) {
    QFontInfo info(font);
    return {toCp1252(info.family()), info.pointSizeF(), info.bold(), info.italic()};
}

std::optional<FontChoice>
QtFontDialog::choose(const FontChoice& initial,
                     const std::function<void(const FontChoice&)>& apply) {
    // Qt's own dialog: the desktop's may have no room for an Apply button.
    QFontDialog dialog(toQFont(initial), QApplication::activeWindow());
    dialog.setOptions(QFontDialog::MonospacedFonts | QFontDialog::DontUseNativeDialog);
    // The list of families is drawn up again, fixed-pitch only, when a font is set.
    dialog.setCurrentFont(toQFont(initial));
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
        QPushButton* applyButton = buttons->addButton(QDialogButtonBox::Apply);
        QObject::connect(applyButton, &QPushButton::clicked, &dialog,
                         [&] { apply(fromQFont(dialog.currentFont())); });
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return fromQFont(dialog.selectedFont());
}
