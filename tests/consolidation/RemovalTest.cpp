#include "consolidation/Removal.h"
#include "support/TestDir.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

void writeProgram(const TestDir& dir) {
    for (const char* name :
         {"zorvi", "Hlpf.1", "hlpf.2", "hlpf.3", "hlpf.4", "hlpf.5", "hlpf.6", "HLPF.7"})
        dir.write(name, "x");
}

} // namespace

TEST(Removal, RemovesFilesAndLinksButNotTargetsFoldersOrTheAuditTrail) {
    TestDir outside("elsewhere");
    outside.write("Keep.dat", "keep");
    TestDir dir;
    writeProgram(dir);
    dir.write("Results.dat", "r");
    dir.write("AUDIT.DAT", "the removal's own line");
    fs::create_directory(dir.file("backup"));
    dir.write("backup/Old.dat", "old");
    fs::create_symlink(outside.file("Keep.dat"), dir.file("COM1"));
    fs::create_symlink(outside.path(), dir.file("shared"));

    RemovalRecord record = RecordProgramFiles(dir.path(), "zorvi");
    ASSERT_EQ(record.refusal, "");
    std::vector<std::string> names;
    for (const std::string& p : record.paths)
        names.push_back(fs::path(p).filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"COM1", "HLPF.7", "Hlpf.1", "Results.dat", "hlpf.2",
                                               "hlpf.3", "hlpf.4", "hlpf.5", "hlpf.6", "shared",
                                               "zorvi"}));

    EXPECT_TRUE(RemoveRecordedFiles(record.paths).empty());
    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(dir.path()))
        left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{"AUDIT.DAT", "backup"}));
    EXPECT_TRUE(dir.exists("backup/Old.dat"));
    EXPECT_EQ(outside.read("Keep.dat"), "keep");
}
