#include "store/LineFields.h"

#include "fast/PlainDecimal.h"
#include "store/TextRules.h"

#include <cstdint>

namespace {
bool isSeparator(char c) {
    return TextRules::separatesNumbers(static_cast<unsigned char>(c));
}

unsigned digitOf(char c) {
    return static_cast<unsigned>(static_cast<unsigned char>(c)) - static_cast<unsigned>('0');
}

// The numbers of the data files are plain decimals, read straight from the
// line when one ends where a separator or the line does; anything else
// leaves `p` unmoved for the general conversion to take as a token.
bool plainDecimalAt(const char*& p, const char* end, double* value) {
    const char* q = p;
    if (!ReadPlainDecimal(q, end, value) || (q < end && !isSeparator(*q))) return false;
    p = q;
    return true;
}
} // namespace

char LineFields::readChar() {
    return m_pos < m_line.size() ? m_line[m_pos++] : ' ';
}

std::string_view LineFields::readText(size_t maxChars) {
    const size_t start = m_pos;
    while (m_pos < m_line.size() && m_pos - start < maxChars &&
           !TextRules::endsText(static_cast<unsigned char>(m_line[m_pos])))
        ++m_pos;
    return m_line.substr(start, m_pos - start);
}

std::string_view LineFields::readToken() {
    const char* const begin = m_line.data();
    const char* const end = begin + m_line.size();
    const char* p = begin + m_pos;
    while (p < end && isSeparator(*p))
        ++p;
    const char* const start = p;
    while (p < end && !isSeparator(*p))
        ++p;
    m_pos = static_cast<size_t>(p - begin);
    return std::string_view(start, static_cast<size_t>(p - start));
}

bool LineFields::readInteger(long& value) {
    if (m_failed) return false;
    const std::string_view token = readToken();
    // A few plain digits, as the files write them, need no general conversion.
    const bool negative = !token.empty() && token[0] == '-';
    const size_t first = negative ? 1 : 0;
    if (token.size() > first && token.size() - first <= 18) {
        long magnitude = 0;
        size_t i = first;
        for (; i < token.size() && digitOf(token[i]) <= 9; ++i)
            magnitude = magnitude * 10 + static_cast<long>(digitOf(token[i]));
        if (i == token.size()) {
            value = negative ? -magnitude : magnitude;
            return true;
        }
    }
    if (!TextRules::integerFromToken(token, value)) m_failed = true;
    return !m_failed;
}

bool LineFields::readReal(double& value) {
    return readRealInto(&value);
}

bool LineFields::skipReal() {
    return readRealInto(nullptr);
}

bool LineFields::readRealInto(double* value) {
    if (m_failed) return false;
    const char* const begin = m_line.data();
    const char* const end = begin + m_line.size();
    const char* p = begin + m_pos;
    while (p < end && isSeparator(*p))
        ++p;
    m_pos = static_cast<size_t>(p - begin);
    if (plainDecimalAt(p, end, value)) {
        m_pos = static_cast<size_t>(p - begin);
        return true;
    }
    // Within one line a missing number is a fault: it may not be taken from
    // the next line, as a read from the file would.
    std::string_view token = readToken();
    double read = 0;
    if (token.empty() || !TextRules::realFromToken(token, read))
        m_failed = true;
    else if (value)
        *value = read;
    return !m_failed;
}
