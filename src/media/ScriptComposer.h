#pragma once
// Writing setup.inf: the distributor's sections and keys as written, the
// built-in texts, and every value that follows from the files and the volumes.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "media/Diagnostics.h"
#include "media/FileSelection.h"
#include "media/Project.h"

namespace kalvora::media {

// Where a file's chunk went, and its sizes.
struct FilePlacement {
  int volume = 1;
  std::int64_t offset = 0;
  std::int64_t storedSize = 0; // the chunk (z)
  std::uint32_t crc = 0;       // CRC-32 of the chunk (c, where the chunk does not check itself)
  bool selfChecked = false;    // an archive whose member's checksum the expansion tests
};

// What the build learned that setup.inf must say.
struct MediumFacts {
  Compression compression = Compression::Lzh;
  int volumeCount = 0;                   // 0 when there are no file entries
  std::vector<FilePlacement> placements; // one per selection file
  std::string readmeName;                // ANSI; empty without a readme
  std::int64_t readmeSize = 0;
  std::array<std::string, kPictureRoles> pictureNames; // ANSI; empty where none
  std::int64_t largestStaged = 0; // the largest chunk or packed uninstaller, staged as compress.tmp
};

struct ComputedKey {
  std::string section;
  std::string key;
  std::string value;
  bool integer = true;
};

// The keys the builder computes, in the order it writes them.
std::vector<ComputedKey> computedKeys(const FileSelection& selection, const MediumFacts& facts,
                                      std::int64_t compressionSize);

struct SetupInf {
  std::string text;                 // ANSI, CRLF line ends
  std::int64_t compressionSize = 0; // the [compression] size written
};

// setup.inf for the medium. A computed key that the project also writes with
// another value is an error.
SetupInf composeSetupInf(const Project& project, const FileSelection& selection, const MediumFacts& facts,
                         Diagnostics& diag);

// Facts whose numbers are all as wide as they can be: the setup.inf that they
// give is at least as long as the real one, for reserving its room on disk 1.
MediumFacts widestFacts(const FileSelection& selection, MediumFacts facts);

// The product name that the built-in texts mention (ANSI).
std::string productName(const Project& project);

} // namespace kalvora::media
