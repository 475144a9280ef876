// Damaged and absurd archives: every outcome is a normal end or an error
// returned, nothing is written outside the target directory, and the
// work stays proportional to the input.
#include <gtest/gtest.h>

#include "ArchiveTestUtil.h"
#include "archive/Compress.h"
#include "archive/MemberPaths.h"
#include "support/ErrorText.h"

namespace kalvora {
namespace {

using test::Bytes;

Bytes sampleArchive() {
  std::vector<test::RawMember> members = {
      test::codedMember("a.txt", test::textLike(300, 1), kMethodLzh),
      test::codedMember("b.bin", test::longRuns(200, 2), kMethodRle),
      test::storedMember("c\\d.txt", "stored bytes"),
      test::codedMember("e.bin", test::binaryLike(400, 3), kMethodLzh),
  };
  members[1].header.lockFlag = 1;
  members[1].header.checksum += 7;
  return test::rawArchive("LZH", test::totalOf(members), members);
}

// Expands the archive into C:\t; true when it ended normally.
bool expandSafely(const Bytes& archive, std::size_t* filesWritten = nullptr) {
  MemoryPlatform fs;
  fs.createDirectory("C:\\t");
  fs.putFile("C:\\in.zrq", test::textOf(archive));
  TCompress c(fs);
  c.SetTargetPath("C:\\t");
  c.MakeDirectories = true;
  c.Key = 7;
  const bool normal = c.ExpandArchive("C:\\in.zrq", nullptr).ok();
  for (const auto& path : fs.listFiles()) {
    // Below C:\t, or a rooted stored name, which the format takes as it stands.
    const std::string key = fs.keyOf(path);
    const bool below = key.rfind("C:\\T\\", 0) == 0 && isContainedMemberName(key.substr(5));
    EXPECT_TRUE(key == "C:\\IN.ZRQ" || path[0] == '\\' || below) << path;
  }
  if (filesWritten) *filesWritten = fs.listFiles().size() - 1;
  return normal;
}

TEST(HostileInput, SampleExpandsWhole) {
  std::size_t written = 0;
  EXPECT_TRUE(expandSafely(sampleArchive(), &written));
  EXPECT_EQ(written, 4u);
}

TEST(HostileInput, TruncatedAtEveryPosition) {
  const Bytes archive = sampleArchive();
  int normal = 0;
  for (std::size_t n = 0; n < archive.size(); ++n)
    normal += expandSafely(Bytes(archive.begin(), archive.begin() + static_cast<std::ptrdiff_t>(n)));
  EXPECT_GT(normal, 0); // cuts at member boundaries end the walk quietly
  EXPECT_LT(normal, static_cast<int>(archive.size()));
}

TEST(HostileInput, RandomCorruption) {
  const Bytes archive = sampleArchive();
  std::mt19937 rng(2024);
  for (int round = 0; round < 1500; ++round) {
    Bytes damaged = archive;
    const int flips = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < flips; ++i) {
      const std::size_t at = rng() % damaged.size();
      damaged[at] = round % 3 == 0 ? static_cast<std::uint8_t>(rng())
                                   : static_cast<std::uint8_t>(damaged[at] ^ (1u << (rng() % 8)));
    }
    expandSafely(damaged);
  }
}

TEST(HostileInput, AbsurdHeaderFields) {
  // Every member header field of the first member set to extreme values.
  const Bytes archive = sampleArchive();
  const std::size_t field[] = {0, 2, 6, 8, 12, 16, 17, 21};
  const std::uint32_t values[] = {0, 1, 0x7FFF, 0x8000, 0xFFFF, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF};
  for (std::size_t offset : field) {
    for (std::uint32_t v : values) {
      Bytes damaged = archive;
      const std::size_t width = offset == 0 || offset == 6 ? 2 : offset == 16 ? 1 : 4;
      for (std::size_t i = 0; i < width; ++i)
        damaged[kArchiveHeaderSize + offset + i] = static_cast<std::uint8_t>(v >> (8 * i));
      expandSafely(damaged);
    }
  }
}

TEST(HostileInput, RandomLzhStreamsEndWithinTheirData) {
  // Noise decoded as LZH: every symbol path is valid, so decoding runs until
  // the data end; a huge ExpandedSize must not keep it going past that.
  for (unsigned seed = 1; seed <= 20; ++seed) {
    test::RawMember m{"n.bin", {}, test::randomBytes(2000 + seed * 100, seed)};
    m.header.method = kMethodLzh;
    m.header.expandedSize = 0x7FFFFFFF;
    m.header.compressedSize = static_cast<std::int32_t>(m.data.size());
    MemoryPlatform fs;
    fs.setFreeSpace('C', std::int64_t{1} << 40);
    fs.putFile("C:\\n.zrq", test::textOf(test::rawArchive("LZH", 0x7FFFFFFF, {m})));
    TCompress c(fs);
    c.SetTargetPath("C:\\");
    EXPECT_EQ(test::errorOf(c.ExpandArchive("C:\\n.zrq", nullptr)), EBadChecksum().what());
    EXPECT_FALSE(fs.fileExists("C:\\n.bin"));
  }
}

} // namespace
} // namespace kalvora
