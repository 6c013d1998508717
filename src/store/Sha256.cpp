#include "store/Sha256.h"

#include <sodium.h>

Sha256Digest Sha256(std::string_view bytes) {
    Sha256Digest digest{};
    crypto_hash_sha256(digest.data(), reinterpret_cast<const unsigned char*>(bytes.data()),
                       bytes.size());
    return digest;
}

std::string HexOf(const Sha256Digest& digest) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(64);
    for (unsigned char b : digest) {
        hex += Digits[b >> 4];
        hex += Digits[b & 15];
    }
    return hex;
}

namespace {

// The value of each lower-case hex digit, 255 for any other byte: the check
// reads two digests a journal line, hundreds of thousands of lines a year.
constexpr std::array<unsigned char, 256> HexValues = [] {
    std::array<unsigned char, 256> values{};
    values.fill(255);
    for (int c = '0'; c <= '9'; ++c)
        values[static_cast<size_t>(c)] = static_cast<unsigned char>(c - '0');
    for (int c = 'a'; c <= 'f'; ++c)
        values[static_cast<size_t>(c)] = static_cast<unsigned char>(c - 'a' + 10);
    return values;
}();

} // namespace

bool DigestOfHex(std::string_view hex, Sha256Digest& digest) {
    if (hex.size() != 64) return false;
    for (size_t i = 0; i < 32; ++i) {
        const unsigned high = HexValues[static_cast<unsigned char>(hex[2 * i])];
        const unsigned low = HexValues[static_cast<unsigned char>(hex[2 * i + 1])];
        if ((high | low) > 15) return false;
        digest[i] = static_cast<unsigned char>(high * 16 + low);
    }
    return true;
}

static_assert(sizeof(crypto_hash_sha256_state) <= 128);

Sha256Stream::Sha256Stream() {
    crypto_hash_sha256_init(reinterpret_cast<crypto_hash_sha256_state*>(m_state));
}

void Sha256Stream::add(const void* data, size_t size) {
    crypto_hash_sha256_update(reinterpret_cast<crypto_hash_sha256_state*>(m_state),
                              static_cast<const unsigned char*>(data), size);
}

std::string Sha256Stream::hex() {
    Sha256Digest digest{};
    auto* state = reinterpret_cast<crypto_hash_sha256_state*>(m_state);
    crypto_hash_sha256_final(state, digest.data());
    crypto_hash_sha256_init(state);
    return HexOf(digest);
}
