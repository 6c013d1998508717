#pragma once

#include "platform/DateTime.h"

#include <optional>
#include <string>
#include <string_view>

// The owner PIN: 4 to 12 digits that guard the screens and steps that change
// the shop's settings and books. Options.dat keeps only a salted slow hash of
// it (key owner-pin); the digits are never written anywhere.

// Whether the text is a PIN the owner may choose.
bool IsValidOwnerPin(std::string_view pin);
// The salted hash that Options.dat keeps of a valid PIN. Hashing takes a
// good part of a second on purpose, so that guessing is slow.
std::string HashOwnerPin(std::string_view pin);
// Whether the text looks like a hash made by HashOwnerPin.
bool IsOwnerPinHash(std::string_view text);
// Whether the typed text is the PIN of that hash.
bool OwnerPinMatches(std::string_view hash, std::string_view typed);

// Wrong entries lock the guarded screens for a while, counted for the run of
// the program. Times are the clock's local time.
class OwnerPinGate {
  public:
    static constexpr int WrongEntriesToLock = 3;
    static constexpr long LockSeconds = 60;

    enum class Verdict { Open, Wrong, NowLocked, Locked };
    // Checks a typed PIN against the hash. While locked nothing is checked.
    Verdict check(std::string_view hash, std::string_view typed, const DateTime& now);
    // Seconds the lock still holds; 0 when open.
    long lockedFor(const DateTime& now) const;

  private:
    int m_wrong = 0;
    std::optional<DateTime> m_lockedAt;
};

// What `zorvi-verify --reset-pin` did to a shop's Options.dat.
struct OwnerPinReset {
    enum class Outcome { Removed, NoPin, Failed } outcome = Outcome::Failed;
    std::string message; // one line for the operator, naming the file
};
// Removes the owner PIN from the shop's Options.dat, every other line kept as
// it stands. It asks nothing: whoever can write the shop's directory can do it.
// The reset is written to the audit trail with the time `at`.
OwnerPinReset ResetOwnerPin(const std::string& dataDir, const DateTime& at);
