#include "archive/Volumes.h"

namespace kalvora {

std::string firstVolumeName(const std::string& volumeText) { return "zdata_" + volumeText + ".dsk"; }

std::string volumeFileName(std::int64_t number) {
  return (number < 10 ? "zdata_0" : "zdata_") + std::to_string(number) + ".dsk";
}

ChunkBlocks::Step ChunkBlocks::step(std::size_t got) {
  const auto count = static_cast<std::int64_t>(got);
  if (count >= remaining_) {
    const Step last{static_cast<std::size_t>(remaining_ > 0 ? remaining_ : 0), true, false};
    remaining_ = 0;
    return last;
  }
  remaining_ -= count;
  return {got, false, got < kVolumeBlockSize};
}

} // namespace kalvora
