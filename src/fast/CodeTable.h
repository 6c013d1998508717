#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Values by article code, for the passes that visit every line of a file of
// a hundred thousand lines: one flat table, no allocation per code, and a
// code found by one probe of a small slot array before its entry is read:
// at that size the table outgrows the caches, and every extra place a
// lookup touches costs more than the parse of a line.
// Entries stay in the order their codes were first added.
template <typename Value> class CodeTable {
  public:
    CodeTable() = default;
    CodeTable(std::initializer_list<std::pair<std::string_view, Value>> values) {
        for (const auto& [code, value] : values)
            (*this)[code] = value;
    }

    // The value of `code`, added (value-initialised) when it is not there yet.
    Value& operator[](std::string_view code) {
        bool added;
        return locate(code, added);
    }

    // Adds `code` with `value` unless the code is there already, whose value
    // then stays; true when it was added.
    bool tryEmplace(std::string_view code, const Value& value) {
        bool added;
        Value& v = locate(code, added);
        if (added) v = value;
        return added;
    }

    // The value of `code`; null when it was never added.
    const Value* find(std::string_view code) const {
        if (m_slots.empty()) return nullptr;
        const std::uint64_t hash = hashOf(code);
        const Head head = headOf(code);
        for (size_t slot = slotOf(hash);; slot = (slot + 1) & (m_slots.size() - 1)) {
            const Slot& s = m_slots[slot];
            if (s.index == 0) return nullptr;
            if (s.tag == tagOf(hash) && matches(m_entries[s.index - 1], code, head))
                return &m_entries[s.index - 1].value;
        }
    }

    // Room for `count` codes, so that a table filled from a file whose line
    // count is known is not rebuilt on the way.
    void reserve(size_t count) {
        m_entries.reserve(count);
        size_t slotCount = m_slots.empty() ? 1024 : m_slots.size();
        while (count * 5 > slotCount * 4)
            slotCount *= 2;
        if (slotCount > m_slots.size()) rehash(slotCount);
    }

    // A hint that `code` will be looked up soon, for a pass whose next codes
    // are known ahead: first its slot is fetched into the cache, then, once
    // the slot is there, with `entryToo` its entry as well.
    void prefetch(std::string_view code, bool entryToo) const {
        if (m_slots.empty()) return;
        const std::uint64_t hash = hashOf(code);
        size_t slot = slotOf(hash);
        if (!entryToo) {
            __builtin_prefetch(&m_slots[slot]);
            return;
        }
        // The entry of the first slot with the code's tag: at four slots in
        // five taken, a code is often a few slots past its first.
        for (;; slot = (slot + 1) & (m_slots.size() - 1)) {
            const Slot& s = m_slots[slot];
            if (s.index == 0) return;
            if (s.tag == tagOf(hash)) {
                __builtin_prefetch(&m_entries[s.index - 1]);
                return;
            }
        }
    }

    size_t size() const { return m_entries.size(); }
    bool empty() const { return m_entries.empty(); }

  private:
    // The key's bytes, up to 16 of them (an article code has 13), are kept in
    // the entry, so a match is decided without reading the key text. From 8
    // bytes on they are two words that overlap as much as the length asks,
    // loaded without a copy of variable length.
    struct Entry {
        std::uint64_t head[2];
        std::uint32_t keyAt;
        std::uint32_t keyLength;
        Value value;
    };
    struct Head {
        std::uint64_t word[2] = {0, 0};
    };
    static std::uint64_t wordAt(const char* p) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        return word;
    }
    static Head headOf(std::string_view code) {
        Head h;
        const size_t n = code.size();
        if (n >= 16) {
            h.word[0] = wordAt(code.data());
            h.word[1] = wordAt(code.data() + 8);
        } else if (n >= 8) {
            h.word[0] = wordAt(code.data());
            h.word[1] = wordAt(code.data() + n - 8);
        } else {
            std::memcpy(h.word, code.data(), n);
        }
        return h;
    }
    bool matches(const Entry& e, std::string_view code, const Head& head) const {
        return e.head[0] == head.word[0] && e.head[1] == head.word[1] &&
               e.keyLength == code.size() && (code.size() <= 16 || longKeyOf(e) == code);
    }
    // index is 1 + the entry's place, 0 for a free slot; tag is more of the
    // hash, so a probe past another code seldom reads that code's entry.
    struct Slot {
        std::uint32_t tag = 0;
        std::uint32_t index = 0;
    };

    Value& locate(std::string_view code, bool& added) {
        const std::uint64_t hash = hashOf(code);
        const Head head = headOf(code);
        // Up to four slots in five taken: probes mostly stay in one cache
        // line, thanks to the tags, and a smaller slot array stays cached.
        if ((m_entries.size() + 1) * 5 > m_slots.size() * 4) grow();
        size_t slot = slotOf(hash);
        for (;; slot = (slot + 1) & (m_slots.size() - 1)) {
            const Slot& s = m_slots[slot];
            if (s.index == 0) break;
            if (s.tag == tagOf(hash) && matches(m_entries[s.index - 1], code, head)) {
                added = false;
                return m_entries[s.index - 1].value;
            }
        }
        m_entries.push_back({{head.word[0], head.word[1]},
                             static_cast<std::uint32_t>(m_keys.size()),
                             static_cast<std::uint32_t>(code.size()),
                             Value{}});
        if (code.size() > 16) m_keys.append(code);
        m_slots[slot] = {tagOf(hash), static_cast<std::uint32_t>(m_entries.size())};
        added = true;
        return m_entries.back().value;
    }

    static std::uint64_t hashOf(std::string_view code) {
        constexpr std::uint64_t Mix = 0x9E3779B97F4A7C15ull;
        auto mix = [](std::uint64_t h, std::uint64_t word) {
            h = (h ^ word) * Mix;
            return h ^ (h >> 29);
        };
        std::uint64_t h = code.size() * Mix;
        const char* p = code.data();
        const size_t n = code.size();
        if (n < 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, p, n);
            h = mix(h, word);
        } else {
            // Whole words, the last one overlapping its predecessor.
            for (size_t at = 0; at + 8 < n; at += 8)
                h = mix(h, wordAt(p + at));
            h = mix(h, wordAt(p + n - 8));
        }
        return h * Mix;
    }
    static std::uint32_t tagOf(std::uint64_t hash) { return static_cast<std::uint32_t>(hash); }
    size_t slotOf(std::uint64_t hash) const {
        return static_cast<size_t>(hash >> 32) & (m_slots.size() - 1);
    }
    // Longer keys are kept in m_keys; those of up to 16 bytes are rebuilt
    // from the entry into `buffer`.
    std::string_view keyOf(const Entry& e, char (&buffer)[16]) const {
        const size_t n = e.keyLength;
        if (n > 16) return std::string_view(m_keys).substr(e.keyAt, n);
        if (n >= 8) {
            std::memcpy(buffer, &e.head[0], 8);
            std::memcpy(buffer + n - 8, &e.head[1], 8);
        } else {
            std::memcpy(buffer, &e.head[0], n);
        }
        return std::string_view(buffer, n);
    }
    std::string_view longKeyOf(const Entry& e) const {
        return std::string_view(m_keys).substr(e.keyAt, e.keyLength);
    }

    void grow() { rehash(m_slots.empty() ? 1024 : m_slots.size() * 2); }

    void rehash(size_t slotCount) {
        std::vector<Slot> larger(slotCount);
        m_slots.swap(larger);
        for (size_t i = 0; i < m_entries.size(); ++i) {
            char buffer[16];
            const std::uint64_t hash = hashOf(keyOf(m_entries[i], buffer));
            size_t slot = slotOf(hash);
            while (m_slots[slot].index != 0)
                slot = (slot + 1) & (m_slots.size() - 1);
            m_slots[slot] = {tagOf(hash), static_cast<std::uint32_t>(i + 1)};
        }
    }

    std::vector<Slot> m_slots;
    std::vector<Entry> m_entries;
    std::string m_keys;
};
