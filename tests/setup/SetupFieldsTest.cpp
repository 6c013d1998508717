#include "setup/SetupFields.h"
#include "setup/SetupFiles.h"
#include "store/IoError.h"
#include "support/NoticeTexts.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

const std::string Recorrect =
    "An incorrect Number detected!\r\nGo back to Basic Setup again and correct the Number for ";
const std::string ChoosePort = "\rGo back to Setup and designate the correct Serialport.";
const std::string DisplayWidthMessage =
    "An incorrect Number detected!\r\nGo back to Basic Setup again and correct the Number for "
    "Customer Display\rmaximum No. of characters per line.";

} // namespace

TEST(SetupFields, EachRefusedValueHasItsMessageAndKeepsItsOldValue) {
    using F = SetupFields;
    struct Case {
        std::string F::*field;
        const char* text;
        char separator;
        std::string message;
    };
    const Case cases[] = {
        {&F::drawerPort, "com1", '.', ""},
        {&F::drawerPort, "COM5", '.',
         "Warning: Cash drawer port COM5 is not a valid entry !" + ChoosePort},
        {&F::displayPort, "LPT1", '.',
         "Warning: Customer display port LPT1 is not a valid entry !" + ChoosePort},
        {&F::displayWidth, "81", '.', DisplayWidthMessage},
        {&F::taxRate, "7,5", '.', Recorrect + "Tax!"},
        {&F::taxRate, "7,5", ',', ""},
        {&F::taxRate, "1e3", '.', Recorrect + "Tax!"},
        {&F::discountLow, "-1", '.', Recorrect + "Low Discount!"},
        {&F::discountMed, "100.5", '.', Recorrect + "Medium Discount!"},
        {&F::discountHigh, "100", '.', ""},
        {&F::printWidth, "19", '.', Recorrect + "Print width!"},
        {&F::pushOut, "", '.', Recorrect + "Docket pusout!"},
        {&F::lowStock, "101", '.', Recorrect + "Low Stock Alarm!"},
    };
    for (const Case& k : cases) {
        Configuration c = DefaultConfiguration();
        c.TaxRate = 8;
        Configuration before = c;
        SetupFields f = FieldsFromConfiguration(c, k.separator);
        f.*k.field = k.text;
        const Notices told = TakeOverFields(f, c, k.separator);
        auto expected =
            k.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{k.message};
        EXPECT_EQ(noticeTexts(told), expected) << k.text;
        // A refused number keeps its old value.
        if (k.field == &F::taxRate && !k.message.empty()) {
            EXPECT_EQ(c.TaxRate, 8);
        }
    }
}

TEST(SetupFields, TextsAreCutToWhatIsKeptAndPortsAndCodesChecked) {
    Configuration c = DefaultConfiguration();
    SetupFields f = FieldsFromConfiguration(c, '.');
    f.salesPersonName[0] = "Bartholomew";
    f.salesPersonName[1] = "Bob";
    f.salesPersonCode[1] = "7";
    f.salesPersonCode[2] = "";
    f.language[6] = "Served to you";
    f.docketText[1] = std::string(300, 'x');
    f.docketText[2] = "High St\r\nTown";
    f.drawerPort = f.displayPort = "com2";
    const Notices told = TakeOverFields(f, c, '.');
    EXPECT_EQ(c.SalesPersonName[0], "Bartholom");
    EXPECT_EQ(c.SalesPersonName[1], "Bob      ");
    EXPECT_EQ(c.SalesPersonCode[1], "B");
    EXPECT_EQ(c.SalesPersonCode[2], "");
    EXPECT_EQ(c.LabelServedBy, "Served to ");
    EXPECT_EQ(c.DocketText[1], std::string(255, 'x'));
    EXPECT_EQ(c.DocketText[2], "High StTown"); // a line end would break the file's layout
    EXPECT_EQ(c.DrawerPort, "COM2");
    EXPECT_EQ(noticeTexts(told),
              (std::vector<std::string>{
                  "Sales person SP2: the code 7 is not a letter A to Z.\rThe code B is kept.",
                  "Warning: The cash drawer and customer display are configured to the same "
                  "port." +
                      ChoosePort}));
}

TEST(SetupFiles, DocketDatIsErasedInEveryCaseButNeverTheDocketOrAFolder) {
    TestDir dir;
    dir.write("Docket.Dat", "x");
    dir.write("DOCKET.DAT", "x");
    dir.write("docket.prn", "4kept\r\n");
    SetupFiles::EraseDocketDat(dir.path());
    EXPECT_FALSE(dir.exists("Docket.Dat"));
    EXPECT_FALSE(dir.exists("DOCKET.DAT"));
    EXPECT_EQ(dir.read("docket.prn"), "4kept\r\n");

    std::filesystem::create_directory(dir.file("docket.dat"));
    SetupFiles::EraseDocketDat(dir.path());
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("docket.dat")));
}

TEST(SetupFiles, AReadOnlyConfigurationIsNotReplaced) {
    TestDir dir;
    dir.write("Configur.dat", "old\r\n");
    ::chmod(dir.file("Configur.dat").c_str(), 0444);
    EXPECT_THROW(SetupFiles::SaveConfiguration(dir.file("Configur.dat"), DefaultConfiguration()),
                 IoError);
    EXPECT_EQ(dir.read("Configur.dat"), "old\r\n");
}
