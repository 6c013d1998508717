#include "setup/SetupFields.h"
#include "setup/SetupFiles.h"
#include "store/IoError.h"
#include "support/Fakes.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace {

const std::string Recorrect =
    "An incorrect Number detected!\r\nGo back to Basic Setup again and correct the Number for ";
const std::string ChoosePort = "\rGo back to Setup and designate the correct Serialport.";

} // namespace

TEST(SetupFields, FieldsShowTheValuesAndRatesInTheShopsFormat) {
    Configuration c = DefaultConfiguration();
    c.TaxRate = 12.5;
    c.DiscountHigh = 100;
    c.PrintWidth = 100;
    SetupFields f = FieldsFromConfiguration(c, ',');
    EXPECT_EQ(f.taxRate, "12,5");
    EXPECT_EQ(f.discountLow, "0");
    EXPECT_EQ(f.discountHigh, "100");
    EXPECT_EQ(f.printWidth, "100");
    EXPECT_EQ(f.pushOut, "5");
    EXPECT_EQ(f.language[0], "Cash Tender");
    EXPECT_EQ(f.language[6], "Served by");
    EXPECT_EQ(f.docketCode[9], "?");
}

TEST(SetupFields, TakeOverKeepsRefusedValuesAndShowsEachMessageInOrder) {
    struct Case {
        const char* what;
        void (*change)(SetupFields&);
        char separator;
        std::vector<std::string> messages;
        bool (*holds)(const Configuration&);
    };
    const Case cases[] = {
        {"lower-case port",
         [](SetupFields& f) { f.drawerPort = "com1"; },
         '.',
         {},
         [](const Configuration& c) { return c.DrawerPort == "COM1"; }},
        {"COM5 and LPT1 are warned and kept",
         [](SetupFields& f) {
             f.drawerPort = "COM5";
             f.displayPort = "LPT1";
         },
         '.',
         {"Warning: Cash drawer port COM5 is not a valid entry !" + ChoosePort,
          "Warning: Customer display port LPT1 is not a valid entry !" + ChoosePort},
         [](const Configuration& c) { return c.DrawerPort == "COM5" && c.DisplayPort == "LPT1"; }},
        {"blank port",
         [](SetupFields& f) { f.displayPort = ""; },
         '.',
         {"Warning: Customer display port  is not a valid entry !" + ChoosePort},
         [](const Configuration& c) { return c.DisplayPort.empty(); }},
        {"same port",
         [](SetupFields& f) { f.drawerPort = f.displayPort = "COM2"; },
         '.',
         {"Warning: The cash drawer and customer display are configured to the same port." +
          ChoosePort},
         [](const Configuration& c) { return c.DisplayPort == "COM2"; }},
        {"7,5 under a point",
         [](SetupFields& f) { f.taxRate = "7,5"; },
         '.',
         {Recorrect + "Tax!"},
         [](const Configuration& c) { return c.TaxRate == 8; }},
        {"7,5 under a comma",
         [](SetupFields& f) { f.taxRate = "7,5"; },
         ',',
         {},
         [](const Configuration& c) { return c.TaxRate == 7.5; }},
        {"1e3 is out of range",
         [](SetupFields& f) { f.taxRate = "1e3"; },
         '.',
         {Recorrect + "Tax!"},
         [](const Configuration& c) { return c.TaxRate == 8; }},
        {"empty numbers",
         [](SetupFields& f) {
             f.pushOut = "";
             f.displayWidth = "";
         },
         '.',
         {"An incorrect Number detected!\r\nGo back to Basic Setup again and correct the Number "
          "for Customer Display\rmaximum No. of characters per line.",
          Recorrect + "Docket pusout!"},
         [](const Configuration& c) { return c.PushOut == 5 && c.DisplayWidth == 0; }},
        {"numbers outside their ranges",
         [](SetupFields& f) {
             f.discountLow = "-1";
             f.discountMed = "100.5";
             f.discountHigh = "100";
             f.printWidth = "19";
             f.lowStock = "101";
             f.displayWidth = "81";
         },
         '.',
         {"An incorrect Number detected!\r\nGo back to Basic Setup again and correct the Number "
          "for Customer Display\rmaximum No. of characters per line.",
          Recorrect + "Low Discount!", Recorrect + "Medium Discount!", Recorrect + "Print width!",
          Recorrect + "Low Stock Alarm!"},
         [](const Configuration& c) {
             return c.DiscountLow == 0 && c.DiscountHigh == 100 && c.PrintWidth == 40 &&
                    c.LowStockPercent == 0;
         }},
        {"names, codes and docket words cut to what is kept",
         [](SetupFields& f) {
             f.salesPersonName[0] = "Bartholomew";
             f.salesPersonName[1] = "Bob";
             f.salesPersonCode[2] = "";
             f.language[6] = "Served to you";
             f.docketText[1] = std::string(300, 'x');
             f.docketText[4] = "no text row";
         },
         '.',
         {},
         [](const Configuration& c) {
             return c.SalesPersonName[0] == "Bartholom" && c.SalesPersonName[1] == "Bob      " &&
                    c.SalesPersonCode[2].empty() && c.LabelServedBy == "Served to " &&
                    c.DocketText[1] == std::string(255, 'x') && c.DocketText[4].empty();
         }},
        {"a code that is not a letter",
         [](SetupFields& f) { f.salesPersonCode[1] = "7"; },
         '.',
         {"Sales person SP2: the code 7 is not a letter A to Z.\rThe code B is kept."},
         [](const Configuration& c) { return c.SalesPersonCode[1] == "B"; }},
        {"line ends cannot enter the file",
         [](SetupFields& f) { f.docketText[2] = "High St\r\nTown"; },
         '.',
         {},
         [](const Configuration& c) { return c.DocketText[2] == "High StTown"; }},
    };
    for (const Case& k : cases) {
        Configuration c = DefaultConfiguration();
        c.TaxRate = 8;
        SetupFields f = FieldsFromConfiguration(c, k.separator);
        k.change(f);
        FakeDialogs dialogs;
        TakeOverFields(f, c, k.separator, dialogs);
        EXPECT_EQ(dialogs.texts(), k.messages) << k.what;
        EXPECT_TRUE(k.holds(c)) << k.what;
    }
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

TEST(SetupFiles, AConfigurationThatCannotBeWrittenIsAnError) {
    TestDir dir;
    dir.write("Configur.dat", "old\r\n");
    ::chmod(dir.file("Configur.dat").c_str(), 0444);
    EXPECT_THROW(SetupFiles::SaveConfiguration(dir.file("Configur.dat"), DefaultConfiguration()),
                 IoError);
    EXPECT_EQ(dir.read("Configur.dat"), "old\r\n");

    EXPECT_THROW(
        SetupFiles::SaveConfiguration(dir.file("missing/Configur.dat"), DefaultConfiguration()),
        IoError);
}
