#include "platform/MemoryPlatform.h"

#include <gtest/gtest.h>

namespace kalvora {
namespace {

TEST(MemoryPlatform, PathsMatchWithoutCaseAndEitherSlash) {
  MemoryPlatform fs;
  fs.putFile("C:\\Data\\A.txt", "abc");
  EXPECT_EQ(fs.fileContent("c:/data/a.TXT"), "abc");
  EXPECT_TRUE(fs.directoryExists("C:\\DATA\\"));
  EXPECT_FALSE(fs.fileExists("C:\\Data"));
}

TEST(MemoryPlatform, CreateNeedsParentAndHonoursReadOnly) {
  MemoryPlatform fs;
  EXPECT_EQ(fs.openFile("C:\\missing\\f", OpenMode::Create), nullptr);
  fs.putFile("C:\\ro.txt", "x", kAttrReadOnly);
  EXPECT_EQ(fs.openFile("C:\\ro.txt", OpenMode::Create), nullptr);
  EXPECT_EQ(fs.openFile("C:\\ro.txt", OpenMode::ReadWrite), nullptr);
  EXPECT_NE(fs.openFile("C:\\ro.txt", OpenMode::ReadExclusive), nullptr);
  EXPECT_FALSE(fs.deleteFile("C:\\ro.txt"));
}

TEST(MemoryPlatform, FreeSpaceFollowsDriveLetterOrCurrentDrive) {
  MemoryPlatform fs;
  fs.setFreeSpace('d', 5);
  fs.setFreeSpace('C', 7);
  EXPECT_EQ(fs.freeDiskSpace("d:\\x"), 5);
  EXPECT_EQ(fs.freeDiskSpace("\\x"), 7);
  fs.setCurrentDrive('D');
  EXPECT_EQ(fs.freeDiskSpace("\\x"), 5);
}

// A move keeps the file whole and stays on its drive, as MoveFileEx without copying does.
TEST(MemoryPlatform, MoveReplacesWithinADriveOnly) {
  MemoryPlatform fs;
  fs.putFile("C:\\a.txt", "new", kAttrHidden);
  fs.setFileDosTime("C:\\a.txt", 0x12345678);
  fs.putFile("C:\\b.txt", "old");
  EXPECT_TRUE(fs.moveFile("C:\\a.txt", "C:\\B.TXT"));
  EXPECT_FALSE(fs.fileExists("C:\\a.txt"));
  EXPECT_EQ(fs.fileContent("C:\\b.txt"), "new");
  EXPECT_EQ(fs.fileInfo("C:\\b.txt")->dosDateTime, 0x12345678u);
  EXPECT_EQ(fs.fileInfo("C:\\b.txt")->attributes, static_cast<std::uint32_t>(kAttrHidden));
  fs.putDirectory("D:\\");
  EXPECT_FALSE(fs.moveFile("C:\\b.txt", "D:\\b.txt"));
  fs.putFile("C:\\ro.txt", "x", kAttrReadOnly);
  EXPECT_FALSE(fs.moveFile("C:\\b.txt", "C:\\ro.txt"));
  EXPECT_FALSE(fs.moveFile("C:\\missing", "C:\\c.txt"));
}

// Number and string values share a key but are not read as each other.
TEST(MemoryPlatform, RegistryNumbersAndStringsKeepTheirTypes) {
  MemoryPlatform fs;
  EXPECT_TRUE(fs.writeRegistryDword(RegistryRoot::LocalMachine, "Software\\K", "count", 3));
  EXPECT_TRUE(fs.writeRegistryString(RegistryRoot::LocalMachine, "Software\\K", "name", "3"));
  EXPECT_EQ(fs.readRegistryDword(RegistryRoot::LocalMachine, "Software\\K", "COUNT"), 3u);
  EXPECT_EQ(fs.readRegistryString(RegistryRoot::LocalMachine, "Software\\K", "count"), std::nullopt);
  EXPECT_EQ(fs.readRegistryDword(RegistryRoot::LocalMachine, "Software\\K", "name"), std::nullopt);
}

TEST(DosDateTime, PacksAndUnpacksWithTwoSecondResolution) {
  const DosTime t{2024, 2, 29, 23, 59, 58};
  const auto packed = packDosDateTime(t);
  const DosTime back = unpackDosDateTime(packed);
  EXPECT_EQ(back.year, 2024);
  EXPECT_EQ(back.month, 2);
  EXPECT_EQ(back.day, 29);
  EXPECT_EQ(back.hour, 23);
  EXPECT_EQ(back.minute, 59);
  EXPECT_EQ(back.second, 58);
  EXPECT_EQ(packDosDateTime({1970, 1, 1, 0, 0, 0}), packDosDateTime({1980, 1, 1, 0, 0, 0}));
}

} // namespace
} // namespace kalvora
