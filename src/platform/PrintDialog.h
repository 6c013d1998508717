#pragma once

#include "platform/FontDialog.h"

#include <string>

// The system's print dialog, where the operator picks and sets up a printer,
// and the printing of a text as one document.
class PrintDialog {
  public:
    struct TextDocument {
        std::string title; // the job's name in the printer queue
        std::string text;  // Windows-1252, lines separated by "\n"
        FontChoice font;
        // Where the document goes when no printer is installed.
        std::string pdfPath;
    };
    // A picture, such as a chart, printed to fill the page.
    struct PictureDocument {
        std::string title;
        std::string png; // the picture as a PNG file's bytes
        std::string pdfPath;
    };
    enum class Outcome { Printed, PrintedToPdf, Cancelled, Failed };

    virtual ~PrintDialog() = default;
    // Shows the dialog; true when the operator chose to print.
    virtual bool choose() = 0;
    // Shows the dialog and prints the text on the chosen printer; with no
    // printer installed, prints it into the PDF file without asking.
    virtual Outcome printText(const TextDocument& document) = 0;
    // The same for a picture: the dialog offers printing into a PDF file too.
    virtual Outcome printPicture(const PictureDocument& document) = 0;
};
