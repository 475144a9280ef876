#include "archive/StoredName.h"

#include <gtest/gtest.h>

namespace kalvora {
namespace {

TEST(StoredName, MapsSeparatorsAndDropsEmptyElements) {
  EXPECT_EQ(checkStoredName("a.txt", '/').relativePath, "a.txt");
  EXPECT_EQ(checkStoredName("dir\\sub\\a.txt", '/').relativePath, "dir/sub/a.txt");
  EXPECT_EQ(checkStoredName("dir/sub\\\\a.txt", '\\').relativePath, "dir\\sub\\a.txt");
  EXPECT_EQ(checkStoredName("..a\\b..\\c.d", '/').relativePath, "..a/b../c.d");
  EXPECT_EQ(checkStoredName("CONSOLE.txt", '/').relativePath, "CONSOLE.txt");
  EXPECT_EQ(checkStoredName("COM0", '/').relativePath, "COM0");
  EXPECT_EQ(checkStoredName(" a. \\b .", '/').relativePath, " a. /b .");
}

TEST(StoredName, RefusesEveryWayOutOfTheDirectory) {
  const std::pair<const char*, const char*> refused[] = {
      {"", "has an empty name"},
      {"\\a.txt", "is an absolute path"},
      {"/a.txt", "is an absolute path"},
      {"C:a.txt", "names a drive"},
      {"c:\\a.txt", "names a drive"},
      {"a\\b:c", "contains ':'"},
      {"..", "contains a '..' component"},
      {"a\\..\\..\\b", "contains a '..' component"},
      {"a/../b", "contains a '..' component"},
      {"a\\.\\b", "contains the component '.'"},
      {"...\\b", "contains the component '...'"},
      {"a\\. .\\b", "contains the component '. .'"},
      {"   ", "contains the component '   '"},
      {"a\\ \\b", "contains the component ' '"},
      {"a\\", "does not end in a file name"},
      {"nul", "names the device 'nul'"},
      {"a\\Com3.log", "names the device 'Com3.log'"},
      {"LPT1 .txt", "names the device 'LPT1 .txt'"},
      {"a\nb", "contains a control character"},
  };
  for (const auto& [name, problem] : refused) {
    const StoredNameCheck check = checkStoredName(name, '/');
    EXPECT_FALSE(check.relativePath.has_value()) << name;
    EXPECT_EQ(check.problem, problem) << name;
  }
}

} // namespace
} // namespace kalvora
