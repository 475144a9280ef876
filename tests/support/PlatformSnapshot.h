#pragma once
// Everything an in-memory platform holds, for before-and-after comparisons:
// every file with its bytes, time and attributes, every directory and every
// registry value.
#include <map>
#include <set>
#include <string>

#include "platform/MemoryPlatform.h"

namespace kalvora::testing {

struct PlatformSnapshot {
  std::map<std::string, std::string> files;                              // normalized path -> bytes
  std::map<std::string, std::pair<std::uint32_t, std::uint32_t>> stamps; // normalized path -> DOS time, attributes
  std::set<std::string> directories;
  std::map<std::string, std::map<std::string, std::string>> registry;
  bool operator==(const PlatformSnapshot&) const = default;
};

inline PlatformSnapshot snapshotOf(const MemoryPlatform& p) {
  PlatformSnapshot s;
  for (const std::string& path : p.listFiles()) {
    s.files[MemoryPlatform::normalize(path)] = *p.fileContent(path);
    const std::optional<FileInfo> info = p.storedInfo(path);
    s.stamps[MemoryPlatform::normalize(path)] = {info->dosDateTime, info->attributes};
  }
  s.directories = p.directories();
  s.registry = p.registryContents();
  return s;
}

} // namespace kalvora::testing
