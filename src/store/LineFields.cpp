#include "store/LineFields.h"

#include "store/NumberParse.h"

#include <algorithm>

namespace {
bool isSeparator(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}
} // namespace

char LineFields::readChar() {
    return m_pos < m_line.size() ? m_line[m_pos++] : ' ';
}

std::string_view LineFields::readText(size_t maxChars) {
    size_t n = std::min(maxChars, m_line.size() - m_pos);
    std::string_view text = m_line.substr(m_pos, n);
    m_pos += n;
    return text;
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
    auto parsed = ParseInteger(readToken());
    if (!parsed) {
        m_failed = true;
        return false;
    }
    value = *parsed;
    return true;
}

bool LineFields::readReal(double& value) {
    if (m_failed) return false;
    std::string_view token = readToken();
    auto parsed = ParseReal(token);
    if (token.empty() || parsed.errorPosition != 0) {
        m_failed = true;
        return false;
    }
    value = parsed.value;
    return true;
}
