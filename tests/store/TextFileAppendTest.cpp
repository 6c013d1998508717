#include "store/IoError.h"
#include "store/TextAppender.h"
#include "support/FileSizeLimit.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

TEST(TextFileAppend, AnAppendCutOffByAFullDiskLeavesNoPartOfItBehind) {
    const std::string before = "* START of SALE   07/12/26 9:05:\r\n";
    const std::string line =
        "A APPLE             3.00       1.20         2.50         2.50          7.50";
    const struct {
        const char* what;
        std::string text; // goes out at close, or at once when it fills a block
    } cases[] = {
        {"a line", line},
        {"a block of lines", std::string(70000, 'x')},
    };
    for (const auto& c : cases) {
        TestDir dir;
        dir.write("Results.dat", before);
        const std::string path = dir.file("Results.dat");
        const int answer = withFileSizeLimit(before.size() + 10, [&] {
            std::optional<TextAppender> results = TextAppender::Open(path);
            if (!results) return 2;
            try {
                results->writeLine(c.text);
                results->close();
            } catch (const IoError&) {
                return 0;
            }
            return 1;
        });
        EXPECT_EQ(answer, 0) << c.what << ": the write did not fail";
        EXPECT_EQ(dir.read("Results.dat"), before) << c.what;

        // Once there is room again, the line follows the old ones directly.
        std::optional<TextAppender> results = TextAppender::Open(path);
        ASSERT_TRUE(results);
        results->writeLine(line);
        results->close();
        EXPECT_EQ(dir.read("Results.dat"), before + line + "\r\n") << c.what;
    }
}
