#include "script/SetupScript.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>

#include "platform/Errors.h"
#include "platform/MemoryPlatform.h"
#include "support/ErrorText.h"

namespace kalvora {
namespace {

using test::errorOf;

TEST(ParseScriptInteger, AcceptsWholeDecimalOrLongHexOnly) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> expected;
  };
  const Case cases[] = {
      {"220", 220},
      {"0x0DC", 220},
      {"0X0dc", 220},
      {"0x", std::nullopt}, // two characters are never hexadecimal
      {"0X", std::nullopt},
      {"0", 0},
      {"00012", 12},
      {"-1", -1},
      {"+7", 7},
      {"2147483647", INT32_MAX},
      {"-2147483648", INT32_MIN},
      {"2147483648", std::nullopt},
      {"-2147483649", std::nullopt},
      {"99999999999999999999999", std::nullopt},
      {"0xFFFFFFFF", -1}, // hexadecimal is the 32-bit pattern
      {"0x80000000", INT32_MIN},
      {"0x000000000000001F", 31},
      {"0x100000000", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"+", std::nullopt},
      {"12a", std::nullopt},
      {" 5", std::nullopt},
      {"5 ", std::nullopt},
      {"1e3", std::nullopt},
      {"true", std::nullopt},
      {"yes", std::nullopt},
      {"0xg", std::nullopt},
      {"0x1g", std::nullopt},
      {"0x-1", std::nullopt},
      {"0x 1", std::nullopt},
      {"-0x10", std::nullopt},
      {"$10", std::nullopt},
      {"x10", std::nullopt},
      {"0b1", std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(parseScriptInteger(c.text), c.expected) << '"' << c.text << '"';
}

class SetupScriptTest : public ::testing::Test {
protected:
  void put(const std::string& content) { fs.putFile(path, content); }
  MemoryPlatform fs;
  std::string path = "C:\\src\\setup.inf";
  SetupScript script{path, fs};
};

TEST_F(SetupScriptTest, ReadsIntegersWithDefaults) {
  put("[kalvora]\r\nversion=0x0DC\r\nshort=0x\r\nword=true\r\nempty=\r\nneg=-12\r\n");
  EXPECT_EQ(script.ReadInteger("kalvora", "version", 1), 220);
  EXPECT_EQ(script.ReadInteger("kalvora", "short", 1), 1);
  EXPECT_EQ(script.ReadInteger("kalvora", "word", 5), 5);
  EXPECT_EQ(script.ReadInteger("kalvora", "empty", 9), 9);
  EXPECT_EQ(script.ReadInteger("kalvora", "neg", 0), -12);
  EXPECT_EQ(script.ReadInteger("kalvora", "missing", 150), 150);
  EXPECT_EQ(script.ReadInteger("nosection", "version", 2), 2);
}

TEST_F(SetupScriptTest, ReadsBooleansThroughIntegers) {
  put("[s]\r\none=1\r\ntwo=2\r\nminus=-1\r\nzero=0\r\nyes=yes\r\ntrue=true\r\nempty=\r\nhex=0x0\r\n");
  for (bool def : {false, true}) {
    EXPECT_TRUE(script.ReadBool("s", "one", def));
    EXPECT_TRUE(script.ReadBool("s", "two", def));
    EXPECT_TRUE(script.ReadBool("s", "minus", def));
    EXPECT_FALSE(script.ReadBool("s", "zero", def));
    EXPECT_FALSE(script.ReadBool("s", "hex", def));
    EXPECT_EQ(script.ReadBool("s", "yes", def), def);
    EXPECT_EQ(script.ReadBool("s", "true", def), def);
    EXPECT_EQ(script.ReadBool("s", "empty", def), def);
    EXPECT_EQ(script.ReadBool("s", "missing", def), def);
  }
}

TEST_F(SetupScriptTest, SectionAndKeyNamesIgnoreCase) {
  put("[Software]\r\nOpt1_Name=Program files\r\n");
  EXPECT_EQ(script.ReadString("SOFTWARE", "opt1_name", "x"), "Program files");
  EXPECT_EQ(script.ReadString("software", "OPT1_NAME", "x"), "Program files");
  EXPECT_EQ(script.ReadString("software", "Opt1_Nam", "x"), "x");
}

TEST_F(SetupScriptTest, CutsValuesAndDefaultsAt1023Characters) {
  const std::string exact(1023, 'a'), longer = std::string(1023, 'b') + "cdef";
  put("[s]\r\nexact=" + exact + "\r\nlong=" + longer + "\r\n");
  EXPECT_EQ(script.ReadString("s", "exact", ""), exact);
  EXPECT_EQ(script.ReadString("s", "long", ""), longer.substr(0, 1023));
  EXPECT_EQ(script.ReadString("s", "missing", longer), longer.substr(0, 1023));
  // An integer whose text is cut is read from the cut text.
  put("[s]\r\nn=" + std::string(1022, '0') + "12\r\n");
  EXPECT_EQ(script.ReadInteger("s", "n", -1), 1);
}

TEST_F(SetupScriptTest, ReadAfterWriteSeesNewValue) {
  put("[software]\r\nname=Old\r\n");
  EXPECT_EQ(script.ReadString("software", "name", ""), "Old");
  EXPECT_EQ(errorOf(script.WriteString("software", "name", "New")), "");
  EXPECT_EQ(script.ReadString("software", "name", ""), "New");
  EXPECT_EQ(errorOf(script.WriteInteger("vercheck", "version", -220)), "");
  EXPECT_EQ(script.ReadString("vercheck", "version", ""), "-220");
  EXPECT_EQ(script.ReadInteger("vercheck", "version", 0), -220);
  EXPECT_EQ(errorOf(script.WriteInteger("vercheck", "version", INT32_MIN)), "");
  EXPECT_EQ(script.ReadInteger("vercheck", "version", 0), INT32_MIN);
}

TEST_F(SetupScriptTest, WriteCreatesMissingFile) {
  SetupScript log("C:\\target\\setup\\uninst.log", fs);
  fs.putFile("C:\\target\\setup\\other", "");
  EXPECT_EQ(errorOf(log.WriteString("language", "l10", "Abbruch")), "");
  EXPECT_EQ(log.ReadString("language", "l10", ""), "Abbruch");
}

TEST_F(SetupScriptTest, RefusedWriteNamesThePath) {
  SetupScript nowhere("C:\\missing\\dir\\x.ini", fs);
  EXPECT_EQ(errorOf(nowhere.WriteString("s", "k", "v")), "Kann nicht nach C:\\missing\\dir\\x.ini schreiben");
  fs.putFile("C:\\ro.ini", "[s]\r\nk=old\r\n", kAttrReadOnly);
  SetupScript readOnly("C:\\ro.ini", fs);
  EXPECT_EQ(errorOf(readOnly.WriteInteger("s", "k", 1)), EIniFileException(readOnly.path()).what());
  EXPECT_EQ(readOnly.ReadString("s", "k", ""), "old");
}

TEST_F(SetupScriptTest, LineBreaksWriteNoFurtherEntries) {
  put("[s]\r\nk=old\r\n");
  EXPECT_EQ(errorOf(script.WriteString("s", "k", "a\r\nb=c")), "");
  EXPECT_EQ(script.ReadString("s", "k", ""), "a");
  EXPECT_EQ(script.ReadString("s", "b", "none"), "none");
  EXPECT_EQ(errorOf(script.WriteString("s", "k", "x\ny")), "");
  EXPECT_EQ(script.ReadString("s", "k", ""), "x");
  EXPECT_EQ(errorOf(script.WriteString("s", "k\nz", "v")), EIniFileException(script.path()).what());
  EXPECT_EQ(errorOf(script.WriteString("s\rt", "k", "v")), EIniFileException(script.path()).what());
  EXPECT_EQ(fs.fileContent(path), "[s]\r\nk=x\r\n");
}

// The same rules hold through the running system's INI interface.
TEST(SetupScriptOnSystem, WritesAndReadsARealFile) {
  const auto dir = std::filesystem::temp_directory_path() / "kalvora-script-test";
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  SetupScript script((dir / "fresh.ini").string());
  EXPECT_EQ(script.ReadString("s", "k", "dflt"), "dflt");
  EXPECT_EQ(errorOf(script.WriteString("Main", "Back", "back.bmp")), "");
  EXPECT_EQ(errorOf(script.WriteInteger("main", "l1_color", 0xFF)), "");
  EXPECT_EQ(script.ReadString("MAIN", "back", ""), "back.bmp");
  EXPECT_EQ(script.ReadInteger("main", "L1_COLOR", 0), 255);
  EXPECT_TRUE(script.ReadBool("main", "l1_color", false));
  EXPECT_EQ(errorOf(script.WriteString("main", "text", "a\r\nb=c")), "");
  EXPECT_EQ(script.ReadString("main", "text", ""), "a");
  EXPECT_EQ(script.ReadString("main", "b", "none"), "none");
  SetupScript nowhere((dir / "no" / "such" / "x.ini").string());
  EXPECT_EQ(errorOf(nowhere.WriteString("s", "k", "v")), EIniFileException(nowhere.path()).what());
  std::filesystem::remove_all(dir);
}

} // namespace
} // namespace kalvora
