#include "fast/CodeIndex.h"

#include <cstdio>
#include <cstring>

namespace {

uint64_t hashOf(std::string_view code) {
    // A code is 13 characters: its first and last eight bytes say it all.
    if (code.size() >= 8) {
        uint64_t a, b;
        std::memcpy(&a, code.data(), 8);
        std::memcpy(&b, code.data() + code.size() - 8, 8);
        uint64_t h = (a * 0x9E3779B97F4A7C15ull) ^ (b * 0xC2B2AE3D27D4EB4Full) ^ code.size();
        return h ^ (h >> 31);
    }
    uint64_t h = 1469598103934665603ull;
    for (unsigned char c : code)
        h = (h ^ c) * 1099511628211ull;
    return h ^ (h >> 31);
}

} // namespace

CodeIndex::CodeIndex(const std::vector<std::string_view>& codes)
    : m_codes(codes), m_first(codes.size()) {
    size_t capacity = 16;
    while (capacity < codes.size() * 2)
        capacity *= 2;
    m_slots.assign(capacity, 0);
    m_mask = capacity - 1;
    for (size_t i = 0; i < codes.size(); ++i) {
        size_t slot = slotOf(codes[i]);
        if (m_slots[slot] == 0) m_slots[slot] = static_cast<uint32_t>(i + 1);
        m_first[i] = m_slots[slot] - 1;
    }
}

size_t CodeIndex::slotOf(std::string_view code) const {
    size_t slot = static_cast<size_t>(hashOf(code)) & m_mask;
    while (m_slots[slot] != 0 && m_codes[m_slots[slot] - 1] != code)
        slot = (slot + 1) & m_mask;
    return slot;
}

size_t CodeIndex::find(std::string_view code) const {
    size_t slot = slotOf(code);
    return m_slots[slot] != 0 ? m_slots[slot] - 1 : std::string::npos;
}

bool ReadWholeLines(const std::string& path, std::string& bytes,
                    std::vector<std::string_view>& lines) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
    bytes.clear();
    bool failed = std::fseek(file, 0, SEEK_END) != 0;
    long size = failed ? -1 : std::ftell(file);
    failed = size < 0 || std::fseek(file, 0, SEEK_SET) != 0;
    if (!failed) {
        bytes.resize(static_cast<size_t>(size));
        bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
        // A file that grew meanwhile is read to its end.
        char buffer[1 << 12];
        size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
            bytes.append(buffer, n);
        failed = std::ferror(file) != 0;
    }
    std::fclose(file);
    if (failed) return false;
    lines.clear();
    lines.reserve(bytes.size() / 64 + 1);
    size_t start = 0;
    while (start < bytes.size()) {
        // NOLINTNEXTLINE(bugprone-not-null-terminated-result): a search, not a copy
        const void* lf = std::memchr(bytes.data() + start, '\n', bytes.size() - start);
        size_t end =
            lf ? static_cast<size_t>(static_cast<const char*>(lf) - bytes.data()) : bytes.size();
        size_t stop = end > start && bytes[end - 1] == '\r' ? end - 1 : end;
        lines.emplace_back(bytes.data() + start, stop - start);
        start = end + 1;
    }
    return true;
}
