// Our LZH streams, wrapped as -lh1- members of an LHA archive, checked and
// expanded by Debian's lhasa: an LZH reader written independently of ours.
#include <gtest/gtest.h>

#include <filesystem>

#include "archive/ArchiveWriter.h"
#include "archive/Compress.h"
#include "archive/LzhEncoder.h"
#include "support/LhaWriter.h"
#include "support/RunProcess.h"
#include "support/TempDir.h"
#include "support/TestData.h"

namespace kalvora::testing {
namespace {

struct Sample {
  std::string name;
  std::vector<std::uint8_t> data;
};

std::vector<Sample> samples() {
  std::vector<Sample> all;
  for (std::size_t size : {1u, 2u, 3u, 59u, 60u, 61u, 4095u, 4096u, 4097u, 8193u})
    all.push_back({"text" + std::to_string(size) + ".txt", textData(size, static_cast<std::uint32_t>(size))});
  // Starts with spaces, which an encoder may take from the initial window.
  std::vector<std::uint8_t> spaces(200, ' ');
  const auto tail = textData(1000, 9);
  spaces.insert(spaces.end(), tail.begin(), tail.end());
  all.push_back({"spaces.txt", spaces});
  all.push_back({"zeros.bin", std::vector<std::uint8_t>(300000, 0)});
  all.push_back({"random.bin", randomData(200000, 5)});
  // Millions of symbols: the adaptive tree is rebuilt many times.
  all.push_back({"big.txt", textData(3 << 20, 11)});
  all.push_back({"exe.bin", executableLike(2 << 20)});
  all.push_back({"random-big.bin", randomData(1 << 20, 13)});
  // A short unit repeated with a byte in every 19 changed: matches of every
  // length, overlapping everywhere.
  std::vector<std::uint8_t> repeats = randomData(9, 17);
  while (repeats.size() < 100000)
    repeats.push_back(static_cast<std::uint8_t>(repeats[repeats.size() - 9] + (repeats.size() % 19 == 0)));
  all.push_back({"repeats.bin", repeats});
  return all;
}

TEST(LhasaPeer, ExpandsOurLzhStreamsBitForBit) {
  if (!programAvailable("lhasa")) GTEST_SKIP() << "lhasa is not installed";
  TempDir dir;
  const auto all = samples();
  std::vector<std::uint8_t> archive;
  std::vector<std::vector<std::uint8_t>> packed(all.size());
  std::uint32_t rebuilds = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    LzhEncodeStats stats;
    lzhEncode(all[i].data, packed[i], &stats);
    rebuilds += stats.treeRebuilds;
    appendLhaMember(
        archive, {all[i].name, "-lh1-", packed[i], static_cast<std::uint32_t>(all[i].data.size()), crc16(all[i].data)});
  }
  finishLha(archive);
  EXPECT_GT(rebuilds, 10u) << "the samples are too small to make the adaptive tree rebuild";
  const std::string lzh = dir / "peer.lzh";
  writeBytes(lzh, archive);

  const ProcessResult tested = runProcess("lhasa", {"tq", lzh});
  EXPECT_EQ(tested.exitCode, 0) << tested.out << tested.err;

  const std::string out = dir / "out";
  std::filesystem::create_directory(out);
  const ProcessResult extracted = runProcess("lhasa", {"xfqw=" + out, lzh});
  EXPECT_EQ(extracted.exitCode, 0) << extracted.out << extracted.err;
  for (const Sample& sample : all) {
    const std::string path = out + "/" + sample.name;
    ASSERT_TRUE(std::filesystem::exists(path)) << sample.name;
    EXPECT_TRUE(readBytes(path) == sample.data) << sample.name << " differs after lhasa expanded it";
  }
}

// Streams no encoder of ours writes, but a reader must take: matches into the
// window's initial spaces, and matches 4096 bytes back.
TEST(LhasaPeer, AgreesOnTheInitialWindowAndTheFarthestMatch) {
  if (!programAvailable("lhasa")) GTEST_SKIP() << "lhasa is not installed";
  std::vector<std::uint8_t> stream, expected;
  {
    LzhStreamWriter writer(stream);
    writer.match(60, 1); // 60 spaces: the window's last initial byte, then the copy itself
    expected.insert(expected.end(), 60, ' ');
    writer.literal('x');
    expected.push_back('x');
    writer.match(20, 3000); // reaches back into the initial spaces
    expected.insert(expected.end(), 20, ' ');
    const auto text = textData(5000, 21);
    for (std::uint8_t b : text)
      writer.literal(b);
    expected.insert(expected.end(), text.begin(), text.end());
    writer.match(60, 4096);
    for (int i = 0; i < 60; ++i)
      expected.push_back(expected[expected.size() - 4096]);
    writer.finish();
  }

  MemoryStream ours;
  ViewStream source(stream.data(), stream.size());
  TCompress compress;
  const auto checksum = static_cast<std::int32_t>(byteSum(expected.data(), expected.size()));
  EXPECT_TRUE(compress
                  .ExpandMember(ours, source, false, "LZH", kMethodLzh, checksum,
                                static_cast<std::int32_t>(expected.size()), static_cast<std::int32_t>(stream.size()))
                  .ok());
  EXPECT_TRUE(ours.bytes() == expected) << "our reader";

  TempDir dir;
  std::vector<std::uint8_t> archive;
  appendLhaMember(archive,
                  {"window.txt", "-lh1-", stream, static_cast<std::uint32_t>(expected.size()), crc16(expected)});
  finishLha(archive);
  writeBytes(dir / "window.lzh", archive);
  const ProcessResult printed = runProcess("lhasa", {"pq", dir / "window.lzh"});
  EXPECT_EQ(printed.exitCode, 0) << printed.err;
  EXPECT_EQ(printed.out, std::string(expected.begin(), expected.end())) << "lhasa";
}

// The writer itself, with stored members: a faulty header or CRC would make
// every -lh1- result above meaningless.
TEST(LhasaPeer, AcceptsStoredMembersAndCatchesABadCrc) {
  if (!programAvailable("lhasa")) GTEST_SKIP() << "lhasa is not installed";
  TempDir dir;
  const auto data = randomData(5000, 2);
  std::vector<std::uint8_t> archive;
  appendLhaMember(archive, {"stored.bin", "-lh0-", data, 5000, crc16(data)});
  finishLha(archive);
  writeBytes(dir / "good.lzh", archive);
  EXPECT_EQ(runProcess("lhasa", {"tq", dir / "good.lzh"}).exitCode, 0);

  archive[archive.size() - 100] ^= 1;
  writeBytes(dir / "bad.lzh", archive);
  EXPECT_NE(runProcess("lhasa", {"tq", dir / "bad.lzh"}).exitCode, 0);
}

TEST(Crc16, MatchesTheArcCheckValue) {
  const std::string check = "123456789";
  EXPECT_EQ(crc16({reinterpret_cast<const std::uint8_t*>(check.data()), check.size()}), 0xBB3D);
  EXPECT_EQ(crc16({}), 0);
}

} // namespace
} // namespace kalvora::testing
