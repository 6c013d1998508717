#include "devices/PrinterFile.h"

#include "store/FileNames.h"
#include "store/IoError.h"
#include "store/Padding.h"
#include "store/TextReader.h"
#include "store/TextRewriter.h"

#include <algorithm>
#include <iterator>
#include <string_view>

namespace {

constexpr const char* FileName = "Printer.dat";

struct Setting {
    std::string_view key, value;
};

// Blank lines hold no setting; a line without "=" is no setting either.
std::optional<Setting> settingOf(std::string_view line) {
    size_t equals = line.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return Setting{TrimSpace(line.substr(0, equals)), TrimSpace(line.substr(equals + 1))};
}

std::optional<int> wholeNumber(std::string_view text, int min, int max) {
    if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != text.npos)
        return std::nullopt;
    int n = std::stoi(std::string(text));
    if (n < min || n > max) return std::nullopt;
    return n;
}

std::optional<DrawerPulse> pulseOf(std::string_view text) {
    size_t comma = text.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    auto on = wholeNumber(TrimSpace(text.substr(0, comma)), 0, 255);
    auto off = wholeNumber(TrimSpace(text.substr(comma + 1)), 0, 255);
    if (!on || !off) return std::nullopt;
    return DrawerPulse{*on, *off};
}

constexpr int MaxTimeoutSeconds = 60;
constexpr int MaxFeedLines = 20;

std::optional<int> speedOf(std::string_view text) {
    auto n = wholeNumber(text, 0, 999999);
    if (!n ||
        std::find(std::begin(SerialSpeeds), std::end(SerialSpeeds), *n) == std::end(SerialSpeeds))
        return std::nullopt;
    return n;
}

// The setting's letter in SerialLine for each word.
std::optional<char> letterOf(std::string_view text,
                             std::initializer_list<std::pair<const char*, char>> words) {
    for (const auto& [word, letter] : words)
        if (text == word) return letter;
    return std::nullopt;
}
std::optional<char> parityOf(std::string_view text) {
    return letterOf(text, {{"none", 'N'}, {"even", 'E'}, {"odd", 'O'}});
}
std::optional<char> flowOf(std::string_view text) {
    return letterOf(text, {{"none", 'N'}, {"rtscts", 'H'}, {"xonxoff", 'X'}});
}

std::optional<PaperCut> cutOf(std::string_view text) {
    if (text == "full") return PaperCut::Full;
    if (text == "partial") return PaperCut::Partial;
    if (text == "none") return PaperCut::None;
    return std::nullopt;
}

// The settings Zorvi knows, with what a value must be.
struct Known {
    const char* key;
    bool (*valid)(std::string_view);
    const char* takes;
};
const Known KnownSettings[] = {
    {"pulse", [](std::string_view v) { return pulseOf(v).has_value(); },
     "two byte values separated by a comma, such as 25,250"},
    {"timeout", [](std::string_view v) { return wholeNumber(v, 1, MaxTimeoutSeconds).has_value(); },
     "seconds, 1 to 60"},
    {"cut", [](std::string_view v) { return cutOf(v).has_value(); }, "full, partial or none"},
    {"feed", [](std::string_view v) { return wholeNumber(v, 0, MaxFeedLines).has_value(); },
     "lines, 0 to 20"},
    {"speed", [](std::string_view v) { return speedOf(v).has_value(); },
     "one of 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200"},
    {"parity", [](std::string_view v) { return parityOf(v).has_value(); }, "none, even or odd"},
    {"flow", [](std::string_view v) { return flowOf(v).has_value(); }, "none, rtscts or xonxoff"},
    {"codepage", [](std::string_view v) { return wholeNumber(v, 0, 255).has_value(); },
     "the printer's page number, 0 to 255"},
};

} // namespace

std::string PrinterFile::value(const std::string& key) const {
    std::string found;
    for (const std::string& line : settings)
        if (auto s = settingOf(line); s && s->key == key) found = std::string(s->value);
    return found;
}

void PrinterFile::set(const std::string& key, const std::string& newValue) {
    bool replaced = false;
    for (std::string& line : settings) {
        if (auto s = settingOf(line); s && s->key == key) {
            line = key + "=" + newValue;
            replaced = true;
        }
    }
    if (!replaced) settings.push_back(key + "=" + newValue);
}

std::optional<PrinterFile> ReadPrinterFile(const std::string& dataDir) {
    std::optional<TextReader> reader = TextReader::Open(FileNames::resolve(dataDir, FileName));
    if (!reader) return std::nullopt;
    PrinterFile file;
    std::string line;
    if (!reader->readFullLine(file.target)) return file;
    while (reader->readFullLine(line))
        file.settings.push_back(line);
    return file;
}

bool WritePrinterFile(const std::string& dataDir, const PrinterFile& file) {
    std::optional<TextRewriter> out = TextRewriter::Open(FileNames::resolve(dataDir, FileName));
    if (!out) return false;
    try {
        out->writeLine(file.target);
        for (const std::string& line : file.settings)
            out->writeLine(line);
        out->commit();
    } catch (const IoError&) {
        return false;
    }
    return true;
}

std::vector<std::string> PrinterFileFaults(const PrinterFile& file) {
    std::vector<std::string> faults;
    for (size_t i = 0; i < file.settings.size(); ++i) {
        const std::string where = std::string(FileName) + " line " + std::to_string(i + 2) + ": ";
        const std::string_view line = file.settings[i];
        if (TrimSpace(line).empty()) continue;
        auto s = settingOf(line);
        if (!s) {
            faults.push_back(where + "not a setting key=value");
            continue;
        }
        const Known* known = nullptr;
        for (const Known& k : KnownSettings)
            if (s->key == k.key) known = &k;
        if (!known)
            faults.push_back(where + "unknown key \"" + std::string(s->key) + "\"");
        else if (!known->valid(s->value))
            faults.push_back(where + known->key + "= takes " + known->takes);
    }
    return faults;
}

DrawerPulse DrawerPulseOf(const PrinterFile& file) {
    return pulseOf(file.value("pulse")).value_or(DrawerPulse{});
}

SerialLine SerialLineOf(const PrinterFile& file) {
    SerialLine line;
    line.speed = speedOf(file.value("speed")).value_or(line.speed);
    line.parity = parityOf(file.value("parity")).value_or(line.parity);
    line.flow = flowOf(file.value("flow")).value_or(line.flow);
    return line;
}

std::optional<int> CodePageOf(const PrinterFile& file) {
    return wholeNumber(file.value("codepage"), 0, 255);
}

int PrinterTimeoutMs(const PrinterFile& file, int defaultMs) {
    auto seconds = wholeNumber(file.value("timeout"), 1, MaxTimeoutSeconds);
    return seconds ? *seconds * 1000 : defaultMs;
}

PaperCut PaperCutOf(const PrinterFile& file) {
    return cutOf(file.value("cut")).value_or(PaperCut::Partial);
}

int FeedLinesOf(const PrinterFile& file) {
    return wholeNumber(file.value("feed"), 0, MaxFeedLines).value_or(0);
}
