#include "fast/Sha256Blocks.h"

#include <array>
#include <cpuid.h>
#include <cstdint>
#include <cstring>
#include <immintrin.h>

namespace {

constexpr std::array<uint32_t, 64> K = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::array<uint32_t, 8> Initial = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                             0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr uint32_t rotr(uint32_t x, int n) {
    return (x >> n) | (x << (32 - n));
}

// The schedule of the padding block of a 64-byte message (0x80, zeros, the
// length 512 in bits), with the round constants added: the chain's second
// block needs only its rounds.
alignas(16) constexpr std::array<uint32_t, 64> PaddingSchedule = [] {
    std::array<uint32_t, 64> w{};
    w[0] = 0x80000000;
    w[15] = 512;
    for (size_t i = 16; i < 64; ++i) {
        const uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
        const uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
        w[i] = w[i - 16] + s0 + w[i - 7] + s1;
    }
    for (size_t i = 0; i < 64; ++i)
        w[i] += K[i];
    return w;
}();

// The state as the instructions hold it: ABEF and CDGH.
struct State {
    __m128i abef;
    __m128i cdgh;
};

__attribute__((target("sha,sse4.1"))) inline State load(const uint32_t* h) {
    const __m128i cdab =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(h)), 0xB1);
    const __m128i efgh =
        _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(h + 4)), 0x1B);
    return {_mm_alignr_epi8(cdab, efgh, 8), _mm_blend_epi16(efgh, cdab, 0xF0)};
}

// The state as eight big-endian words: the digest.
__attribute__((target("sha,sse4.1"))) inline void store(const State& s, unsigned char* digest) {
    const __m128i feba = _mm_shuffle_epi32(s.abef, 0x1B);
    const __m128i dchg = _mm_shuffle_epi32(s.cdgh, 0xB1);
    const __m128i dcba = _mm_blend_epi16(feba, dchg, 0xF0);
    const __m128i hgfe = _mm_alignr_epi8(dchg, feba, 8);
    const __m128i bytes = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(digest), _mm_shuffle_epi8(dcba, bytes));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(digest + 16), _mm_shuffle_epi8(hgfe, bytes));
}

// Four rounds with the scheduled words plus constants `wk`.
__attribute__((target("sha,sse4.1"))) inline void rounds(State& s, __m128i wk) {
    s.cdgh = _mm_sha256rnds2_epu32(s.cdgh, s.abef, wk);
    s.abef = _mm_sha256rnds2_epu32(s.abef, s.cdgh, _mm_shuffle_epi32(wk, 0x0E));
}

__attribute__((target("sha,sse4.1"))) inline __m128i constants(size_t group) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(K.data() + 4 * group));
}

// The compression of `blocks` 64-byte blocks.
__attribute__((target("sha,sse4.1"))) void compress(State& s, const unsigned char* data,
                                                    size_t blocks) {
    const __m128i bigEndian = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
    for (; blocks > 0; --blocks, data += 64) {
        const State before = s;
        __m128i w[4];
#pragma GCC unroll 4
        for (size_t i = 0; i < 4; ++i) {
            w[i] = _mm_shuffle_epi8(
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + 16 * i)), bigEndian);
            rounds(s, _mm_add_epi32(w[i], constants(i)));
        }
#pragma GCC unroll 12
        for (size_t i = 4; i < 16; ++i) {
            // w[i] from w[i-4], w[i-3], w[i-2] and w[i-1].
            __m128i next = _mm_sha256msg1_epu32(w[i % 4], w[(i + 1) % 4]);
            next = _mm_add_epi32(next, _mm_alignr_epi8(w[(i + 3) % 4], w[(i + 2) % 4], 4));
            w[i % 4] = _mm_sha256msg2_epu32(next, w[(i + 3) % 4]);
            rounds(s, _mm_add_epi32(w[i % 4], constants(i)));
        }
        s.abef = _mm_add_epi32(s.abef, before.abef);
        s.cdgh = _mm_add_epi32(s.cdgh, before.cdgh);
    }
}

} // namespace

namespace Sha256Blocks {

bool Available() {
    static const bool available = [] {
        unsigned a = 0, b = 0, c = 0, d = 0;
        if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
        const bool sse41 = (c & bit_SSE4_1) != 0 && (c & bit_SSSE3) != 0;
        if (!__get_cpuid_count(7, 0, &a, &b, &c, &d)) return false;
        return sse41 && (b & bit_SHA) != 0;
    }();
    return available;
}

__attribute__((target("sha,sse4.1"))) void Digest(const void* data, size_t size,
                                                  unsigned char* digest) {
    State s = load(Initial.data());
    const auto* bytes = static_cast<const unsigned char*>(data);
    const size_t whole = size / 64;
    compress(s, bytes, whole);
    // The rest, the 0x80 byte and the length in bits: one block or two.
    alignas(16) unsigned char tail[128] = {};
    const size_t rest = size % 64;
    if (rest > 0) std::memcpy(tail, bytes + whole * 64, rest);
    tail[rest] = 0x80;
    const size_t tailBlocks = rest < 56 ? 1 : 2;
    const uint64_t bits = static_cast<uint64_t>(size) * 8;
    for (size_t i = 0; i < 8; ++i)
        tail[tailBlocks * 64 - 1 - i] = static_cast<unsigned char>(bits >> (8 * i));
    compress(s, tail, tailBlocks);
    store(s, digest);
}

__attribute__((target("sha,sse4.1"))) void Digest64(const unsigned char* data,
                                                    unsigned char* digest) {
    State s = load(Initial.data());
    compress(s, data, 1);
    const State before = s;
#pragma GCC unroll 16
    for (size_t i = 0; i < 16; ++i)
        rounds(s, _mm_load_si128(reinterpret_cast<const __m128i*>(PaddingSchedule.data() + 4 * i)));
    s.abef = _mm_add_epi32(s.abef, before.abef);
    s.cdgh = _mm_add_epi32(s.cdgh, before.cdgh);
    store(s, digest);
}

} // namespace Sha256Blocks
