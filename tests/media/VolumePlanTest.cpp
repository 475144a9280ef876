// Cutting chunks into volumes, and reading them back with the setup's
// 2048-byte block copy, at the edges where a chunk meets a volume's end.
#include <gtest/gtest.h>

#include <map>

#include "media/MediumReader.h"
#include "media/ScriptKeys.h"
#include "media/VolumePlan.h"
#include "platform/MemoryPlatform.h"

namespace kalvora::media {
namespace {

std::vector<std::uint8_t> numbered(std::size_t size, std::uint8_t salt) {
  std::vector<std::uint8_t> out(size);
  for (std::size_t i = 0; i < size; ++i)
    out[i] = static_cast<std::uint8_t>(i * 31 + i / 251 + salt);
  return out;
}

// Places the chunks, writes the volumes into a memory platform and keeps the entries.
struct Medium {
  MemoryPlatform fs;
  MediumLocation location = locateMedium("C:\\cd");
  std::vector<FileEntry> entries;
  std::vector<std::vector<std::uint8_t>> chunks;
  std::vector<ChunkPlace> places;

  Medium(VolumeLimits limits, const std::vector<std::size_t>& sizes) {
    fs.createDirectory("C:\\cd");
    VolumeCursor cursor(limits);
    std::map<int, std::vector<std::uint8_t>> volumes;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
      chunks.push_back(numbered(sizes[i], static_cast<std::uint8_t>(i)));
      places.push_back(cursor.place(static_cast<std::int64_t>(sizes[i])));
      std::size_t done = 0;
      for (const auto& piece : places.back().pieces) {
        auto& v = volumes[piece.volume];
        EXPECT_EQ(static_cast<std::int64_t>(v.size()), piece.offset);
        v.insert(v.end(), chunks.back().begin() + static_cast<long>(done),
                 chunks.back().begin() + static_cast<long>(done + static_cast<std::size_t>(piece.length)));
        done += static_cast<std::size_t>(piece.length);
      }
      FileEntry e;
      e.index = static_cast<int>(i + 1);
      e.name = numberedKey("f", static_cast<long long>(i + 1));
      e.volumeText = volumeNumberText(places.back().volume);
      e.offset = static_cast<std::int32_t>(places.back().offset);
      e.size = static_cast<std::int32_t>(sizes[i]);
      entries.push_back(e);
    }
    for (const auto& [number, bytes] : volumes)
      fs.putFile("C:\\cd\\" + volumeFileName(number), std::string(bytes.begin(), bytes.end()));
  }

  std::vector<std::uint8_t> read(std::size_t i, std::string* fault = nullptr) {
    MemoryStream out;
    const std::string f = copyChunk(fs, location, entries[i], out);
    if (fault) *fault = f;
    return out.bytes();
  }
};

TEST(VolumeCursor, ChunkEndingExactlyAtAVolumesEndLeavesTheNextChunkToTheNextVolume) {
  VolumeCursor cursor({100, 100, 0});
  EXPECT_EQ(cursor.place(60).pieces.size(), 1u);
  const ChunkPlace exact = cursor.place(40);
  ASSERT_EQ(exact.pieces.size(), 1u);
  EXPECT_EQ(exact.volume, 1);
  EXPECT_EQ(exact.offset, 60);
  const ChunkPlace next = cursor.place(10);
  EXPECT_EQ(next.volume, 2);
  EXPECT_EQ(next.offset, 0);
  EXPECT_EQ(cursor.volumeSizes(), (std::vector<std::int64_t>{100, 10}));
}

TEST(VolumeCursor, ChunkOneByteBeyondRunsOnAtOffsetZero) {
  VolumeCursor cursor({100, 100, 0});
  cursor.place(60);
  const ChunkPlace over = cursor.place(41);
  ASSERT_EQ(over.pieces.size(), 2u);
  EXPECT_EQ(over.pieces[0].volume, 1);
  EXPECT_EQ(over.pieces[0].length, 40);
  EXPECT_EQ(over.pieces[1].volume, 2);
  EXPECT_EQ(over.pieces[1].offset, 0);
  EXPECT_EQ(over.pieces[1].length, 1);
}

TEST(VolumeCursor, SmallerFirstVolumeAndAnEmptyChunkAtAFullVolume) {
  VolumeCursor cursor({30, 100, 0});
  const ChunkPlace a = cursor.place(50);
  ASSERT_EQ(a.pieces.size(), 2u);
  EXPECT_EQ(a.pieces[0].length, 30);
  EXPECT_EQ(a.pieces[1].length, 20);
  cursor.place(80);                         // fills volume 2 exactly
  const ChunkPlace empty = cursor.place(0); // needs no room and no new volume
  EXPECT_EQ(empty.volume, 2);
  EXPECT_EQ(empty.offset, 100);
  EXPECT_EQ(cursor.volumeSizes().size(), 2u);
  EXPECT_EQ(cursor.place(1).volume, 3);
}

TEST(VolumeCursor, FirstVolumeWithoutRoomStartsOnVolumeTwo) {
  VolumeCursor cursor({0, 100, 0});
  const ChunkPlace a = cursor.place(5);
  EXPECT_EQ(a.volume, 2);
  EXPECT_EQ(a.offset, 0);
}

TEST(VolumeCursor, ALimitedNumberOfVolumesRunsFull) {
  VolumeCursor cursor({100, 100, 1});
  cursor.place(100);
  EXPECT_THROW(cursor.place(1), MediumFull);
  VolumeCursor spanning({100, 100, 2});
  EXPECT_THROW(spanning.place(201), MediumFull);
}

TEST(VolumeNames, TwoDigitsBelowTen) {
  EXPECT_EQ(volumeFileName(1), "zdata_01.dsk");
  EXPECT_EQ(volumeFileName(10), "zdata_10.dsk");
  EXPECT_EQ(volumeFileName(123), "zdata_123.dsk");
  EXPECT_EQ(volumeNumberText(9), "09");
}

// Volumes of 4096 bytes: two whole blocks. A chunk filling the rest of its
// volume ends on a full block and must not ask for the next volume; one byte
// more must come from the start of the next.
TEST(ChunkReadBack, BlockAlignedVolumeEdges) {
  Medium m({4096, 4096, 0}, {4096, 4097, 4095, 2, 9000});
  EXPECT_EQ(m.places[0].pieces.size(), 1u); // exactly volume 1
  EXPECT_EQ(m.places[1].pieces.size(), 2u); // volume 2 and one byte of 3
  EXPECT_EQ(m.places[2].offset, 1);         // ends exactly at volume 3's end
  EXPECT_EQ(m.places[3].volume, 4);
  EXPECT_EQ(m.places[4].pieces.size(), 3u); // volumes 4, 5 and 6
  for (std::size_t i = 0; i < m.chunks.size(); ++i) {
    std::string fault;
    EXPECT_EQ(m.read(i, &fault), m.chunks[i]) << "chunk " << i;
    EXPECT_EQ(fault, "");
  }
}

TEST(ChunkReadBack, UnalignedEdgesAcrossManyVolumes) {
  const std::vector<std::size_t> sizes = {400, 600, 1001, 2000, 0, 3333, 1, 999};
  Medium m({1000, 1000, 0}, sizes);
  EXPECT_EQ(m.places[1].offset + 600, 1000);      // ends exactly at volume 1's end
  EXPECT_EQ(m.places[2].pieces.back().length, 1); // one byte into volume 3
  EXPECT_EQ(m.places[3].pieces.size(), 3u);       // volumes 3, 4, 5
  for (std::size_t i = 0; i < sizes.size(); ++i)
    EXPECT_EQ(m.read(i), m.chunks[i]) << "chunk " << i;
}

TEST(ChunkReadBack, MissingContinuationVolumeIsNamed) {
  Medium m({1000, 1000, 0}, {2500});
  m.fs.deleteFile("C:\\cd\\zdata_03.dsk");
  std::string fault;
  m.read(0, &fault);
  EXPECT_NE(fault.find("zdata_03.dsk"), std::string::npos) << fault;
  EXPECT_NE(fault.find("disk 3"), std::string::npos) << fault;
}

// s written as "1" opens zdata_1.dsk for the chunk's start but zdata_02.dsk for its continuation.
TEST(ChunkReadBack, OneDigitVolumeTextContinuesWithTwoDigits) {
  Medium m({10, 10, 0}, {15});
  m.fs.putFile("C:\\cd\\zdata_1.dsk", *m.fs.fileContent("C:\\cd\\zdata_01.dsk"));
  m.fs.deleteFile("C:\\cd\\zdata_01.dsk");
  m.entries[0].volumeText = "1";
  EXPECT_EQ(m.read(0), m.chunks[0]);
}

TEST(ChunkReadBack, DiskSetFindsEachVolumeOnItsDisk) {
  MemoryPlatform fs;
  for (const char* d : {"C:\\set", "C:\\set\\disk1", "C:\\set\\disk2", "C:\\set\\disk3"})
    fs.createDirectory(d);
  fs.putFile("C:\\set\\disk1\\zdata_01.dsk", "abc");
  fs.putFile("C:\\set\\disk2\\zdata_02.dsk", "defg");
  fs.putFile("C:\\set\\disk3\\zdata_03.dsk", "h");
  const MediumLocation where = locateMedium("C:\\set\\disk1");
  EXPECT_EQ(where.setRoot, "C:\\set\\");
  FileEntry e;
  e.offset = 1;
  e.size = 7;
  MemoryStream out;
  EXPECT_EQ(copyChunk(fs, where, e, out), "");
  EXPECT_EQ(std::string(out.bytes().begin(), out.bytes().end()), "bcdefgh");
}

} // namespace
} // namespace kalvora::media
