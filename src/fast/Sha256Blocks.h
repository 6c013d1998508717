#pragma once

#include <cstddef>

// SHA-256 on the processor's own SHA instructions, for the check of the
// sealed books: it hashes every takings line and every chain value of years
// of archives, two short messages a line, and the library's portable code
// spends twice the time on them. The library (store/Sha256.h) stays the
// reference and is used wherever these instructions are missing; the tests
// in tests/fast compare the two.
namespace Sha256Blocks {

// True when this processor has the SHA and SSE4.1 instructions the fast
// path needs.
bool Available();

// The digest of `size` bytes into `digest`. Only when Available().
void Digest(const void* data, size_t size, unsigned char* digest);

// The digest of exactly 64 bytes (a chain value: previous chain value and
// line hash), whose padding block is the same every time and is not
// scheduled again. Only when Available().
void Digest64(const unsigned char* data, unsigned char* digest);

} // namespace Sha256Blocks
