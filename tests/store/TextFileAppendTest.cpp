#include "store/IoError.h"
#include "store/TextFile.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Runs `step` in a child process whose files may not grow past `limit`
// bytes, as on a disk that fills up half way through a write; the child's
// exit status is its answer.
int withFileSizeLimit(rlim_t limit, const std::function<int()>& step) {
    pid_t child = ::fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit small{limit, RLIM_INFINITY};
        if (::setrlimit(RLIMIT_FSIZE, &small) != 0) ::_exit(3);
        ::_exit(step());
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

} // namespace

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
            TextFile results;
            if (!results.openAppend(path)) return 2;
            try {
                results.writeLine(c.text);
                results.close();
            } catch (const IoError&) {
                return 0;
            }
            return 1;
        });
        EXPECT_EQ(answer, 0) << c.what << ": the write did not fail";
        EXPECT_EQ(dir.read("Results.dat"), before) << c.what;

        // Once there is room again, the line follows the old ones directly.
        TextFile results;
        ASSERT_TRUE(results.openAppend(path));
        results.writeLine(line);
        results.close();
        EXPECT_EQ(dir.read("Results.dat"), before + line + "\r\n") << c.what;
    }
}
