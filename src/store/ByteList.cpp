#include "store/ByteList.h"

namespace {

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::optional<char> parseByte(std::string_view item) {
    item = trimmed(item);
    if (item.empty() || item.size() > 3) return std::nullopt;
    int value = 0;
    for (char c : item) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > 255) return std::nullopt;
    return static_cast<char>(value);
}

} // namespace

std::optional<std::string> ParseByteList(std::string_view text) {
    text = trimmed(text);
    if (text.empty() || text == "?") return std::string();
    std::string bytes;
    for (;;) {
        const size_t comma = text.find(',');
        std::optional<char> b = parseByte(text.substr(0, comma));
        if (!b) return std::nullopt;
        bytes.push_back(*b);
        if (comma == std::string_view::npos) return bytes;
        text.remove_prefix(comma + 1);
    }
}
