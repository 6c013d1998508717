#pragma once

#include "platform/FontDialog.h"

#include <QFont>

// The font dialog of the desktop, with an Apply button added.
class QtFontDialog : public FontDialog {
  public:
    std::optional<FontChoice> choose(const FontChoice& initial,
                                     const std::function<void(const FontChoice&)>& apply) override;

    static QFont toQFont(const FontChoice& choice);
    static FontChoice fromQFont(const QFont& font);
};
