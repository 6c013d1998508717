#pragma once

#include "platform/PrintDialog.h"

// The print dialog of the desktop.
class QtPrintDialog : public PrintDialog {
  public:
    bool choose() override;
    Outcome printText(const TextDocument& document) override;
    Outcome printPicture(const PictureDocument& document) override;
};
