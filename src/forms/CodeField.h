#pragma once

#include "scanning/KeyBurst.h"

#include <Qt>

#include <functional>
#include <string>
#include <vector>

class Dialogs;
class EntryField;
class HelpLines;
class Options;
class QTimer;
struct Configuration;

// The code field of a booking screen (sales, expenses, inventory): the shared
// key rules on an entry field. The screen says what happens when a code is
// complete and when Esc steps back; the code typed so far lives in `code`.
//
// A scanner types a code as a burst of keys (see KeyBurst): in a burst,
// capitals typed with Shift are kept, Enter or Tab after the code completes
// it, a code of 8, 12 or 13 digits with a wrong check digit is refused as
// misread, and no hint interrupts it. A key with Shift held is held back for
// the burst gap to see whether a burst follows; alone it is refused as
// ever. Keys whose time is unknown are a person's.
class CodeField {
  public:
    struct Settings {
        bool servicesAllowed;      // "/" starts a service code
        size_t shiftHelpLine;      // a key pressed while Shift alone is held
        size_t emptyEnterHelpLine; // Enter with nothing typed
    };

    CodeField(EntryField*& field, std::string& code, const HelpLines& help, Dialogs& dialogs,
              Settings settings);

    std::function<bool()> mayStepBack;
    std::function<void()> stepBack;
    // The padded code is complete; byLength when its 13th character did it.
    std::function<void(bool byLength)> complete;
    // Where a hint that only informs goes: the screen's prompt area, so that
    // the cashier's next keys still reach the field.
    std::function<void(const std::string& text)> showNote;
    // A scanned code refused: shown until the next key, then taken away.
    std::function<void(const std::string& text)> showWarning;
    std::function<void()> clearWarning;

    // The burst gap and the beep for a good scan, from the options.
    void useOptions(const Options& options);

    void keyDown(int& key, Qt::KeyboardModifiers modifiers);
    void keyPress(char& key);
    // Whether the last complete code came from a scanner.
    bool scanned() const { return m_scanned; }
    // Whether Enter or Tab pressed at `ms` is the scanner's suffix of a code
    // it completed by length; a suffix is taken once.
    bool takeSuffix(unsigned long ms);
    // Refuses the scanned code as misread (a label whose figures do not
    // check): the field is emptied and the warning shown. byLength: the
    // scanner's Enter is still to come.
    void misread(bool byLength);

  private:
    struct HeldKey {
        int key;
        char character; // what it types, 0 for Shift alone
        bool shifted;
    };
    void hold(int key, char character, bool shifted);
    // The held keys turned out to be a person's: as if typed one by one.
    void settle();
    // The held keys are a scanner's: typed, capitals included.
    void release();
    bool scannedNow() const;

    EntryField*& m_field;
    std::string& m_code;
    const HelpLines& m_help;
    Dialogs& m_dialogs;
    Settings m_settings;
    KeyBurst m_burst;
    bool m_beep = false;
    std::vector<HeldKey> m_held;
    QTimer* m_holdTimer = nullptr;
    bool m_scanned = false;
    bool m_suffixDue = false;
    bool m_warning = false;
};

// The sales person field: a configured code is accepted (in capitals); any
// other key is refused with help line 2, and Esc or a capital X leaves.
void SalesPersonKeyPress(char& key, const Configuration& config, const HelpLines& help,
                         Dialogs& dialogs, const std::function<void(const std::string&)>& accept,
                         const std::function<void()>& leave);
