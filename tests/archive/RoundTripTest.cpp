// Archives written by ArchiveWriter expand to the same bytes through TCompress,
// for every method, the sizes around the 8192-byte buffers, and several kinds
// of data; on the in-memory platform and on the real file system.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ArchiveTestUtil.h"
#include "archive/Compress.h"
#include "support/ErrorText.h"

namespace kalvora {
namespace {

using test::Bytes;
using test::errorOf;

Bytes dataOfKind(int kind, std::size_t n, unsigned seed) {
  switch (kind) {
  case 0: return test::textLike(n, seed);
  case 1: return test::binaryLike(n, seed);
  case 2: return test::randomBytes(n, seed);
  default: return test::longRuns(n, seed);
  }
}

Bytes writeArchive(const std::string& id, const std::vector<std::pair<std::string, Bytes>>& members,
                   const MemberOptions& options) {
  MemoryStream out;
  Result<ArchiveWriter> writer = ArchiveWriter::start(out, id);
  EXPECT_EQ(errorOf(writer), "");
  if (!writer.ok()) return {};
  for (const auto& [name, data] : members)
    EXPECT_EQ(errorOf(writer.value().addMember(name, data, options)), "");
  EXPECT_EQ(errorOf(writer.value().finish()), "");
  return out.bytes();
}

TEST(RoundTrip, EveryMethodSizeAndKind) {
  const std::uint8_t methods[] = {kMethodStored, kMethodRle, kMethodLzh};
  for (std::uint8_t method : methods) {
    for (int kind = 0; kind < 4; ++kind) {
      std::vector<std::pair<std::string, Bytes>> members;
      unsigned seed = 1;
      for (std::size_t n : {0u, 1u, 2u, 3u, 8191u, 8192u, 8193u, 70000u}) {
        std::string name = "m";
        name += std::to_string(n);
        name += ".bin";
        members.emplace_back(name, dataOfKind(kind, n, seed++));
      }
      MemoryPlatform fs;
      fs.putFile("C:\\r.zrq", test::textOf(writeArchive(methodTag(method), members, {method, 0, 0x20, {}})));
      TCompress c(fs);
      c.SetTargetPath("C:\\");
      std::vector<std::string> written;
      for (const auto& member : members)
        written.push_back(member.first);
      ASSERT_EQ(errorOf(c.ExpandArchive("C:\\r.zrq", &written)), "");
      ASSERT_EQ(written.size(), members.size());
      for (const auto& [name, data] : members)
        EXPECT_EQ(fs.fileContent("C:\\" + name), test::textOf(data))
            << "method " << int(method) << " kind " << kind << " " << name;
    }
  }
}

TEST(RoundTrip, SeveralMegabytesWithLocks) {
  const Bytes text = test::textLike(3'000'000, 11), binary = test::binaryLike(2'000'000, 12),
              runs = test::longRuns(1'000'000, 13);
  MemoryPlatform fs;
  MemoryStream out;
  Result<ArchiveWriter> started = ArchiveWriter::start(out, "LZH");
  ASSERT_TRUE(started.ok());
  ArchiveWriter& writer = started.value();
  ASSERT_EQ(errorOf(writer.addMember("text.txt", text, {kMethodLzh, 0, 0x20, -1})), "");
  ASSERT_EQ(errorOf(writer.addMember("binary.bin", binary, {kMethodLzh, 0, 0x20, {}})), "");
  ASSERT_EQ(errorOf(writer.addMember("runs.rle", runs, {kMethodRle, 0, 0x20, -1})), "");
  ASSERT_EQ(errorOf(writer.addMember("runs.lzh", runs, {kMethodLzh, 0, 0x20, {}})), "");
  ASSERT_EQ(errorOf(writer.finish()), "");
  fs.putFile("C:\\big.zrq", test::textOf(out.bytes()));
  TCompress c(fs);
  c.SetTargetPath("C:\\");
  c.Key = -1;
  std::vector<std::int32_t> reports;
  c.OnShowProgress = [&](std::int32_t& p) { reports.push_back(p); };
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\big.zrq", nullptr)), "");
  EXPECT_EQ(fs.fileContent("C:\\text.txt"), test::textOf(text));
  EXPECT_EQ(fs.fileContent("C:\\binary.bin"), test::textOf(binary));
  EXPECT_EQ(fs.fileContent("C:\\runs.rle"), test::textOf(runs));
  EXPECT_EQ(fs.fileContent("C:\\runs.lzh"), test::textOf(runs));
  EXPECT_GT(reports.size(), 20u);
  EXPECT_LT(out.bytes().size(), (text.size() + binary.size() + 2 * runs.size()) / 2); // it does compress
  // A wrong key fails the first (locked) member.
  c.Key = 1;
  EXPECT_EQ(errorOf(c.ExpandArchive("C:\\big.zrq", nullptr)), EInvalidKey().what());
}

class RealFileSystem : public ::testing::Test {
protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("kalvora-archive-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::error_code ec;
    for (auto& entry : std::filesystem::recursive_directory_iterator(dir_, ec))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add, ec);
    systemPlatform().setFileAttributes(path("out/sub/t.txt"), kAttrArchive);
    std::filesystem::remove_all(dir_, ec);
  }
  std::string path(const std::string& relative) const { return (dir_ / relative).make_preferred().string(); }
  static Bytes read(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
  }

  std::filesystem::path dir_;
};

TEST_F(RealFileSystem, ExpandsIntoNewDirectoriesWithTimeAndAttributes) {
  const Bytes data = test::binaryLike(100000, 21);
  const std::uint32_t when = packDosDateTime({2003, 7, 14, 10, 20, 30});
  {
    std::ofstream out(path("a.zrq"), std::ios::binary);
    const Bytes archive = writeArchive("LZH", {{"sub/t.txt", data}}, {kMethodLzh, when, kAttrReadOnly, {}});
    out.write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
  }
  TCompress c;
  c.MakeDirectories = true;
  c.SetTargetPath(path("out") + std::string(1, std::filesystem::path::preferred_separator));
  std::string name = "SUB/T.TXT";
  EXPECT_EQ(errorOf(c.ExpandFile(name, path("a.zrq"))), "");
  EXPECT_FALSE(name.empty());
  EXPECT_EQ(read(path("out/sub/t.txt")), data);
  const auto info = systemPlatform().fileInfo(path("out/sub/t.txt"));
  ASSERT_TRUE(info);
  EXPECT_EQ(info->dosDateTime, when);
  EXPECT_TRUE(info->attributes & kAttrReadOnly);
}

TEST_F(RealFileSystem, BadChecksumLeavesNoFile) {
  Bytes archive = writeArchive("RLE", {{"x.bin", test::textLike(30000, 3)}}, {kMethodRle, 0, 0x20, {}});
  archive[kArchiveHeaderSize + 17] ^= 0x40; // the checksum
  {
    std::ofstream out(path("b.zrq"), std::ios::binary);
    out.write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
  }
  TCompress c;
  c.SetTargetPath(path(""));
  EXPECT_EQ(errorOf(c.ExpandArchive(path("b.zrq"), nullptr)), EBadChecksum().what());
  EXPECT_FALSE(std::filesystem::exists(path("x.bin")));
}

} // namespace
} // namespace kalvora
