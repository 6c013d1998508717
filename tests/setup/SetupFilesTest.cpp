#include "setup/SetupFiles.h"
#include "store/Configuration.h"
#include "store/FileCommit.h"
#include "store/IoError.h"
#include "store/Options.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const std::string OldOptions = "# kept\r\nshop-note=old\r\n";

Options newOptions() {
    std::vector<std::string> faults;
    Options options = Options::parse(OldOptions, faults);
    options.set("shop-note", "new");
    return options;
}

} // namespace

// Whatever step of the save a crash stops at, the next start finds both files
// old or both new.
TEST(SetupFiles, TheConfigurationAndTheOptionsAreSavedTogether) {
    Configuration changed = DefaultConfiguration();
    changed.SalesPersonName[0] = "Zed";
    TestDir reference;
    ASSERT_TRUE(WriteConfiguration(reference.file("Configur.dat"), changed));
    const std::string newConfiguration = reference.read("Configur.dat");
    ASSERT_NE(newConfiguration.find("Zed"), std::string::npos);

    for (size_t stop = 0; stop <= 3; ++stop) {
        SCOPED_TRACE(stop);
        TestDir dir;
        dir.write("Configur.dat", "old configuration\r\n");
        dir.write("Options.dat", OldOptions);
        SetupFiles::SaveSettings(dir.path(), changed, newOptions(), stop);
        RecoverFileCommit(dir.path());
        EXPECT_EQ(dir.read("Configur.dat"), newConfiguration);
        EXPECT_EQ(dir.read("Options.dat"), "# kept\r\nshop-note=new\r\n");
        EXPECT_FALSE(dir.exists("Commit.jnl"));
    }

    // A configuration that cannot be written changes neither file.
    TestDir dir;
    dir.write("Configur.dat", "old configuration\r\n");
    dir.write("Options.dat", OldOptions);
    std::filesystem::create_directory(dir.file("Configur.dat.~stg.~tmp"));
    EXPECT_THROW(SetupFiles::SaveSettings(dir.path(), changed, newOptions()), IoError);
    std::filesystem::remove(dir.file("Configur.dat.~stg.~tmp"));
    RecoverFileCommit(dir.path());
    EXPECT_EQ(dir.read("Configur.dat"), "old configuration\r\n");
    EXPECT_EQ(dir.read("Options.dat"), OldOptions);

    // A shop that never had options gets no empty file.
    TestDir fresh;
    SetupFiles::SaveSettings(fresh.path(), changed, Options{});
    EXPECT_FALSE(fresh.exists("Options.dat"));
}
