#include "store/CsvReader.h"

#include "store/Windows1252.h"

namespace {

bool validUtf8(std::string_view bytes) {
    for (size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        size_t length = lead < 0x80    ? 1
                        : lead >= 0xF8 ? 0
                        : lead >= 0xF0 ? 4
                        : lead >= 0xE0 ? 3
                        : lead >= 0xC0 ? 2
                                       : 0;
        if (length == 0 || i + length > bytes.size()) return false;
        for (size_t k = 1; k < length; ++k)
            if ((static_cast<unsigned char>(bytes[i + k]) & 0xC0) != 0x80) return false;
        i += length;
    }
    return true;
}

char separatorOf(std::string_view bytes) {
    size_t commas = 0;
    size_t semicolons = 0;
    bool quoted = false;
    for (char c : bytes) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (c == '\n') break;
        commas += c == ',';
        semicolons += c == ';';
    }
    return semicolons > commas ? ';' : ',';
}

} // namespace

std::string CsvFault::text() const {
    return "row " + std::to_string(row) + ", column " + std::to_string(column) + ": " + what;
}

std::optional<CsvTable> ReadCsv(std::string_view bytes, CsvFault& fault) {
    bool utf8 = false;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
        utf8 = true;
    } else {
        utf8 = validUtf8(bytes);
    }
    CsvTable table;
    table.separator = separatorOf(bytes);
    std::vector<std::string> row;
    std::string field;
    size_t rowNumber = 1;
    bool quoted = false;     // inside a quoted field
    bool wasQuoted = false;  // the field began with a quote
    bool afterQuote = false; // its closing quote has been read
    auto failAt = [&](std::string what) {
        fault = {rowNumber, row.size() + 1, std::move(what)};
        return std::nullopt;
    };
    auto endField = [&]() -> bool {
        if (utf8) {
            std::string refused;
            std::optional<std::string> text = Cp1252FromUtf8(field, refused);
            if (!text) {
                fault = {rowNumber, row.size() + 1,
                         "the character " + refused + " cannot be held in the price list"};
                return false;
            }
            field = std::move(*text);
        }
        row.push_back(std::move(field));
        field.clear();
        wasQuoted = afterQuote = false;
        return true;
    };
    auto endRow = [&]() -> bool {
        const bool empty = row.empty() && field.empty() && !wasQuoted;
        if (!empty) {
            if (!endField()) return false;
            table.rows.push_back(std::move(row));
            table.rowNumbers.push_back(rowNumber);
        }
        row.clear();
        ++rowNumber;
        return true;
    };
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (i + 1 < bytes.size() && bytes[i + 1] == '"') {
                field += '"';
                ++i;
            } else {
                quoted = false;
                afterQuote = true;
            }
            continue;
        }
        if (c == table.separator) {
            if (!endField()) return std::nullopt;
        } else if (c == '\n' || c == '\r') {
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            if (!endRow()) return std::nullopt;
        } else if (afterQuote) {
            return failAt("text after the closing quote");
        } else if (c == '"') {
            if (!field.empty())
                return failAt("a quote inside a field that does not begin with one");
            quoted = wasQuoted = true;
        } else {
            field += c;
        }
    }
    if (quoted) return failAt("a quoted field is not closed");
    if (!endRow()) return std::nullopt;
    return table;
}
