#include "store/Options.h"

#include "store/FileNames.h"
#include "store/OwnerPin.h"
#include "store/SerialLine.h"
#include "store/TextReader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <strings.h>
#include <sys/stat.h>

namespace {

using Type = OptionKey::Type;

constexpr std::string_view SerialPortMeaning =
    "The line settings the port is given each time the drawer or the display on it is used: "
    "speed, data bits, parity (N, E or O) and stop bits; empty: the port keeps the settings "
    "the system gave it.";

// The one list of keys. A key is added here with its type, range, default
// and meaning; the panel, the check at start and the page follow.
constexpr std::array Keys{
    OptionKey{"shop-note",
              Type::Text,
              0,
              40,
              {},
              "",
              "A note of up to 40 characters shown in the main screen's status line."},
    OptionKey{"float",
              Type::Amount,
              0,
              100000,
              {},
              "",
              "The cash left in the drawer at the start of a day; when set, the day's first "
              "start asks to confirm it."},
    OptionKey{"denominations",
              Type::Amounts,
              0,
              0,
              {},
              "100,50,20,10,5,2,1,0.5,0.2,0.1,0.05",
              "The notes and coins counted on the cash-up screen, largest first."},
    OptionKey{"backup-dir",
              Type::Text,
              0,
              200,
              {},
              "Backup",
              "The folder for the backup written at each close: a folder inside the shop's "
              "directory, or a full path such as a USB stick's."},
    OptionKey{"backup-days",
              Type::Number,
              1,
              999,
              {},
              "14",
              "How many of the last days with a backup keep their last one."},
    OptionKey{"backup-months",
              Type::Number,
              0,
              999,
              {},
              "12",
              "How many of the last months with a backup keep their last one."},
    OptionKey{"backup-years",
              Type::Number,
              0,
              999,
              {},
              "100",
              "How many of the last years with a backup keep their last one."},
    OptionKey{"prices-include-tax", Type::Choice, 0, 0, "yes|no", "no",
              "yes: the price list's sale prices and the expense amounts typed include the tax; "
              "no: the tax is added to them."},
    OptionKey{"import-columns",
              Type::Text,
              0,
              40,
              {},
              "",
              "The columns of a supplier's CSV price list that hold the code, description, "
              "wholesale price, sale price and stock level, as five numbers such as 1,2,3,4,5 "
              "(0 for a column the file lacks); asked at the first import."},
    OptionKey{"scale", Type::Choice, 0, 0, "auto|1|1.5|2|2.5|3", "auto",
              "How large the screens are drawn; auto enlarges them on a display larger than "
              "1280 x 960. Takes effect at the next start."},
    OptionKey{"owner-pin",
              Type::PinHash,
              0,
              0,
              {},
              "",
              "When set, the setup, the price list editor, the inventory update, the viewer's "
              "edit mode, the period end and the removal ask for this PIN first. Only a salted "
              "hash is kept. On the panel: type 4 to 12 digits to set or change it, none to "
              "remove it; left empty it stays as it is."},
    OptionKey{"scanner-gap-ms",
              Type::Number,
              5,
              200,
              {},
              "30",
              "The longest gap in milliseconds between the keys of a scanned code: four or more "
              "keys that close together are taken as a scanner's, never a person's."},
    OptionKey{"beep", Type::Choice, 0, 0, "on|off", "off",
              "on: a short beep sounds for every code scanned and taken."},
    OptionKey{"till",
              Type::Number,
              1,
              99,
              {},
              "",
              "This till's number in a shop with several tills (empty: the shop's only till); "
              "when set, dockets print \"Till n\" and each close leaves its day in the Outbox "
              "folder for the office."},
    OptionKey{"display", Type::Choice, 0, 0, "plain|escpos", "plain",
              "plain: each customer display line is sent as it is, ended by CR LF; escpos: the "
              "display is cleared and the line put on its upper line with the commands of "
              "ESC/POS customer displays."},
    // The ports the drawer and the display may hang on.
    OptionKey{"COM1", Type::Serial, 0, 0, {}, "", SerialPortMeaning},
    OptionKey{"COM2", Type::Serial, 0, 0, {}, "", SerialPortMeaning},
    OptionKey{"COM3", Type::Serial, 0, 0, {}, "", SerialPortMeaning},
    OptionKey{"COM4", Type::Serial, 0, 0, {}, "", SerialPortMeaning},
};

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

std::string_view trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const size_t last = text.find_last_not_of(" \t");
    return text.substr(first, last - first + 1);
}

std::vector<std::string_view> choicesOf(const OptionKey& key) {
    std::vector<std::string_view> words;
    std::string_view rest = key.choices;
    while (!rest.empty()) {
        const size_t bar = rest.find('|');
        words.push_back(rest.substr(0, bar));
        rest = bar == std::string_view::npos ? std::string_view{} : rest.substr(bar + 1);
    }
    return words;
}

std::optional<long> wholeNumber(std::string_view text) {
    if (text.empty() || text.size() > 9) return std::nullopt;
    size_t at = text.front() == '-' ? 1 : 0;
    if (at == text.size()) return std::nullopt;
    long n = 0;
    for (; at < text.size(); ++at) {
        if (text[at] < '0' || text[at] > '9') return std::nullopt;
        n = n * 10 + (text[at] - '0');
    }
    return text.front() == '-' ? -n : n;
}

std::string rangeText(const OptionKey& key) {
    switch (key.type) {
    case Type::Text:
        return "text of up to " + std::to_string(key.most) + " characters";
    case Type::Number:
        return "a whole number from " + std::to_string(key.least) + " to " +
               std::to_string(key.most) + (key.defaultValue.empty() ? ", or nothing" : "");
    case Type::Choice: {
        std::string words;
        for (std::string_view w : choicesOf(key))
            words += (words.empty() ? "" : ", ") + std::string(w);
        return "one of " + words;
    }
    case Type::Amount:
        return "an amount from " + std::to_string(key.least) + " to " + std::to_string(key.most) +
               " with at most 2 decimals, or nothing";
    case Type::Amounts:
        return "amounts above 0 with at most 2 decimals, separated by commas";
    case Type::PinHash:
        return "the salted hash of a PIN of 4 to 12 digits, made on the Options panel";
    case Type::Serial:
        return "a speed and the data bits, parity and stop bits, such as 9600,8N1, or nothing";
    }
    return {};
}

} // namespace

std::optional<long> OptionAmountCents(std::string_view text) {
    const size_t point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    const std::string_view decimals =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);
    if (whole.empty() || whole.size() > 7 || decimals.size() > 2 ||
        (point != std::string_view::npos && decimals.empty()))
        return std::nullopt;
    long cents = 0;
    for (char c : whole) {
        if (c < '0' || c > '9') return std::nullopt;
        cents = cents * 10 + (c - '0');
    }
    cents *= 100;
    long scale = 10;
    for (char c : decimals) {
        if (c < '0' || c > '9') return std::nullopt;
        cents += (c - '0') * scale;
        scale /= 10;
    }
    return cents;
}

std::span<const OptionKey> OptionKeys() {
    return Keys;
}

const OptionKey* FindOptionKey(std::string_view name) {
    for (const OptionKey& key : Keys)
        if (sameName(key.name, name)) return &key;
    return nullptr;
}

std::optional<std::string> OptionValueFault(const OptionKey& key, std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos)
        return std::string(key.name) + " takes one line only";
    switch (key.type) {
    case Type::Text:
        if (value.size() <= static_cast<size_t>(key.most)) return std::nullopt;
        break;
    case Type::Number:
        // A number whose default is nothing may be left empty: unset.
        if (value.empty() && key.defaultValue.empty()) return std::nullopt;
        if (std::optional<long> n = wholeNumber(value); n && *n >= key.least && *n <= key.most)
            return std::nullopt;
        break;
    case Type::Choice:
        for (std::string_view w : choicesOf(key))
            if (w == value) return std::nullopt;
        break;
    case Type::Amount:
        if (value.empty()) return std::nullopt;
        if (std::optional<long> cents = OptionAmountCents(value);
            cents && *cents >= key.least * 100 && *cents <= key.most * 100)
            return std::nullopt;
        break;
    case Type::Amounts: {
        bool valid = !value.empty();
        for (std::string_view rest = value; valid && !rest.empty();) {
            const size_t comma = rest.find(',');
            std::optional<long> cents = OptionAmountCents(rest.substr(0, comma));
            valid = cents && *cents > 0;
            rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
            valid = valid && !(comma != std::string_view::npos && rest.empty());
        }
        if (valid) return std::nullopt;
        break;
    }
    case Type::Serial:
        if (value.empty() || ParseSerialLine(value)) return std::nullopt;
        break;
    case Type::PinHash:
        if (value.empty() || IsOwnerPinHash(value)) return std::nullopt;
        // The digits themselves never stand in the file.
        return std::string(key.name) + " takes " + rangeText(key);
    }
    return std::string(key.name) + " takes " + rangeText(key) + ", not \"" + std::string(value) +
           "\"";
}

// ---------------------------------------------------------------- values

Options::Value* Options::find(const OptionKey* key) {
    for (Value& v : m_values)
        if (v.key == key) return &v;
    return nullptr;
}

const Options::Value* Options::find(const OptionKey* key) const {
    return const_cast<Options*>(this)->find(key);
}

std::string Options::value(std::string_view name) const {
    const OptionKey* key = FindOptionKey(name);
    if (!key) return {};
    const Value* v = find(key);
    return v ? v->value : std::string(key->defaultValue);
}

bool Options::isSet(std::string_view name) const {
    const OptionKey* key = FindOptionKey(name);
    return key && find(key);
}

void Options::set(std::string_view name, std::string_view value) {
    const OptionKey* key = FindOptionKey(name);
    if (!key || this->value(name) == value) return;
    Value* v = find(key);
    if (!v) v = &m_values.emplace_back(Value{key, {}});
    v->value = value;
    v->changed = true;
}

bool Options::drop(std::string_view name) {
    const OptionKey* key = FindOptionKey(name);
    if (!key) return false;
    const size_t lines = m_lines.size(), values = m_values.size();
    std::erase_if(m_lines, [key](const Line& l) { return l.key == key; });
    std::erase_if(m_values, [key](const Value& v) { return v.key == key; });
    return lines != m_lines.size() || values != m_values.size();
}

// ---------------------------------------------------------------- the file

Options Options::parse(std::string_view text, std::vector<std::string>& faults) {
    Options options;
    size_t number = 0;
    while (!text.empty()) {
        const size_t lf = text.find('\n');
        std::string_view raw = text.substr(0, lf);
        text = lf == std::string_view::npos ? std::string_view{} : text.substr(lf + 1);
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        ++number;
        Line line{std::string(raw)};
        const std::string_view body = trimmed(raw);
        auto fault = [&](const std::string& why) {
            faults.push_back("line " + std::to_string(number) + ": " + why);
        };
        if (body.empty() || body.front() == '#') {
            options.m_lines.push_back(std::move(line));
            continue;
        }
        const size_t eq = raw.find('=');
        if (eq == std::string_view::npos) {
            fault("no \"=\" in \"" + std::string(body) + "\"");
        } else if (const OptionKey* key = FindOptionKey(trimmed(raw.substr(0, eq)))) {
            line.key = key;
            const std::string_view value = raw.substr(eq + 1);
            if (std::optional<std::string> why = OptionValueFault(*key, value)) {
                fault(*why);
            } else if (options.find(key)) {
                fault(std::string(key->name) + " was given before; this line is not used");
            } else {
                line.taken = true;
                options.m_values.push_back({key, std::string(value)});
            }
        }
        options.m_lines.push_back(std::move(line));
    }
    return options;
}

std::string Options::text() const {
    std::string out;
    std::vector<const OptionKey*> written;
    auto put = [&](std::string_view line) {
        out.append(line);
        out.append("\r\n");
    };
    auto newLine = [](const Value& v) { return std::string(v.key->name) + "=" + v.value; };
    for (const Line& line : m_lines) {
        const Value* v = line.key ? find(line.key) : nullptr;
        const bool alreadyWritten =
            v && std::find(written.begin(), written.end(), v->key) != written.end();
        // A changed value goes where the key stood: on its good line, or on
        // its first faulty one when it had none.
        const bool hasGoodLine = std::any_of(m_lines.begin(), m_lines.end(), [&](const Line& l) {
            return l.taken && l.key == line.key;
        });
        if (v && v->changed && !alreadyWritten && (line.taken || !hasGoodLine)) {
            put(newLine(*v));
            written.push_back(v->key);
        } else {
            put(line.text);
        }
    }
    for (const Value& v : m_values)
        if (v.changed && std::find(written.begin(), written.end(), v.key) == written.end())
            put(newLine(v));
    return out;
}

OptionsRead ReadOptions(const std::string& dataDir) {
    OptionsRead read;
    const std::string path = FileNames::resolve(dataDir, "Options.dat");
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        if (errno != ENOENT) {
            read.unreadable = true;
            read.faults.push_back(std::string("it cannot be read (") + std::strerror(errno) + ")");
        }
        return read;
    }
    auto unusable = [&](const std::string& why) {
        read.unreadable = true;
        read.faults.push_back(why);
        return read;
    };
    if (S_ISDIR(st.st_mode)) return unusable("it is a folder, not a file");
    if (static_cast<size_t>(st.st_size) > OptionsFileLimit)
        return unusable("it is larger than " + std::to_string(OptionsFileLimit / 1024) + " KiB");
    std::optional<TextReader> file = TextReader::Open(path);
    std::string text;
    if (!file || !file->readRest(text) || text.size() > OptionsFileLimit)
        return unusable(std::string("it cannot be read (") + std::strerror(errno) + ")");
    read.options = Options::parse(text, read.faults);
    return read;
}

std::string OptionsFaultMessage(const std::string& path, const std::vector<std::string>& faults) {
    std::string message = "The options file " + path + " has faults; the default is used for:";
    for (const std::string& fault : faults)
        message += "\r" + fault;
    return message;
}

std::string OptionsPage() {
    std::string page =
        "# Options\n\n"
        "Settings that `Configur.dat` has no room for live in `Options.dat` in the shop's\n"
        "directory: one `key=value` a line, `#` starting a comment line. Keys are matched\n"
        "without regard to case; a key that is not there takes its default. Edit them on\n"
        "the setup screen's Options panel (Alt+O), which keeps comments and keys it does\n"
        "not know exactly as they stand.\n\n"
        "This page is made from the program's own list of keys.\n\n"
        "| key | value | default | meaning |\n"
        "|---|---|---|---|\n";
    for (const OptionKey& key : Keys) {
        const std::string def =
            key.defaultValue.empty() ? "(empty)" : std::string(key.defaultValue);
        page += "| `" + std::string(key.name) + "` | " + rangeText(key) + " | " + def + " | " +
                std::string(key.meaning) + " |\n";
    }
    return page;
}
