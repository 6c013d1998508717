#include "setup/SetupFiles.h"
#include "store/Configuration.h"
#include "store/FileCommit.h"
#include "store/IoError.h"
#include "store/Options.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

const std::string OldOptions = "# kept\r\nshop-note=old\r\n";
const std::string Heading = "*         07/12/26          Services                 Sales\r\n";
// Code, name right-aligned in 12, four figures in 12 columns each.
const std::string Ann = "A   Ann              1.00       12.00        3.00       45.50\r\n";
const std::string OldPersons =
    Heading + Ann + "E   Eve              0.00        0.00        2.00       19.90\r\n";
const std::string NewPersons =
    Heading + Ann + "F   Eve              0.00        0.00        2.00       19.90\r\n";

Options newOptions() {
    std::vector<std::string> faults;
    Options options = Options::parse(OldOptions, faults);
    options.set("shop-note", "new");
    return options;
}

struct Shop {
    TestDir dir;
    Configuration before = DefaultConfiguration();
    SetupFiles::SettingsChange change{DefaultConfiguration(), newOptions(), {}};

    Shop() {
        before.SalesPersonName[0] = "Ann      ";
        before.SalesPersonName[4] = "Eve      ";
        change.config = before;
        change.config.SalesPersonCode[4] = "F";
        dir.write("Configur.dat", "old configuration\r\n");
        dir.write("Options.dat", OldOptions);
        dir.write("Spersons.dat", OldPersons);
        change.salesPersons = SetupFiles::MovedFigures(dir.path(), before, change.config,
                                                       {false, false, false, false, true});
    }
    void expectOld() {
        EXPECT_EQ(dir.read("Configur.dat"), "old configuration\r\n");
        EXPECT_EQ(dir.read("Options.dat"), OldOptions);
        EXPECT_EQ(dir.read("Spersons.dat"), OldPersons);
    }
};

} // namespace

// Whatever step of the save a crash stops at, the next start finds the
// configuration, the options and the sales persons' figures all old or all
// new.
TEST(SetupFiles, TheConfigurationOptionsAndFiguresAreSavedTogether) {
    Shop reference;
    ASSERT_TRUE(WriteConfiguration(reference.dir.file("Configur.dat"), reference.change.config));
    const std::string newConfiguration = reference.dir.read("Configur.dat");
    ASSERT_EQ(newConfiguration.substr(0, 36), "AAnn      \r\nBB\r\nCC\r\nDD\r\nFEve      \r\n");

    for (size_t stop = 0; stop <= 4; ++stop) {
        SCOPED_TRACE(stop);
        Shop shop;
        SetupFiles::SaveSettings(shop.dir.path(), shop.change, stop);
        RecoverFileCommit(shop.dir.path());
        EXPECT_EQ(shop.dir.read("Configur.dat"), newConfiguration);
        EXPECT_EQ(shop.dir.read("Options.dat"), "# kept\r\nshop-note=new\r\n");
        EXPECT_EQ(shop.dir.read("Spersons.dat"), NewPersons);
        EXPECT_FALSE(shop.dir.exists("Commit.jnl"));
    }

    // Cut off before the commit point, by a file that cannot be staged or one
    // the shop made read-only: nothing changes.
    for (const char* cut : {"Configur.dat.~stg.~tmp", "Spersons.dat.~stg", "read-only"}) {
        SCOPED_TRACE(cut);
        Shop shop;
        if (cut == std::string("read-only"))
            ::chmod(shop.dir.file("Spersons.dat").c_str(), 0444);
        else
            std::filesystem::create_directory(shop.dir.file(cut));
        EXPECT_THROW(SetupFiles::SaveSettings(shop.dir.path(), shop.change), IoError);
        std::filesystem::remove(shop.dir.file(cut));
        RecoverFileCommit(shop.dir.path());
        shop.expectOld();
    }

    // Without options or figures to move, only the configuration changes; a
    // shop that never had options gets no empty file.
    Shop keep;
    keep.change.options.reset();
    keep.change.salesPersons.reset();
    SetupFiles::SaveSettings(keep.dir.path(), keep.change);
    EXPECT_EQ(keep.dir.read("Configur.dat"), newConfiguration);
    EXPECT_EQ(keep.dir.read("Options.dat"), OldOptions);
    EXPECT_EQ(keep.dir.read("Spersons.dat"), OldPersons);
    TestDir fresh;
    SetupFiles::SaveSettings(fresh.path(), {DefaultConfiguration(), Options{}, {}});
    EXPECT_FALSE(fresh.exists("Options.dat"));
}
