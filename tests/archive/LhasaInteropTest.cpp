// The LZH member data are the -lh1- stream form: Debian's lhasa, an
// independent decoder, must accept them wrapped in an LHA level-0 header.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ArchiveTestUtil.h"

namespace kalvora {
namespace {

#ifndef _WIN32

std::uint16_t crc16(const test::Bytes& data) {
  std::uint16_t crc = 0;
  for (std::uint8_t b : data) {
    crc ^= b;
    for (int i = 0; i < 8; ++i)
      crc = static_cast<std::uint16_t>(crc & 1 ? (crc >> 1) ^ 0xA001 : crc >> 1);
  }
  return crc;
}

test::Bytes lhaLevel0(const std::string& name, const test::Bytes& data, const test::Bytes& packed) {
  test::Bytes h = {0, 0, '-', 'l', 'h', '1', '-'};
  auto put32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
      h.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  put32(static_cast<std::uint32_t>(packed.size()));
  put32(static_cast<std::uint32_t>(data.size()));
  put32(0x58210000); // a DOS date and time
  h.push_back(0x20);
  h.push_back(0); // level 0
  h.push_back(static_cast<std::uint8_t>(name.size()));
  h.insert(h.end(), name.begin(), name.end());
  const std::uint16_t crc = crc16(data);
  h.push_back(static_cast<std::uint8_t>(crc));
  h.push_back(static_cast<std::uint8_t>(crc >> 8));
  h[0] = static_cast<std::uint8_t>(h.size() - 2);
  std::uint8_t sum = 0;
  for (std::size_t i = 2; i < h.size(); ++i)
    sum = static_cast<std::uint8_t>(sum + h[i]);
  h[1] = sum;
  h.insert(h.end(), packed.begin(), packed.end());
  h.push_back(0); // end of archive
  return h;
}

TEST(LhasaInterop, LhasaAcceptsOurLzhStreams) {
  if (std::system("command -v lhasa >/dev/null 2>&1") != 0) GTEST_SKIP() << "lhasa is not installed";
  const auto dir = std::filesystem::temp_directory_path() / "kalvora-lhasa";
  std::filesystem::create_directories(dir);
  int index = 0;
  // Starting with spaces (which a decoder's initial window holds), text long
  // enough for several tree rebuilds, and binary data.
  for (const test::Bytes& data : {test::bytesOf(std::string(200, ' ') + "tail"), test::textLike(300000, 8),
                                  test::binaryLike(200000, 9), test::randomBytes(5000, 10)}) {
    test::Bytes packed;
    lzhEncode(data, packed);
    const auto file = dir / ("t" + std::to_string(index++) + ".lzh");
    const test::Bytes lha = lhaLevel0("data.bin", data, packed);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(lha.data()), static_cast<std::streamsize>(lha.size()));
    const std::string command = "lhasa t '" + file.string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "lhasa rejects the stream of case " << index;
  }
  std::filesystem::remove_all(dir);
}

#endif

} // namespace
} // namespace kalvora
