#pragma once
// The sizes of the media a project can be cut for, and the volume limits
// they give once the first directory's other files are known.
#include <cstdint>
#include <string>

#include "media/Project.h"
#include "media/VolumePlan.h"

namespace kalvora::media {

struct MediumGeometry {
  bool diskSet = false;         // disk1/, disk2/, ... one volume each
  std::int64_t capacity = 0;    // bytes of a disk, of the CD, or of a volume
  std::int64_t cluster = 1;     // allocation unit: every file takes whole clusters
  bool sharedWithFirst = false; // the first volume shares its room with setup.exe, setup.inf, ...
  int maxVolumes = 0;           // 0: no limit
  std::string description;      // "1.44 MB floppy disks"
};

MediumGeometry geometryOf(MediumKind kind, std::int64_t mediumSize);

std::int64_t roundUpToCluster(std::int64_t bytes, std::int64_t cluster);

// firstDirBytes: the cluster-rounded bytes of every other file beside volume 1.
VolumeLimits volumeLimits(const MediumGeometry& geometry, std::int64_t firstDirBytes);

} // namespace kalvora::media
