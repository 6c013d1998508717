#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Options.dat: the shop's settings that Configur.dat has no room for. One
// `key=value` a line, `#` starting a comment line, Windows-1252, CR LF. Keys
// are lower case, words joined by "-" ("COM1" to "COM4" are the only upper
// case ones) and are matched without regard to case. A missing file or key
// means the default.
//
// This module is the file's only reader and writer, and OptionKeys() is the
// one list of what may stand in it: the setup screen's Options panel, the
// check at start and the owner's page docs/options.md are all made from it.

struct OptionKey {
    enum class Type {
        Text,    // up to `most` characters
        Number,  // a whole number from `least` to `most`
        Choice,  // one of the words in `choices`, separated by "|"
        Amount,  // an amount of money from `least` to `most` with at most 2
                 // decimals, or nothing
        Amounts, // amounts above 0 with at most 2 decimals, separated by ","
        PinHash, // the salted hash of the owner PIN (see OwnerPin.h), or nothing
        Serial,  // a serial port's line settings such as "9600,8N1"
                 // (SerialLine.h), or nothing
    };
    std::string_view name;
    Type type;
    long least;
    long most;
    std::string_view choices;
    std::string_view defaultValue;
    std::string_view meaning; // one line, for the help area and the page
};

// An amount as an Amount key takes it ("12", "0.5", "99.95") in cents.
std::optional<long> OptionAmountCents(std::string_view text);

// Every known key, in the order the panel shows them (shop-note first).
std::span<const OptionKey> OptionKeys();
// The known key of that name (any case), or null.
const OptionKey* FindOptionKey(std::string_view name);

// Why `value` cannot be the value of `key`, or nothing when it can. The one
// rule for a line read at start and a field saved on the panel.
std::optional<std::string> OptionValueFault(const OptionKey& key, std::string_view value);

class Options {
  public:
    // The value of a known key: what the file says, else its default.
    std::string value(std::string_view key) const;
    // Whether the file, or a later set(), gave the key a value of its own.
    bool isSet(std::string_view key) const;
    // Sets a known key's value, which OptionValueFault must have passed.
    void set(std::string_view key, std::string_view value);
    // Takes every line of a known key out of the file, faulty ones too, and
    // gives the key its default. False when no line or value had it.
    bool drop(std::string_view key);

    // The file's text as the program writes it: every line that was read
    // (comments, unknown keys and unreadable lines byte for byte, in their
    // order) with the known keys' values as they are now; a known key that
    // was not in the file is added at the end only when it differs from its
    // default.
    std::string text() const;

    // Reads the text of a file (any line ends). Each line that cannot be
    // taken is named in `faults` with its line number, and its key keeps
    // its default; the line itself is kept as it stands.
    static Options parse(std::string_view text, std::vector<std::string>& faults);

  private:
    struct Line {
        std::string text;               // as read, without its line end
        const OptionKey* key = nullptr; // the known key it names, if any
        bool taken = false;             // its value counts (the key's first good line)
    };
    struct Value {
        const OptionKey* key;
        std::string value;
        bool changed = false; // set since it was read: the file gets the new value
    };
    Value* find(const OptionKey* key);
    const Value* find(const OptionKey* key) const;

    std::vector<Line> m_lines;
    std::vector<Value> m_values;
};

struct OptionsRead {
    Options options;
    // Everything that is wrong with the file, to be told at start in one
    // message; empty when all is well (a missing file is well).
    std::vector<std::string> faults;
    // The file is there but could not be read at all (a folder, unreadable,
    // too large): the program uses the defaults and must not overwrite it
    // without asking.
    bool unreadable = false;
};

// The largest Options.dat that is read; a larger one is not the shop's.
constexpr size_t OptionsFileLimit = size_t{64} * 1024;

OptionsRead ReadOptions(const std::string& dataDir);
// The one message at start that names what is wrong with the file.
std::string OptionsFaultMessage(const std::string& path, const std::vector<std::string>& faults);
// The owner's page of every key, as docs/options.md holds it.
std::string OptionsPage();
