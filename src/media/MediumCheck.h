#pragma once
// `kalvora check`: reads a medium as the setup program will and names every
// fault that would stop, stall or mislead it.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace kalvora::media {

struct CheckReport {
  std::vector<std::string> faults;
  std::vector<std::string> warnings;
  std::vector<std::string> summary; // lines describing the medium
  bool ok() const { return faults.empty(); }
};

// mediumDir: the directory with setup.inf (disk1 of a disk set).
CheckReport checkMedium(Platform& platform, const std::string& mediumDir);

} // namespace kalvora::media
