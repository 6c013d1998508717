#include "forms/HelpLines.h"

#include "platform/Dialogs.h"
#include "store/HelpFile.h"

bool HelpLines::load(const std::string& path) {
    auto lines = LoadHelpLines(path);
    if (!lines) {
        m_lines.clear();
        m_dialogs.message(HelpFileMissingText(path));
        return false;
    }
    m_lines = std::move(*lines);
    return true;
}

std::string HelpLines::line(size_t i) const {
    return i < m_lines.size() ? m_lines[i] : std::string();
}
