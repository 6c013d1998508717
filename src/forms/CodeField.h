#pragma once

#include <Qt>

#include <functional>
#include <string>

class Dialogs;
class EntryField;
class HelpLines;
struct Configuration;

// The code field of a booking screen (sales, expenses, inventory): the shared
// key rules on an entry field. The screen says what happens when a code is
// complete and when Esc steps back; the code typed so far lives in `code`.
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

    void keyDown(int& key, Qt::KeyboardModifiers modifiers);
    void keyPress(char& key);

  private:
    EntryField*& m_field;
    std::string& m_code;
    const HelpLines& m_help;
    Dialogs& m_dialogs;
    Settings m_settings;
};

// The sales person field: a configured code is accepted (in capitals); any
// other key is refused with help line 2, and Esc or a capital X leaves.
void SalesPersonKeyPress(char& key, const Configuration& config, const HelpLines& help,
                         Dialogs& dialogs, const std::function<void(const std::string&)>& accept,
                         const std::function<void()>& leave);
