#pragma once

#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Finding line ends in a buffer of text, sixteen bytes at a time where the
// processor offers it: the lookup in the price work file and every pass over
// a long file spend their time here. The plain reference is std::memchr,
// which the searches fall back to everywhere else.

// The next LF in [from, end), or null.
inline const char* FindLineFeed(const char* from, const char* end) {
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi8('\n');
    while (end - from >= 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
        auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeed)));
        if (hits) return from + std::countr_zero(hits);
        from += 16;
    }
#endif
    return static_cast<const char*>(std::memchr(from, '\n', static_cast<size_t>(end - from)));
}

// Whether the 64-byte mask below is worked out at once on this processor.
#if defined(__SSE2__)
inline constexpr bool LineFeedMasks = true;
#else
inline constexpr bool LineFeedMasks = false;
#endif

// Bit i set when block[i] is an LF, for the 64 bytes from `block`.
inline std::uint64_t LineFeedMask64(const char* block) {
    std::uint64_t feeds = 0;
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi8('\n');
    for (int part = 0; part < 4; ++part) {
        __m128i bytes = _mm_loadu_si128(
            reinterpret_cast<const __m128i*>(block + 16 * static_cast<std::ptrdiff_t>(part)));
        feeds |= static_cast<std::uint64_t>(
                     static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lineFeed))))
                 << (16 * part);
    }
#else
    for (int i = 0; i < 64; ++i)
        if (block[i] == '\n') feeds |= std::uint64_t{1} << i;
#endif
    return feeds;
}
