#pragma once

#include <array>
#include <cstddef>
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

// SHA-256 of a stream of bytes, added piece by piece.
class Sha256Stream {
  public:
    Sha256Stream();
    void add(const void* data, size_t size);
    void add(std::string_view text) { add(text.data(), text.size()); }
    // The digest of everything added, in hex; the stream starts again afterwards.
    std::string hex();

  private:
    alignas(64) unsigned char m_state[128];
};
