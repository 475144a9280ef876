#pragma once
// Writes chunks into the archive volumes zdata_01.dsk, zdata_02.dsk, ... as
// the volume plan places them, one volume file open at a time.
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <span>

#include "media/ScriptComposer.h"
#include "media/VolumePlan.h"

namespace kalvora::media {

class VolumeWriter {
public:
  // pathOf gives the file of a volume; its directory is created when needed.
  VolumeWriter(VolumeLimits limits, std::function<std::filesystem::path(int volume)> pathOf);
  // Places the chunk after the previous ones and writes it. Raises MediumFull
  // or kalvora::Exception (a write that fails).
  FilePlacement write(std::span<const std::uint8_t> chunk);
  // Closes the last volume.
  void finish();
  // The number of volumes written (0 before the first chunk).
  int volumeCount() const { return volumeCount_; }
  std::int64_t bytesWritten() const { return bytes_; }

private:
  void openVolume(int volume);

  VolumeCursor cursor_;
  std::function<std::filesystem::path(int)> pathOf_;
  std::ofstream out_;
  std::filesystem::path currentPath_;
  int volumeCount_ = 0;
  std::int64_t bytes_ = 0;
};

} // namespace kalvora::media
