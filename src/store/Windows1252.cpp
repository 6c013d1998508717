#include "store/Windows1252.h"

#include <array>
#include <cstdio>

namespace {

// 0x80..0x9F; 0 where the code page assigns nothing.
constexpr std::array<char32_t, 32> High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::optional<char> byteOf(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (size_t i = 0; i < High.size(); ++i)
        if (High[i] == c && c != 0) return static_cast<char>(0x80 + i);
    return std::nullopt;
}

} // namespace

std::string Utf8FromCp1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        if (u < 0x80)
            out += b;
        else if (u < 0xA0)
            appendUtf8(out, High[u - 0x80] != 0 ? High[u - 0x80] : 0xFFFD);
        else
            appendUtf8(out, u);
    }
    return out;
}

std::optional<std::string> Cp1252FromUtf8(std::string_view text, std::string& refused) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length = lead < 0x80    ? 1
                        : lead >= 0xF0 ? 4
                        : lead >= 0xE0 ? 3
                        : lead >= 0xC0 ? 2
                                       : 0;
        if (length == 0 || i + length > text.size()) {
            refused = "text that is not UTF-8";
            return std::nullopt;
        }
        char32_t c = length == 1 ? lead : lead & (0x7F >> length);
        for (size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                refused = "text that is not UTF-8";
                return std::nullopt;
            }
            c = (c << 6) | (next & 0x3F);
        }
        const std::optional<char> byte = byteOf(c);
        if (!byte) {
            char name[16];
            std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(c));
            refused = name;
            return std::nullopt;
        }
        out += *byte;
        i += length;
    }
    return out;
}
