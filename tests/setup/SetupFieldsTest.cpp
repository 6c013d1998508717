#include "setup/SetupFields.h"
#include "setup/SetupFiles.h"
#include "support/NoticeTexts.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <filesystem>

// Which values the screen saves and which it sends back for correction; the
// messages and the selected field are the screen test's.
TEST(SetupFields, AValueThatCannotBeSavedStopsTheTakeOverAndChangesNothing) {
    using F = SetupFields;
    struct Case {
        std::string F::*field;
        const char* text;
        char separator;
        const char* refused; // the field sent back, or nothing
    };
    // clang-format off
    const Case cases[] = {
        {&F::taxRate, "7,5", '.', "taxed"}, {&F::taxRate, "7,5", ',', nullptr},
        {&F::taxRate, "7.5", ',', "taxed"}, {&F::taxRate, "1e3", '.', "taxed"},
        {&F::taxRate, "12.345", '.', "taxed"}, {&F::taxRate, "12.34 ", '.', nullptr},
        {&F::taxRate, "", '.', "taxed"},
        {&F::discountLow, "-1", '.', "ldisced"}, {&F::discountMed, "100.01", '.', "mdisced"},
        {&F::discountHigh, "100", '.', nullptr},
        {&F::drawerPort, "com4", '.', nullptr}, {&F::drawerPort, "COM10", '.', "COMed"},
        {&F::drawerPort, "prn2", '.', nullptr}, {&F::drawerPort, "PRN3", '.', "COMed"},
        {&F::displayPort, "PRN1", '.', "displayed"}, {&F::displayPort, "LPT1", '.', "displayed"},
        {&F::displayWidth, "41", '.', "dispNoched"},
        {&F::printWidth, "23", '.', "Prnwed"}, {&F::printWidth, "99", '.', nullptr},
        {&F::pushOut, "100", '.', "pushed"},
        {&F::lowStock, "99", '.', nullptr}, {&F::lowStock, "100", '.', "stocked"},
        {&F::denomination, "5", '.', nullptr},
    };
    // clang-format on
    for (const Case& k : cases) {
        Configuration c = DefaultConfiguration();
        SetupFields f = FieldsFromConfiguration(c, k.separator);
        f.*k.field = k.text;
        const FieldsTakenOver taken = TakeOverFields(f, c, k.separator);
        EXPECT_EQ(taken.refused ? taken.refused->field : "", k.refused ? k.refused : "") << k.text;
        if (taken.refused) {
            EXPECT_EQ(c.TaxRate, 0) << k.text;
            EXPECT_EQ(c.DrawerPort, "COM0") << k.text;
        }
    }

    // Codes of the sales persons and the docket rows.
    struct Code {
        std::string text;
        const char* refused;
    };
    const Code codes[] = {{"?27,33,48", "dl3ed"}, {"27,33,48", nullptr}, {" 27, 256", "dl3ed"},
                          {"?", nullptr},         {"", nullptr},         {"27,,33", "dl3ed"}};
    for (const Code& k : codes) {
        Configuration c = DefaultConfiguration();
        SetupFields f = FieldsFromConfiguration(c, '.');
        f.docketCode[3] = k.text;
        f.docketRelease[3] = k.text;
        EXPECT_EQ(TakeOverFields(f, c, '.').refused.value_or(FieldFault{}).field,
                  k.refused ? k.refused : "")
            << k.text;
    }
    Configuration c = DefaultConfiguration();
    SetupFields f = FieldsFromConfiguration(c, '.');
    f.salesPersonCode[1] = "7";
    f.docketRelease[9] = "x";
    f.taxRate = "x"; // the basic panel comes first
    EXPECT_EQ(TakeOverFields(f, c, '.').refused->field, "taxed");
    f.taxRate = "0";
    EXPECT_EQ(TakeOverFields(f, c, '.').refused->field, "sp2ed");
    f.salesPersonCode[1] = "b";
    EXPECT_EQ(TakeOverFields(f, c, '.').refused->field, "dr9ed");
}

TEST(SetupFields, TextsAreCutToWhatIsKeptAndASharedPortIsAWarning) {
    Configuration c = DefaultConfiguration();
    SetupFields f = FieldsFromConfiguration(c, '.');
    f.salesPersonName[0] = "Bartholomew";
    f.salesPersonName[1] = "Bob";
    f.salesPersonCode[1] = "k";
    f.salesPersonCode[2] = "";
    f.language[6] = "Served to you";
    f.docketText[1] = std::string(300, 'x');
    f.docketText[2] = "High St\r\nTown";
    f.drawerPort = f.displayPort = "com2";
    const FieldsTakenOver taken = TakeOverFields(f, c, '.');
    EXPECT_FALSE(taken.refused);
    EXPECT_EQ(c.SalesPersonName[0], "Bartholom");
    EXPECT_EQ(c.SalesPersonName[1], "Bob      ");
    EXPECT_EQ(c.SalesPersonCode[1], "K");
    EXPECT_EQ(c.SalesPersonCode[2], "");
    EXPECT_EQ(c.LabelServedBy, "Served to ");
    EXPECT_EQ(c.DocketText[1], std::string(255, 'x'));
    EXPECT_EQ(c.DocketText[2], "High StTown"); // a line end would break the file's layout
    EXPECT_EQ(c.DrawerPort, "COM2");
    EXPECT_EQ(noticeTexts(taken.notices),
              std::vector<std::string>{"Warning: The cash drawer and customer display are "
                                       "configured to the same port.\rGo back to Setup and "
                                       "designate the correct Serialport."});
    // A drawer on the printer shares no port with the display.
    f.drawerPort = "prn1";
    EXPECT_TRUE(TakeOverFields(f, c, '.').notices.empty());
    EXPECT_EQ(c.DrawerPort, "PRN1");
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
