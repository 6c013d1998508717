#include "store/AuditTrail.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace {

const DateTime At{2026, 12, 7, 9, 5, 30};

} // namespace

TEST(AuditTrail, OneLinePerChangeInItsColumns) {
    TestDir dir;
    AuditEntry entry =
        AuditChange(At, "viewer edit", "Balance.Tot", "a\r\nb\r\n", "a\r\nB\r\nc\r\n");
    appendAudit(dir.path(), entry);
    // Hashes worked out apart, with sha256sum.
    const std::string line =
        "2026-12-07 09:05:30 owner        viewer edit      Balance.Tot    "
        "58055bdcc73787eb88c78d36f0b4939e9c5dc1c3ad17e25cc85a6833cf1a0cab "
        "301f6bd307377e2edefbe991f82a21e6925b772a60418cc16db1f516185bef19        2";
    EXPECT_EQ(dir.read("Audit.dat"), line + "\r\n");
    const std::vector<AuditEntry> read = ReadAuditTrail(dir.path());
    ASSERT_EQ(read.size(), 1u);
    EXPECT_EQ(AuditLineText(read[0]), line);

    size_t unreadable = 0;
    dir.write("Audit.dat", line + "\r\n" + line.substr(1) + "\r\n");
    EXPECT_EQ(ReadAuditTrail(dir.path(), &unreadable).size(), 1u);
    EXPECT_EQ(unreadable, 1u);
}

TEST(AuditTrail, CountsTheLinesBetweenTheFirstAndLastDifference) {
    struct Case {
        std::optional<std::string_view> before, after;
        long lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\nc\r\n", "a\r\nb\r\nc\r\n", 0}, {"a\r\nb\r\nc\r\n", "a\r\nx\r\nc\r\n", 1},
        {"a\r\nc\r\n", "a\r\nb\r\nc\r\n", 1},      {"a\r\nb\r\nc\r\n", "x\r\nb\r\ny\r\n", 3},
        {std::nullopt, "a\r\nb\r\n", 2},           {"a\r\n", std::nullopt, 1},
    };
    for (const Case& c : cases) {
        const AuditEntry entry = AuditChange(At, "setup save", "Configur.dat", c.before, c.after);
        EXPECT_EQ(entry.linesChanged, c.lines) << c.before.value_or("-") << c.after.value_or("-");
        EXPECT_EQ(entry.before == AbsentFileHash(), !c.before);
        EXPECT_EQ(entry.after == AbsentFileHash(), !c.after);
    }
}
