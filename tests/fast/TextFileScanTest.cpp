#include "store/TextReader.h"

#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace {
// The reader's block is 64 KiB; lines placed around that boundary exercise
// the refilling of the buffer.
constexpr size_t Block = 65536;

std::vector<std::string> allLines(TextReader& f) {
    std::vector<std::string> out;
    std::string line;
    while (f.readFullLine(line))
        out.push_back(line);
    return out;
}

std::vector<std::string> allLineViews(TextReader& f) {
    std::vector<std::string> out;
    std::string_view line;
    while (f.readLineView(line))
        out.push_back(std::string(line));
    return out;
}
} // namespace

TEST(TextFileScan, ReadFullLineKeepsEverythingButTheLineEnd) {
    TestDir dir;
    const std::string longLine(Block + 100, 'x');
    dir.write("t", "a\r\nbb\nccc\r\r\n\r\nd\re\r\n" + longLine + "\r\nlast");
    std::optional<TextReader> f = TextReader::Open(dir.file("t"));
    ASSERT_TRUE(f);
    EXPECT_EQ(allLines(*f),
              (std::vector<std::string>{"a", "bb", "ccc\r", "", "d\re", longLine, "last"}));
    EXPECT_TRUE(f->eof());
    EXPECT_FALSE(f->ioError());
}

TEST(TextFileScan, LineViewsAreTheFullLines) {
    // Lines across the block boundary at every offset, and lines longer than
    // one and than two blocks, which make the buffer grow.
    TestDir dir;
    std::string text = std::string(Block - 40, '.') + "\r\n";
    for (int n = 0; n < 40; ++n)
        text += std::string(static_cast<size_t>(n), 'a') + (n % 2 ? "\r\n" : "\n");
    text += std::string(Block + 7, 'x') + "\r\n\r\n" + std::string(2 * Block + 3, 'y') + "\nend\r";
    dir.write("t", text);
    std::optional<TextReader> full = TextReader::Open(dir.file("t"));
    std::optional<TextReader> views = TextReader::Open(dir.file("t"));
    ASSERT_TRUE(full);
    ASSERT_TRUE(views);
    const auto expected = allLines(*full);
    EXPECT_EQ(expected.back(), "end");
    EXPECT_EQ(allLineViews(*views), expected);
    EXPECT_FALSE(views->ioError());
}

TEST(TextFileScan, FindsLinesWhoseKeyStraddlesTheBlockBoundary) {
    // The wanted line starts `back` bytes before the block boundary, so its
    // key lies before, across or after it.
    for (size_t back = 0; back <= 20; ++back) {
        TestDir dir;
        const std::string filler(Block - back - 2, '.');
        dir.write("t", filler + "\r\n" + " KEY0000000001 first\r\n" + " KEY0000000002 second\r\n" +
                           " KEY0000000001 again\r\n");
        std::optional<TextReader> f = TextReader::Open(dir.file("t"));
        ASSERT_TRUE(f);
        ASSERT_TRUE(f->skipToLineWith(1, "KEY0000000001")) << back;
        std::string line;
        f->readFullLine(line);
        EXPECT_EQ(line, " KEY0000000001 first") << back;
        // The search goes on from where it stopped.
        ASSERT_TRUE(f->skipToLineWith(1, "KEY0000000001")) << back;
        f->readFullLine(line);
        EXPECT_EQ(line, " KEY0000000001 again") << back;
        std::string last;
        EXPECT_FALSE(f->skipToLineWith(1, "KEY0000000001", &last));
        EXPECT_EQ(last, "");
    }
}

TEST(TextFileScan, MissReportsTheStartOfTheLastLinePassed) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string last;
    };
    const std::string big(Block + 10, 'y');
    const Case cases[] = {
        // The usual cases are the line-by-line comparison's.
        {"short last line", " AAAAAAAAAAAAA one\r\n$BB\r\n", "$BB\r"},
        {"empty last line", " AAAAAAAAAAAAA one\r\n\n", ""},
        {"last line longer than a block", " AAAAAAAAAAAAA\r\n Z" + big + "\r\n",
         " Z" + big.substr(0, 12)},
        {"last line crossing the boundary", std::string(Block - 4, '-') + "\r\n CCCCCCCCCCCCC\r\n",
         " CCCCCCCCCCCCC"},
    };
    for (const Case& c : cases) {
        TestDir dir;
        dir.write("t", c.bytes);
        std::optional<TextReader> f = TextReader::Open(dir.file("t"));
        ASSERT_TRUE(f);
        std::string last = "stale";
        EXPECT_FALSE(f->skipToLineWith(1, "NOTTHERE12345", &last)) << c.name;
        EXPECT_EQ(last, c.last) << c.name;
        EXPECT_TRUE(f->eof()) << c.name;
    }
}

TEST(TextFileScan, KeyMustLieWithinOneLine) {
    TestDir dir;
    dir.write("t", " AB\r\nCD\r\n AB CD\r\n");
    std::optional<TextReader> f = TextReader::Open(dir.file("t"));
    ASSERT_TRUE(f);
    ASSERT_TRUE(f->skipToLineWith(1, "AB"));
    std::string line;
    f->readFullLine(line);
    EXPECT_EQ(line, " AB");
    // "AB\r\nCD" spans two lines and is never a match.
    EXPECT_FALSE(f->skipToLineWith(1, "AB\r\nCD"));
}

// Against a plain line-by-line search: random files of lines from empty to
// longer than the 64-byte stretches the scan takes at once, some ending in CR
// or without a final line end, searched for keys that are there several
// times, once or never, each search going on from where the last one stopped.
TEST(TextFileScan, AgreesWithALineByLineSearch) {
    std::mt19937 random(3);
    for (int round = 0; round < 40; ++round) {
        std::vector<std::string> lines;
        std::string bytes;
        const size_t count = 1 + random() % (round < 30 ? 60 : 4000);
        for (size_t i = 0; i < count; ++i) {
            std::string line = " K" + std::to_string(random() % 40);
            line.resize(random() % 3 == 0 ? random() % 8 : 10 + random() % 150, '.');
            if (random() % 10 == 0) line += '\r';
            lines.push_back(line);
            bytes += line + (i + 1 < count || random() % 2 ? "\n" : "");
        }
        TestDir dir;
        dir.write("t", bytes);
        for (const std::string key : {"K7", "K13......", "K39.", "K99"}) {
            std::optional<TextReader> f = TextReader::Open(dir.file("t"));
            ASSERT_TRUE(f);
            size_t from = 0;
            std::string line, last;
            auto hasKey = [&](const std::string& l) {
                return l.size() >= 1 + key.size() && l.compare(1, key.size(), key) == 0;
            };
            for (;;) {
                size_t expected = from;
                while (expected < lines.size() && !hasKey(lines[expected]))
                    ++expected;
                const bool found = f->skipToLineWith(1, key, &last);
                ASSERT_EQ(found, expected < lines.size()) << round << key;
                if (!found) {
                    EXPECT_EQ(last, from < lines.size() ? lines.back().substr(0, 1 + key.size())
                                                        : std::string())
                        << round << key;
                    break;
                }
                f->readFullLine(line);
                std::string wanted = lines[expected];
                if (!wanted.empty() && wanted.back() == '\r') wanted.pop_back();
                EXPECT_EQ(line, wanted) << round << key;
                from = expected + 1;
            }
        }
    }
}
