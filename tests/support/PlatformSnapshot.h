#pragma once
// Everything an in-memory platform holds, for before-and-after comparisons:
// every file with its bytes, every directory and every registry value.
#include <map>
#include <set>
#include <string>

#include "platform/MemoryPlatform.h"

namespace kalvora::testing {

struct PlatformSnapshot {
  std::map<std::string, std::string> files; // normalized path -> bytes
  std::set<std::string> directories;
  std::map<std::string, std::map<std::string, std::string>> registry;
  bool operator==(const PlatformSnapshot&) const = default;
};

inline PlatformSnapshot snapshotOf(const MemoryPlatform& p) {
  PlatformSnapshot s;
  for (const std::string& path : p.listFiles())
    s.files[MemoryPlatform::normalize(path)] = *p.fileContent(path);
  s.directories = p.directories();
  s.registry = p.registryContents();
  return s;
}

} // namespace kalvora::testing
