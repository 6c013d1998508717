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

bool DigestOfHex(std::string_view hex, Sha256Digest& digest) {
    if (hex.size() != 64) return false;
    auto value = [](char c) {
        return c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    };
    for (size_t i = 0; i < 32; ++i) {
        const int high = value(hex[2 * i]), low = value(hex[2 * i + 1]);
        if (high < 0 || low < 0) return false;
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
