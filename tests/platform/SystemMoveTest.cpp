// Moving a file into place on the running system's platform.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <thread>

#include "platform/Platform.h"

namespace kalvora {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A virus scanner, an indexer or a look at the uninstall log holds the target
// open for a moment, without leave to delete it: the move waits for it.
TEST(SystemMove, WaitsForAMomentaryReaderOfTheTarget) {
  const fs::path root = fs::temp_directory_path() / "kvr-move-test";
  fs::remove_all(root);
  fs::create_directories(root);
  std::ofstream(root / "log.new", std::ios::binary) << "new";
  std::ofstream(root / "log.ini", std::ios::binary) << "old";

  auto reader = std::make_unique<std::ifstream>(root / "log.ini", std::ios::binary);
  ASSERT_TRUE(reader->is_open());
  std::thread closer([&reader] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    reader.reset();
  });
  const bool moved = systemPlatform().moveFile((root / "log.new").string(), (root / "log.ini").string());
  closer.join();

  EXPECT_TRUE(moved);
  EXPECT_EQ(contentOf(root / "log.ini"), "new");
  EXPECT_FALSE(fs::exists(root / "log.new"));
  fs::remove_all(root);
}

} // namespace
} // namespace kalvora
