#include "fast/Sha256Blocks.h"
#include "store/Sha256.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

namespace {

std::string fastHex(std::string_view bytes) {
    Sha256Digest digest{};
    Sha256Blocks::Digest(bytes.data(), bytes.size(), digest.data());
    return HexOf(digest);
}

struct Vector {
    std::string input;
    const char* hex;
};

const Vector Vectors[] = {
    {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
    {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
    {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
     "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
    {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrlmnop"
     "qrsmnopqrstnopqrstu",
     "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
    {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
};

TEST(Sha256Blocks, StandardVectorsOnBothPaths) {
    for (const Vector& v : Vectors) {
        EXPECT_EQ(HexOf(Sha256Plain(v.input)), v.hex);
        EXPECT_EQ(Sha256Hex(v.input), v.hex);
        if (Sha256Blocks::Available()) {
            EXPECT_EQ(fastHex(v.input), v.hex) << v.input.size();
        }
    }
}

// Every length across the padding's one-block and two-block cases, random
// bytes, the 64-byte chain message's own path included.
TEST(Sha256Blocks, AgreesWithTheLibraryOnEveryLength) {
    if (!Sha256Blocks::Available()) GTEST_SKIP() << "no SHA instructions";
    std::mt19937 random(30);
    for (size_t size = 0; size <= 300; ++size) {
        for (int round = 0; round < 4; ++round) {
            std::string bytes(size, '\0');
            for (char& c : bytes)
                c = static_cast<char>(random());
            const Sha256Digest plain = Sha256Plain(bytes);
            EXPECT_EQ(fastHex(bytes), HexOf(plain)) << size;
            EXPECT_EQ(Sha256(bytes), plain) << size;
            if (size == 64) {
                Sha256Digest chain{};
                Sha256Blocks::Digest64(reinterpret_cast<const unsigned char*>(bytes.data()),
                                       chain.data());
                EXPECT_EQ(chain, plain);
            }
        }
    }
}

} // namespace
