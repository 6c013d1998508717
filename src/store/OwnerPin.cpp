#include "store/OwnerPin.h"

#include "store/AuditTrail.h"

#include "store/FileCommit.h"
#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/Options.h"
#include "store/TextLines.h"

#include <sodium.h>

#include <algorithm>
#include <chrono>
#include <sys/stat.h>

namespace {

constexpr std::string_view PinKey = "owner-pin";

// Seconds since an arbitrary day, enough to measure short spans of local time.
long long secondsOf(const DateTime& t) {
    using namespace std::chrono;
    const sys_days day{year{t.year} / month{static_cast<unsigned>(t.month)} /
                       std::chrono::day{static_cast<unsigned>(t.day)}};
    return day.time_since_epoch().count() * 86400LL + t.hour * 3600LL + t.minute * 60LL + t.second;
}

void startSodium() {
    if (sodium_init() < 0) throw std::runtime_error("the sodium library cannot start");
}

} // namespace

bool IsValidOwnerPin(std::string_view pin) {
    return pin.size() >= 4 && pin.size() <= 12 &&
           std::all_of(pin.begin(), pin.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string HashOwnerPin(std::string_view pin) {
    startSodium();
    char hash[crypto_pwhash_STRBYTES];
    // The interactive limits keep a check well under a second on a till.
    if (crypto_pwhash_str(hash, pin.data(), pin.size(), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw std::runtime_error("there is not enough memory to hash the PIN");
    return hash;
}

bool IsOwnerPinHash(std::string_view text) {
    const std::string_view prefix = crypto_pwhash_STRPREFIX;
    return text.size() > prefix.size() && text.size() < crypto_pwhash_STRBYTES &&
           text.substr(0, prefix.size()) == prefix &&
           std::all_of(text.begin(), text.end(), [](char c) { return c > ' ' && c < 127; });
}

bool OwnerPinMatches(std::string_view hash, std::string_view typed) {
    if (!IsOwnerPinHash(hash)) return false;
    startSodium();
    const std::string stored(hash);
    return crypto_pwhash_str_verify(stored.c_str(), typed.data(), typed.size()) == 0;
}

// ---------------------------------------------------------------- the gate

long OwnerPinGate::lockedFor(const DateTime& now) const {
    if (!m_lockedAt) return 0;
    const long long since = secondsOf(now) - secondsOf(*m_lockedAt);
    // A clock put back before the lock began ends it: the lock cannot tell
    // how long it has held.
    if (since < 0 || since >= LockSeconds) return 0;
    return static_cast<long>(LockSeconds - since);
}

OwnerPinGate::Verdict OwnerPinGate::check(std::string_view hash, std::string_view typed,
                                          const DateTime& now) {
    if (lockedFor(now) > 0) return Verdict::Locked;
    if (m_lockedAt) {
        // The lock has run out: three more tries.
        m_lockedAt.reset();
        m_wrong = 0;
    }
    if (OwnerPinMatches(hash, typed)) {
        m_wrong = 0;
        return Verdict::Open;
    }
    if (++m_wrong < WrongEntriesToLock) return Verdict::Wrong;
    m_lockedAt = now;
    return Verdict::NowLocked;
}

// ---------------------------------------------------------------- the reset

OwnerPinReset ResetOwnerPin(const std::string& dataDir, const DateTime& at) {
    const std::string path = FileNames::resolve(dataDir, "Options.dat");
    struct stat st {};
    if (::stat(dataDir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return {OwnerPinReset::Outcome::Failed,
                "The shop directory " + dataDir + " cannot be read. Nothing was changed."};
    OptionsRead read = ReadOptions(dataDir);
    if (read.unreadable)
        return {OwnerPinReset::Outcome::Failed, "The options file " + path + " cannot be used: " +
                                                    read.faults.front() + ". Nothing was changed."};
    if (!read.options.drop(PinKey))
        return {OwnerPinReset::Outcome::NoPin,
                "No owner PIN is set in " + path + ". Nothing was changed."};
    const std::string after = read.options.text();
    try {
        const std::string before = ReadWholeFile(path);
        FileCommit commit(dataDir);
        commit.replace("Options.dat", after);
        commit.commit();
        appendAudit(dataDir, AuditChange(at, "PIN reset", "Options.dat", before, after));
    } catch (const IoError& e) {
        return {OwnerPinReset::Outcome::Failed, e.what() + std::string(". Nothing was changed.")};
    }
    return {OwnerPinReset::Outcome::Removed,
            "The owner PIN was removed from " + path +
                "; every other line is kept. Set a new PIN on the setup screen's Options panel."};
}
