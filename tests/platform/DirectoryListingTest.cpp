// The folder browser's lists on the running system's platform.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/Platform.h"

namespace kalvora {
namespace {

namespace fs = std::filesystem;

TEST(DirectoryListing, SubdirectoriesOnlyAndMissingDirectoryIsNothing) {
  const fs::path root = fs::temp_directory_path() / "kvr-listing-test";
  fs::remove_all(root);
  fs::create_directories(root / "Beta Dir" / "deeper");
  fs::create_directories(root / "alpha");
  std::ofstream(root / "file.txt") << "x";

  auto names = systemPlatform().listSubdirectories(root.string());
  ASSERT_TRUE(names.has_value());
  std::sort(names->begin(), names->end());
  EXPECT_EQ(*names, (std::vector<std::string>{"Beta Dir", "alpha"}));

  auto empty = systemPlatform().listSubdirectories((root / "alpha").string());
  ASSERT_TRUE(empty.has_value());
  EXPECT_TRUE(empty->empty());

  EXPECT_FALSE(systemPlatform().listSubdirectories((root / "missing").string()).has_value());
  fs::remove_all(root);
}

TEST(DirectoryListing, DriveCIsPresentAndHasAFullCurrentDirectory) {
  EXPECT_NE(systemPlatform().driveLetters().find('C'), std::string::npos);
  const std::string current = systemPlatform().driveCurrentDirectory('C');
  ASSERT_GE(current.size(), 3u);
  EXPECT_EQ(current.substr(0, 2), "C:");
}

} // namespace
} // namespace kalvora
