#pragma once

#include <string>

struct Configuration;

// The key rules the booking screens share (sales, expenses, inventory): what
// a code, an amount or a sales person field takes, and when a code is
// complete. Plain rules, so every screen applies the same ones.
namespace EntryRules {

inline constexpr char Enter = '\r';
inline constexpr char Esc = '\x1b';
inline constexpr char Backspace = '\b';
inline constexpr size_t CodeLength = 13;
// The code that ends the list of a sale or an expense.
inline const std::string EndOfList = "F            ";

char upper(char key);
// Amount fields take digits, the point and Backspace; "-" and "$" never.
bool isAmountKey(char key);
// Letters, digits and Backspace; "/" (a service) only where services are sold.
bool isCodeKey(char key, bool servicesAllowed);
bool isSalesPersonCode(const Configuration& config, char key);

enum class CodeStep {
    Typing,     // the key (possibly dropped) changed the code being typed
    Complete,   // Enter after a code, or its 13th character: the code is padded
    EmptyEnter, // Enter with nothing typed
    StepBack,   // Esc where the field may be left backwards
};

struct CodeKey {
    char key; // what the field still types: 0 when dropped
    CodeStep step;
    bool byLength; // completed by its 13th character, as a scanner sends it
};

// Applies one typed key to `code` (the code as typed so far).
CodeKey applyCodeKey(std::string& code, char key, bool servicesAllowed, bool mayStepBack);

} // namespace EntryRules
