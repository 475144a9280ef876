#include "media/MediumGeometry.h"

namespace kalvora::media {

MediumGeometry geometryOf(MediumKind kind, std::int64_t mediumSize) {
  switch (kind) {
  // Bytes free on a freshly formatted DOS disk: 2847 and 2371 sectors of 512.
  case MediumKind::Floppy144: return {true, 1457664, 512, true, 0, "1.44 MB floppy disks"};
  case MediumKind::Floppy12: return {true, 1213952, 512, true, 0, "1.2 MB floppy disks"};
  case MediumKind::Disks: return {true, mediumSize, 1, true, 0, std::to_string(mediumSize) + "-byte disks"};
  // A 650 MB CD: 333,000 sectors of 2048 bytes.
  case MediumKind::Cd: return {false, 681984000, 2048, true, 1, "a CD (681984000 bytes)"};
  case MediumKind::Directory:
    return {false, mediumSize, 1, false, 0, "volumes of " + std::to_string(mediumSize) + " bytes"};
  case MediumKind::Unlimited: break;
  }
  return {false, kMaxInt32, 1, false, 0, "one directory"};
}

std::int64_t roundUpToCluster(std::int64_t bytes, std::int64_t cluster) {
  return cluster <= 1 ? bytes : (bytes + cluster - 1) / cluster * cluster;
}

VolumeLimits volumeLimits(const MediumGeometry& geometry, std::int64_t firstDirBytes) {
  VolumeLimits limits;
  limits.later = geometry.capacity;
  limits.first = geometry.sharedWithFirst ? geometry.capacity - firstDirBytes : geometry.capacity;
  limits.maxVolumes = geometry.maxVolumes;
  return limits;
}

} // namespace kalvora::media
