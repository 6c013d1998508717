#include "takings/TakingsReader.h"

#include "fast/ColumnNumbers.h"
#include "fast/ExactDecimal.h"
#include "store/DataFiles.h"
#include "store/NumberParse.h"
#include "store/StockLedger.h"
#include "store/TextReader.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

namespace {

constexpr size_t CodeColumn = 2; // 0-based: after the marker and a blank
constexpr size_t CodeLength = 13;
constexpr size_t StartTextLength = 29;
// Every field is padded to its width and nothing is ever cut, so a record
// shorter than its layout has lost its end.
constexpr size_t LineRecordLength = 75;
constexpr size_t TotalRecordLength = 88;

bool isSeparator(char c) {
    return c == ' ';
}

// The written numbers are fixed-point: sign, digits, point, digits. Those with
// at most 15 digits are exact as an integer and as a power of ten, so one
// division gives the correctly rounded value, the same double as the general
// conversion, which takes whatever else a number may look like. Reads the
// blank-separated number at `p` and moves `p` past it.
bool readNumber(const char*& p, const char* end, double& value) {
    // The numbers are right-aligned in wide columns: their blanks are passed
    // eight at a time.
    constexpr std::uint64_t Blanks = 0x2020202020202020u;
    while (end - p >= 8) {
        std::uint64_t bytes;
        std::memcpy(&bytes, p, 8);
        const std::uint64_t other = bytes ^ Blanks;
        if (other) {
            if constexpr (std::endian::native == std::endian::little)
                p += std::countr_zero(other) / 8;
            break;
        }
        p += 8;
    }
    while (p < end && isSeparator(*p))
        ++p;
    const char* const start = p;
    const bool negative = p < end && *p == '-';
    if (negative) ++p;
    std::uint64_t mantissa = 0;
    int digits = 0;
    int decimals = -1;
    for (; p < end; ++p) {
        const unsigned digit = static_cast<unsigned char>(*p) - static_cast<unsigned>('0');
        if (digit <= 9) {
            mantissa = mantissa * 10 + digit;
            ++digits;
            decimals += decimals >= 0;
        } else if (*p == '.' && decimals < 0) {
            decimals = 0;
        } else {
            break;
        }
    }
    if ((p == end || isSeparator(*p)) && digits > 0 && digits <= 15) {
        value = ExactDecimal(mantissa, decimals < 0 ? 0 : decimals, negative);
        return true;
    }
    while (p < end && !isSeparator(*p))
        ++p;
    const std::string_view token(start, static_cast<size_t>(p - start));
    if (token.empty()) return false;
    RealParse parsed = ParseReal(token);
    if (parsed.errorPosition != 0) return false;
    value = parsed.value;
    return true;
}

bool hasNulOrCr(std::string_view text) {
    bool found = false;
    for (char c : text)
        found |= c == '\0' || c == '\r';
    return found;
}

template <size_t N> bool readNumbers(std::string_view text, size_t pos, double* const (&into)[N]) {
    const char* p = text.data() + pos;
    const char* const end = text.data() + text.size();
    for (double* value : into)
        if (!readNumber(p, end, *value)) return false;
    while (p < end && *p == ' ')
        ++p;
    return p == end;
}

} // namespace

bool IsTakingsMarker(char marker) {
    return marker == '*' || marker == '#' || marker == '$' || marker == '@' ||
           (marker >= 'A' && marker <= 'Z') || (marker >= 'a' && marker <= 'z');
}

bool ParseTakingsLine(std::string_view line, TakingsEntry& entry) {
    if (line.empty() || !IsTakingsMarker(line[0])) return false;
    entry.marker = line[0];
    const size_t numbersFrom = CodeColumn + CodeLength;
    // The records as they are written are read by column.
    if (line.size() == LineRecordLength && line[1] == ' ' && line[0] != '*' && line[0] != '#' &&
        !hasNulOrCr(line.substr(0, numbersFrom)) &&
        ReadColumnDecimals(line, numbersFrom, {24, 35, 48, 61, LineRecordLength},
                           {&entry.quantity, &entry.wholesale, &entry.listPrice, &entry.unitPrice,
                            &entry.amount})) {
        entry.kind = TakingsEntry::Kind::Line;
        entry.code = line.substr(CodeColumn, CodeLength);
        return true;
    }
    if (line.size() == TotalRecordLength && line.starts_with("# Total***") &&
        !hasNulOrCr(line.substr(0, numbersFrom)) &&
        ReadColumnDecimals(line, numbersFrom, {23, 32, 41, 58, 70, 82, TotalRecordLength},
                           {&entry.cash, &entry.cheque, &entry.credit, &entry.tax, &entry.total,
                            &entry.received, &entry.change})) {
        entry.kind = TakingsEntry::Kind::Total;
        entry.clock = line.substr(10, 5);
        return true;
    }
    if (line.find('\0') != std::string_view::npos || line.find('\r') != std::string_view::npos)
        return false;
    switch (line[0]) {
    case '*':
        if (line.size() < numbersFrom || line[1] != ' ') return false;
        entry.kind = TakingsEntry::Kind::Start;
        entry.startText = line.substr(numbersFrom, StartTextLength);
        return true;
    case '#':
        if (line.size() < TotalRecordLength || line.substr(0, 10) != "# Total***") return false;
        entry.kind = TakingsEntry::Kind::Total;
        entry.clock = line.substr(10, 5);
        return readNumbers(line, numbersFrom,
                           {&entry.cash, &entry.cheque, &entry.credit, &entry.tax, &entry.total,
                            &entry.received, &entry.change});
    default:
        if (line.size() < LineRecordLength || line[1] != ' ') return false;
        entry.kind = TakingsEntry::Kind::Line;
        entry.code = line.substr(CodeColumn, CodeLength);
        return readNumbers(
            line, numbersFrom,
            {&entry.quantity, &entry.wholesale, &entry.listPrice, &entry.unitPrice, &entry.amount});
    }
}

bool TakingsReader::next(TakingsEntry& entry) {
    // Line by line in the file's buffer, which stays in the caches: a day's
    // takings read whole would pass through memory twice more.
    std::string_view line;
    while (m_file.readLineView(line)) {
        ++m_lineNumber;
        if (line.empty()) continue;
        if (ParseTakingsLine(line, entry)) return true;
        if (m_faulty++ == 0) {
            m_firstFaultyLine = m_lineNumber;
            m_firstFaultyText = line;
        }
    }
    m_file.check();
    return false;
}

void RestartStockLedger(StockLedger& ledger, const DataFiles& files) {
    ledger.restart();
    std::optional<TextReader> file = TextReader::Open(files.pathOf("Results.dat"));
    if (!file) return;
    TakingsReader reader(*file);
    TakingsEntry entry;
    while (reader.next(entry))
        if (entry.kind == TakingsEntry::Kind::Line && entry.marker != '$')
            ledger.sold(entry.code, entry.quantity);
}
