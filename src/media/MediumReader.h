#pragma once
// Reading a medium the way the setup program does: the file entries of
// setup.inf, each chunk copied in 2048-byte blocks from its volume and on
// into the next volumes, and the expansion of a compressed chunk. Used by
// `kalvora check` and by the tests of the builder.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "script/SetupScript.h"

namespace kalvora::media {

// Where the files of a medium are: the directory with setup.inf and, for a
// disk set (that directory is disk1), the directory above the disks.
struct MediumLocation {
  std::string dir;     // ends with a separator
  std::string setRoot; // ends with a separator; empty when not a disk set

  std::string pathOf(const std::string& fileName) const { return dir + fileName; }
  // A volume file: beside setup.inf, else on disk N of the set.
  std::string volumePath(Platform& platform, const std::string& fileName, int volume) const;
};

MediumLocation locateMedium(const std::string& dir);

// One [Option_k] entry, read with the run's defaults.
struct FileEntry {
  int option = 1;
  int index = 1; // j
  std::string name;
  std::int32_t directory = 0;
  std::string volumeText = "01";
  std::int32_t offset = 0;
  std::int32_t size = 1;
  std::optional<std::uint32_t> checksum; // c<j>, the chunk's CRC-32, where the medium records one

  std::string label() const; // "[Option_1] f3 (name)"
};

// Every option's entries, 1 to 7, each list up to its "[leer]" end.
std::vector<FileEntry> readFileEntries(const SetupScript& script);

// A run of chunk bytes inside one volume file.
struct VolumeSpan {
  std::string path;
  std::int64_t offset = 0;
  std::int64_t length = 0;
};

// Copies the entry's chunk into out as the file stage does. Returns an empty
// text, or the fault that would stop (or stall) the setup program.
std::string copyChunk(Platform& platform, const MediumLocation& medium, const FileEntry& entry, Stream& out,
                      std::vector<VolumeSpan>* spans = nullptr);

struct ExpandedFile {
  std::string fault; // empty when the bytes are good
  std::vector<std::uint8_t> bytes;
  std::int64_t chunkSize = 0;
  std::vector<VolumeSpan> spans;
};

// The installed bytes of an entry: its chunk, expanded by TCompress when
// compressionMode is 1 (as the run: member = the entry's file name).
ExpandedFile readFileEntry(Platform& platform, const MediumLocation& medium, const FileEntry& entry,
                           std::int32_t compressionMode);

// Expands the member `member` of an archive held in memory, the way the
// setup program expands a chunk, a picture or the uninstaller.
ExpandedFile expandArchive(const std::vector<std::uint8_t>& archive, const std::string& member);

} // namespace kalvora::media
