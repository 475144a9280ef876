#include "wizard/EntryRules.h"

#include <gtest/gtest.h>

namespace kalvora {
namespace {

TEST(DirectoryEntry, EmptyBlankOrRelativeHasNoDrive) {
  for (const char* entry : {"", "   ", "\t \r\n", "programme\\tool", "\\tool", "C:", "c:"}) {
    const DirectoryCheck check = checkDirectoryEntry(entry);
    EXPECT_EQ(check.fault, EntryFault::NoDrive) << entry;
    EXPECT_TRUE(check.passedCharacters) << entry;
    EXPECT_EQ(check.driveNumber, 0) << entry;
  }
}

TEST(DirectoryEntry, DriveLetterWithBackslashPassesAndKeepsCase) {
  DirectoryCheck check = checkDirectoryEntry("C:\\");
  EXPECT_EQ(check.fault, EntryFault::None);
  EXPECT_EQ(check.drive, "C:");
  EXPECT_EQ(check.driveNumber, 3);

  check = checkDirectoryEntry("  c:\\programme\\tool \t");
  EXPECT_EQ(check.fault, EntryFault::None);
  EXPECT_EQ(check.cleaned, "c:\\programme\\tool");
  EXPECT_EQ(check.drive, "C:");

  EXPECT_EQ(checkDirectoryEntry("a:\\x").driveNumber, 1);
  EXPECT_EQ(checkDirectoryEntry("Z:\\x").driveNumber, 26);
  // Three characters with a colon second: "C:x" is a drive-relative path on C:.
  EXPECT_EQ(checkDirectoryEntry("C:x").driveNumber, 3);
}

TEST(DirectoryEntry, BlanksInsideBecomeUnderscores) {
  const DirectoryCheck check = checkDirectoryEntry(" C:\\Program Files\\My  Tool ");
  EXPECT_EQ(check.fault, EntryFault::None);
  EXPECT_EQ(check.cleaned, "C:\\Program_Files\\My__Tool");
}

TEST(DirectoryEntry, NetworkShareOrDigitDriveIsNoDriveLetter) {
  DirectoryCheck check = checkDirectoryEntry("\\\\server\\share\\tool");
  EXPECT_EQ(check.fault, EntryFault::NotADriveLetter);
  EXPECT_EQ(check.drive, "\\\\SERVER\\SHARE");
  EXPECT_EQ(checkDirectoryEntry("\\\\server").drive, "\\\\SERVER");
  EXPECT_EQ(checkDirectoryEntry("\\\\").fault, EntryFault::NotADriveLetter);
  EXPECT_EQ(checkDirectoryEntry("1:\\tool").fault, EntryFault::NotADriveLetter);
  EXPECT_EQ(checkDirectoryEntry("\xE4:\\tool").drive, "\xC4:"); // a-umlaut upper-cased, still no drive letter
  EXPECT_EQ(checkDirectoryEntry("\xE4:\\tool").fault, EntryFault::NotADriveLetter);
}

TEST(DirectoryEntry, EachRefusedCharacterFailsBeforeCleaning) {
  for (char c : std::string("?*|\"<>")) {
    const DirectoryCheck check = checkDirectoryEntry(std::string(" C:\\a b") + c);
    EXPECT_EQ(check.fault, EntryFault::DirectoryCharacters) << c;
    EXPECT_FALSE(check.passedCharacters) << c;
  }
  // Characters that only the group rules refuse are allowed in a directory.
  EXPECT_EQ(checkDirectoryEntry("C:\\a-b(c);d,e").fault, EntryFault::None);
}

TEST(GroupEntry, StarAndQuestionMarkBecomeUnderscores) {
  const GroupCheck check = checkGroupEntry("  My Tool*? ");
  EXPECT_EQ(check.fault, EntryFault::None);
  EXPECT_EQ(check.cleaned, "My_Tool__");
  EXPECT_EQ(checkGroupEntry("").fault, EntryFault::None);
  EXPECT_EQ(checkGroupEntry(" \t ").cleaned, "");
}

TEST(GroupEntry, EachRefusedCharacterFails) {
  for (char c : std::string("-/();:,|\"<>"))
    EXPECT_EQ(checkGroupEntry(std::string("Tool") + c).fault, EntryFault::GroupCharacters) << c;
  EXPECT_EQ(checkGroupEntry("Tool\\Sub.1").fault, EntryFault::None);
}

TEST(EntryMessages, LinesJoinedByCarriageReturns) {
  std::array<std::string, kTextCount + 1> texts;
  for (int n = 2; n <= 6; ++n)
    texts[static_cast<std::size_t>(n)] = std::string(1, 't').append(std::to_string(n));
  EXPECT_EQ(entryFaultMessage(EntryFault::DirectoryCharacters, texts), "t2\r? * | \" < >\rt3");
  EXPECT_EQ(entryFaultMessage(EntryFault::NoDrive, texts), "t4\rt3");
  EXPECT_EQ(entryFaultMessage(EntryFault::NotADriveLetter, texts), "t5\rt3");
  EXPECT_EQ(entryFaultMessage(EntryFault::GroupCharacters, texts), "t6\r- / ( ) ; : , | \" < >\rt3");
  EXPECT_EQ(entryFaultMessage(EntryFault::None, texts), "");
}

TEST(UpperCaseAnsi, AsciiAndLatinLetters) {
  EXPECT_EQ(upperCaseAnsi("abz09:\\"), "ABZ09:\\");
  EXPECT_EQ(upperCaseAnsi("\xE0\xFE\xF7\xFF\x9A"), "\xC0\xDE\xF7\x9F\x8A");
}

} // namespace
} // namespace kalvora
