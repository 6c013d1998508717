#pragma once

// The system's print dialog, where the operator picks and sets up a printer.
class PrintDialog {
  public:
    virtual ~PrintDialog() = default;
    // Shows the dialog; true when the operator chose to print.
    virtual bool choose() = 0;
};
