#include "media/VolumePlan.h"

#include <algorithm>

namespace kalvora::media {

VolumeCursor::VolumeCursor(VolumeLimits limits) : limits_(limits) {
  limits_.first = std::clamp<std::int64_t>(limits_.first, 0, kMaxInt32);
  limits_.later = std::clamp<std::int64_t>(limits_.later, 1, kMaxInt32);
  used_.push_back(0);
}

std::int64_t VolumeCursor::capacity(int volume) const { return volume == 1 ? limits_.first : limits_.later; }

ChunkPlace VolumeCursor::place(std::int64_t size) {
  int volume = static_cast<int>(used_.size());
  if (size > 0 && used_.back() >= capacity(volume)) {
    if (limits_.maxVolumes != 0 && volume >= limits_.maxVolumes) throw MediumFull("the medium is full");
    used_.push_back(0);
    ++volume;
  }
  ChunkPlace place{volume, used_.back(), size, {}};
  std::int64_t remaining = size;
  while (true) {
    const std::int64_t take = std::min(remaining, capacity(volume) - used_.back());
    if (take > 0 || place.pieces.empty()) place.pieces.push_back({volume, used_.back(), take});
    used_.back() += take;
    remaining -= take;
    if (remaining == 0) break;
    if (limits_.maxVolumes != 0 && volume >= limits_.maxVolumes) throw MediumFull("the medium is full");
    used_.push_back(0);
    ++volume;
  }
  return place;
}

std::string volumeNumberText(int volume) {
  std::string text = volume < 10 ? "0" : "";
  text += std::to_string(volume);
  return text;
}

} // namespace kalvora::media
