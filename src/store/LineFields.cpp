#include "store/LineFields.h"

#include "store/TextRules.h"

namespace {
bool isSeparator(char c) {
    return TextRules::separatesNumbers(static_cast<unsigned char>(c));
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
    while (m_pos < m_line.size() && isSeparator(m_line[m_pos]))
        ++m_pos;
    size_t start = m_pos;
    while (m_pos < m_line.size() && !isSeparator(m_line[m_pos]))
        ++m_pos;
    return m_line.substr(start, m_pos - start);
}

bool LineFields::readInteger(long& value) {
    if (m_failed) return false;
    if (!TextRules::integerFromToken(readToken(), value)) m_failed = true;
    return !m_failed;
}

bool LineFields::readReal(double& value) {
    if (m_failed) return false;
    // Within one line a missing number is a fault: it may not be taken from
    // the next line, as a read from the file would.
    std::string_view token = readToken();
    if (token.empty() || !TextRules::realFromToken(token, value)) m_failed = true;
    return !m_failed;
}
