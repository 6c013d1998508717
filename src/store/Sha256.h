#pragma once

#include <array>
#include <string>
#include <string_view>

// SHA-256, from the sodium library: the digest of some bytes, and the same
// as 64 lower-case hex digits.
using Sha256Digest = std::array<unsigned char, 32>;

Sha256Digest Sha256(std::string_view bytes);
std::string HexOf(const Sha256Digest& digest);
// The digest of 64 hex digits; false when the text is not one.
bool DigestOfHex(std::string_view hex, Sha256Digest& digest);
inline std::string Sha256Hex(std::string_view bytes) {
    return HexOf(Sha256(bytes));
}
