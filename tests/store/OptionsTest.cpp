#include "store/Options.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(Options, CommentsAndUnknownKeysSurviveARewriteByteForByte) {
    const std::string file = crlf({"# Shop settings", "till-number=2", "", "Shop-Note=Back at 2",
                                   "  # indented comment", "SCALE=1.5"});
    std::vector<std::string> faults;
    Options options = Options::parse(file, faults);
    EXPECT_TRUE(faults.empty());
    EXPECT_EQ(options.value("shop-note"), "Back at 2");
    EXPECT_EQ(options.value("scale"), "1.5");
    EXPECT_EQ(options.value("SHOP-NOTE"), "Back at 2");
    // Nothing changed: the file is written back as it was read.
    EXPECT_EQ(options.text(), file);

    options.set("shop-note", "Closed Monday");
    EXPECT_EQ(options.text(),
              crlf({"# Shop settings", "till-number=2", "", "shop-note=Closed Monday",
                    "  # indented comment", "SCALE=1.5"}));
    // A bare LF file, and a key that was not in it, which comes last.
    Options bare = Options::parse("# only a comment\n", faults);
    EXPECT_EQ(bare.value("shop-note"), "");
    bare.set("shop-note", "");
    EXPECT_EQ(bare.text(), "# only a comment\r\n");
    bare.set("shop-note", "Hello");
    EXPECT_EQ(bare.text(), "# only a comment\r\nshop-note=Hello\r\n");
}

TEST(Options, EachLineThatCannotBeTakenIsNamedAndKeepsItsDefault) {
    const std::string tooLong = "shop-note=" + std::string(41, 'x');
    auto file = [&](const char* note) {
        return crlf({"no equals sign here", tooLong, note, "shop-note=third", "scale=4",
                     "COM2=9600,8X1", "com3=14400,8N1", "COM4=19200,7E2"});
    };
    std::vector<std::string> faults;
    Options options = Options::parse(file("shop-note=second"), faults);
    EXPECT_EQ(faults, (std::vector<std::string>{
                          "line 1: no \"=\" in \"no equals sign here\"",
                          "line 2: shop-note takes text of up to 40 characters, not \"" +
                              std::string(41, 'x') + "\"",
                          "line 4: shop-note was given before; this line is not used",
                          "line 5: scale takes one of auto, 1, 1.5, 2, 2.5, 3, not \"4\"",
                          "line 6: COM2 takes a speed and the data bits, parity and stop bits, "
                          "such as 9600,8N1, or nothing, not \"9600,8X1\"",
                          "line 7: COM3 takes a speed and the data bits, parity and stop bits, "
                          "such as 9600,8N1, or nothing, not \"14400,8N1\""}));
    EXPECT_EQ(options.value("shop-note"), "second");
    EXPECT_EQ(options.value("COM2"), "");
    EXPECT_EQ(options.value("com4"), "19200,7E2");
    EXPECT_EQ(options.value("scale"), "auto");
    // The faulty lines stay as they were until the owner sets the key.
    EXPECT_EQ(options.text(), file("shop-note=second"));
    options.set("shop-note", "mended");
    EXPECT_EQ(options.text(), file("shop-note=mended"));
    EXPECT_EQ(OptionsFaultMessage("/shop/Options.dat", {"line 1: a", "line 3: b"}),
              "The options file /shop/Options.dat has faults; the default is used for:\r"
              "line 1: a\rline 3: b");
}

TEST(Options, AFileThatCannotBeReadIsNamedAndLeftAlone) {
    TestDir dir;
    OptionsRead missing = ReadOptions(dir.path());
    EXPECT_TRUE(missing.faults.empty());
    EXPECT_FALSE(missing.unreadable);

    std::filesystem::create_directory(dir.file("OPTIONS.DAT"));
    OptionsRead folder = ReadOptions(dir.path());
    EXPECT_TRUE(folder.unreadable);
    EXPECT_EQ(folder.faults, std::vector<std::string>{"it is a folder, not a file"});
    std::filesystem::remove(dir.file("OPTIONS.DAT"));

    dir.write("Options.dat", std::string(OptionsFileLimit + 1, '#'));
    OptionsRead large = ReadOptions(dir.path());
    EXPECT_TRUE(large.unreadable);
    EXPECT_EQ(large.faults, std::vector<std::string>{"it is larger than 64 KiB"});
    EXPECT_EQ(large.options.value("shop-note"), "");

    dir.write("Options.dat", "shop-note=Back at 2\r\n");
    EXPECT_EQ(ReadOptions(dir.path()).options.value("shop-note"), "Back at 2");
}

TEST(Options, TheOwnersPageMatchesTheListOfKeys) {
    std::ifstream in(ZORVI_SOURCE_DIR "/docs/options.md", std::ios::binary);
    std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(page, OptionsPage()) << "docs/options.md is out of date; write it anew from "
                                      "OptionsPage() (the expected text above).";
    // Every key the panel shows has a meaning for its help line.
    for (const OptionKey& key : OptionKeys())
        EXPECT_FALSE(key.meaning.empty()) << key.name;
    EXPECT_EQ(OptionKeys().front().name, "shop-note");
}
