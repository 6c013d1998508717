#include "platform/Cp1252.h"

namespace {
// 0x80..0x9F; 0 marks the five unassigned bytes.
constexpr char16_t High[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                               0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                               0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                               0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int toByte(QChar c) {
    char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) return u;
    // The unassigned bytes come back as themselves, so a line read and saved
    // again keeps its columns.
    if (u < 0xA0 && High[u - 0x80] == 0) return u;
    for (int i = 0; i < 32; ++i)
        if (High[i] == u && u != 0) return 0x80 + i;
    // The five bytes without a character come in as their own code points and
    // go back unchanged, so a file passing through a screen keeps its bytes.
    if (u >= 0x80 && u < 0xA0 && High[u - 0x80] == 0) return u;
    return -1;
}
} // namespace

QString fromCp1252(const std::string& bytes) {
    // One character per byte, written in place: the viewer decodes files of
    // a hundred megabytes, where an append per byte costs more than the read.
    QString out(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* to = out.data();
    for (unsigned char b : bytes) {
        if (b >= 0x80 && b < 0xA0)
            *to++ = QChar(High[b - 0x80] ? High[b - 0x80] : char16_t(b));
        else
            *to++ = QChar(char16_t(b));
    }
    return out;
}

std::string toCp1252(const QString& text) {
    std::string out;
    out.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text) {
        int b = toByte(c);
        if (b >= 0) out.push_back(static_cast<char>(b));
    }
    return out;
}

bool isCp1252(QChar c) {
    return toByte(c) >= 0;
}
