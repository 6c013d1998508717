#pragma once

#include "app/ProgramBlock.h"
#include "platform/Services.h"
#include "store/Configuration.h"
#include "support/Fakes.h"
#include "support/TestDir.h"

#include <QtCore/qnamespace.h>

#include <memory>
#include <string>
#include <vector>

class QPlainTextEdit;
class MainScreen;
class ZorviScreen;

// A shop's program directory with empty help texts and companion programs,
// the whole program started on it with fakes for every system service, and
// keys typed into whichever field of a screen has the cursor.
class ProgramFixture : public FakeServices {
  public:
    explicit ProgramFixture(const std::string& leaf = "shop");
    virtual ~ProgramFixture();

    // Help lines "<prefix>0" to "<prefix><last>", so a test can tell them apart.
    void writeNumberedHelp(const std::string& file, const std::string& prefix, int last);
    void writeConfiguration(const Configuration& c);
    // The shop the screen tests trade in: help lines numbered per screen (s
    // setup, p price list, H sales, e expenses) and a price list of two
    // articles by bar code, a service, an expense and two by short code.
    void writeTestShop();
    // Devcheck finds the printer ready.
    void printerReady();
    // Creates the program's screens (running the start-up) and shows the main screen.
    void start();
    // Presses a main screen button, by its role, and makes the screen it
    // opens the active window.
    void open(const char* button, QWidget* screen);
    // Opens the main screen's menu and puts the cursor on an entry, by its role.
    void menu(const char* entry);
    // Opens a screen, by its role, as the operator does: by its button or
    // menu entry; the consolidation by Exit and Yes. The main screen is there.
    ZorviScreen* openScreen(const std::string& role);
    MainScreen& main();
    // "\n" is Enter, "\x1b" Esc; every other character is typed as it stands.
    void type(ZorviScreen* screen, const std::string& keys);
    // Keys go where the keyboard would send them: to the control with the focus.
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void typeText(const std::string& text);
    // The texts of the boxes shown since the last call.
    std::vector<std::string> messages();
    // The lines of a text box as it shows them.
    static std::vector<std::string> lines(const QPlainTextEdit* box);

    TestDir dir;
    Configuration config = DefaultConfiguration();
    std::unique_ptr<ProgramBlock> program;
};
