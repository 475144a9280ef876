#include "archive/ArchiveFormat.h"

#include <gtest/gtest.h>

#include "ArchiveTestUtil.h"
#include "archive/ArchiveWriter.h"
#include "platform/Errors.h"
#include "support/ErrorText.h"

namespace kalvora {
namespace {

using test::Bytes;
using test::errorOf;

// The 54-byte archive holding a.txt = "abc", stored, attributes 0x20.
const Bytes kWorkedExample = {0x5A, 0x4F, 0x52, 0x51, 0x1A, 0x4E, 0x4F, 0x4E, 0x03, 0x00, 0x00, 0x00, 0x01, 0,
                              0,    0,    0,    0,    0,    0,    0,    0x05, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20,
                              0x00, 0x03, 0x00, 0x00, 0x00, 0x03, 0x00, 0x00, 0x00, 0x00, 0x26, 0x01, 0x00, 0x00,
                              0x00, 0x00, 0x00, 0x00, 0x61, 0x2E, 0x74, 0x78, 0x74, 0x61, 0x62, 0x63};

TEST(ArchiveFormat, WriterProducesTheWorkedExampleByteForByte) {
  MemoryStream out;
  Result<ArchiveWriter> writer = ArchiveWriter::start(out, "NON");
  ASSERT_TRUE(writer.ok());
  ASSERT_TRUE(writer.value().addMember("a.txt", test::bytesOf("abc"), {kMethodStored, 0, 0x20, std::nullopt}).ok());
  ASSERT_TRUE(writer.value().finish().ok());
  EXPECT_EQ(out.bytes(), kWorkedExample);
  EXPECT_EQ(out.position(), 54); // finish leaves the stream at the end
}

TEST(ArchiveFormat, HeadersDecodeLittleEndianAndSigned) {
  const ArchiveHeader a = decodeArchiveHeader(kWorkedExample.data());
  EXPECT_EQ(a.compressIdText(), "NON");
  EXPECT_EQ(a.totalExpandedSize, 3);
  EXPECT_EQ(a.archiveType, 1);
  const MemberHeader m = decodeMemberHeader(kWorkedExample.data() + kArchiveHeaderSize);
  EXPECT_EQ(m.nameLength, 5);
  EXPECT_EQ(m.fileAttributes, 0x20);
  EXPECT_EQ(m.checksum, 294);

  MemberHeader h;
  h.nameLength = -2;
  h.fileDateTime = static_cast<std::int32_t>(0x8765'4321u);
  h.fileAttributes = static_cast<std::int16_t>(0x8021);
  h.expandedSize = -5;
  h.compressedSize = 0x7FFF'FFFF;
  h.method = 0xFE;
  h.checksum = -1;
  h.lockFlag = std::numeric_limits<std::int32_t>::min();
  std::uint8_t raw[kMemberHeaderSize];
  encodeMemberHeader(h, raw);
  EXPECT_EQ(raw[0], 0xFE);
  EXPECT_EQ(raw[1], 0xFF);
  EXPECT_EQ(raw[2], 0x21);
  EXPECT_EQ(raw[5], 0x87);
  const MemberHeader back = decodeMemberHeader(raw);
  EXPECT_EQ(back.nameLength, -2);
  EXPECT_EQ(back.fileDateTime, h.fileDateTime);
  EXPECT_EQ(back.fileAttributes, h.fileAttributes);
  EXPECT_EQ(back.expandedSize, -5);
  EXPECT_EQ(back.compressedSize, 0x7FFF'FFFF);
  EXPECT_EQ(back.method, 0xFE);
  EXPECT_EQ(back.checksum, -1);
  EXPECT_EQ(back.lockFlag, h.lockFlag);
}

TEST(ArchiveFormat, ByteSumIsUnsignedAndWrapsModulo2To32) {
  EXPECT_EQ(byteSum(reinterpret_cast<const std::uint8_t*>("abc"), 3), 294u);
  // Every length around the 8-byte and 128-word steps, against a plain sum.
  const Bytes data = test::randomBytes(3000, 7);
  for (std::size_t n : {0u, 1u, 7u, 8u, 9u, 1023u, 1024u, 1025u, 2047u, 3000u}) {
    std::uint32_t plain = 5;
    for (std::size_t i = 0; i < n; ++i)
      plain += data[i];
    EXPECT_EQ(byteSum(data.data(), n, 5), plain) << n;
  }
  const Bytes ff(4096, 0xFF);
  EXPECT_EQ(byteSum(ff.data(), ff.size(), 0xFFFF'FFFFu), 4096u * 255u - 1u);
}

TEST(ArchiveFormat, MethodTags) {
  EXPECT_STREQ(methodTag(kMethodStored), "NON");
  EXPECT_STREQ(methodTag(kMethodRle), "RLE");
  EXPECT_STREQ(methodTag(kMethodLzh), "LZH");
}

TEST(ArchiveWriter, LockedMemberStoresSumPlusKey) {
  MemoryStream out;
  Result<ArchiveWriter> writer = ArchiveWriter::start(out, "LZH");
  ASSERT_TRUE(writer.ok());
  ASSERT_TRUE(writer.value().addMember("x", test::bytesOf("abc"), {kMethodLzh, 0x12345678, 0x21, -300}).ok());
  ASSERT_TRUE(writer.value().finish().ok());
  const MemberHeader m = decodeMemberHeader(out.bytes().data() + kArchiveHeaderSize);
  EXPECT_EQ(m.checksum, 294 - 300);
  EXPECT_EQ(m.lockFlag, 1);
  EXPECT_EQ(m.fileDateTime, 0x12345678);
  EXPECT_EQ(m.fileAttributes, 0x21);
  EXPECT_EQ(m.method, kMethodLzh);
}

TEST(ArchiveWriter, RejectsWhatTheFormatCannotHold) {
  MemoryStream out;
  EXPECT_EQ(errorOf(ArchiveWriter::start(out, "LZHX")), "Archive method tag must have 3 characters: LZHX");
  EXPECT_TRUE(out.bytes().empty());
  Result<ArchiveWriter> started = ArchiveWriter::start(out, "RLE");
  ASSERT_TRUE(started.ok());
  ArchiveWriter& writer = started.value();
  const std::size_t headerOnly = out.bytes().size();
  EXPECT_EQ(errorOf(writer.addMember(std::string(32768, 'n'), {}, {})).rfind("Member name longer than 32767", 0), 0u);
  EXPECT_EQ(out.bytes().size(), headerOnly); // nothing of a refused member is written
  EXPECT_EQ(errorOf(writer.addMember(std::string(32767, 'n'), {}, {})), "");
  MemberOptions custom;
  custom.method = kMethodCustom;
  EXPECT_EQ(errorOf(writer.addMember("c", test::bytesOf("x"), custom)), "No encoder for method 3 of c");
  // A data span above 2^31 - 1 bytes is refused before any byte of it is read.
  const std::span<const std::uint8_t> huge(reinterpret_cast<const std::uint8_t*>(out.bytes().data()),
                                           std::size_t{0x8000'0000u});
  const std::string big = errorOf(writer.addMember("big", huge, {}));
  EXPECT_NE(big.find("2147483647"), std::string::npos) << big;
  // A stream that takes nothing: the writer passes on its write error.
  ViewStream full(nullptr, 0);
  EXPECT_EQ(errorOf(ArchiveWriter::start(full, "LZH")), EWriteError().what());
}

} // namespace
} // namespace kalvora

namespace kalvora {
namespace {

TEST(RleEncode, FollowsTheWritingRule) {
  auto encode = [](const test::Bytes& in) {
    test::Bytes out;
    rleEncode(in, out);
    return out;
  };
  using B = test::Bytes;
  EXPECT_EQ(encode({}), B{});
  EXPECT_EQ(encode({0x94}), (B{0x94, 0x00}));
  EXPECT_EQ(encode({0x94, 0x94, 0x94}), (B{0x94, 0, 0x94, 0, 0x94, 0})); // never a run of the escape
  EXPECT_EQ(encode({7, 7}), (B{7, 7}));
  EXPECT_EQ(encode({7, 7, 7}), (B{7, 0x94, 3}));
  EXPECT_EQ(encode(B(255, 7)), (B{7, 0x94, 255}));
  EXPECT_EQ(encode(B(256, 7)), (B{7, 0x94, 255, 7}));
  EXPECT_EQ(encode(B(258, 7)), (B{7, 0x94, 255, 7, 0x94, 3}));
  EXPECT_EQ(encode({1, 0x94, 0x94, 2, 2, 0}), (B{1, 0x94, 0, 0x94, 0, 2, 2, 0}));
}

} // namespace
} // namespace kalvora
