#include "install/GroupLinks.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>

#include "install/ScriptPaths.h"
#include "platform/Directories.h"
#include "platform/NoCase.h"

namespace kalvora {

namespace {

// Paths compare without regard to case; arguments are the program's own business.
bool sameLink(const ShellLink& a, const ShellLink& b) {
  return sameNoCase(a.target, b.target) && a.arguments == b.arguments &&
         sameNoCase(a.workingDirectory, b.workingDirectory);
}

bool holdsAnItemLink(Platform& platform, const std::string& folder, const std::vector<GroupItem>& items) {
  const std::vector<std::string> paths = groupLinkPaths(folder, items);
  return std::any_of(paths.begin(), paths.end(), [&](const std::string& path) { return platform.fileExists(path); });
}

} // namespace

std::string GroupItem::commandLine() const { return arguments.empty() ? target : target + " " + arguments; }

ShellLink GroupItem::link() const {
  std::string directory = containingDirectory(target);
  if (!directory.empty() && directory.back() == ':') directory += '\\';
  return {target, arguments, directory};
}

std::string shellFileName(const std::string& caption) {
  std::string name = caption;
  for (char& c : name)
    if (std::strchr("\\/:*?\"<>|", c) || static_cast<unsigned char>(c) < 32) c = '_';
  return name;
}

std::vector<std::string> groupFolderCandidates(Platform& platform, const std::string& group) {
  std::vector<std::string> candidates;
  for (const bool common : {true, false}) {
    const std::string programs = platform.programsFolder(common);
    if (!programs.empty()) candidates.push_back(programs + "\\" + shellFileName(group));
  }
  return candidates;
}

std::string existingGroupFolder(Platform& platform, const std::string& group, const std::vector<GroupItem>& items) {
  const std::vector<std::string> candidates = groupFolderCandidates(platform, group);
  for (const std::string& folder : candidates)
    if (platform.directoryExists(folder) && holdsAnItemLink(platform, folder, items)) return folder;
  for (const std::string& folder : candidates)
    if (platform.directoryExists(folder)) return folder;
  return {};
}

std::string groupFolder(Platform& platform, const std::string& group, const std::vector<GroupItem>& items) {
  if (std::string folder = existingGroupFolder(platform, group, items); !folder.empty()) return folder;
  for (const std::string& folder : groupFolderCandidates(platform, group)) {
    createDirectories(platform, folder);
    if (platform.directoryExists(folder)) return folder;
  }
  return {};
}

std::vector<std::string> groupLinkPaths(const std::string& folder, const std::vector<GroupItem>& items) {
  std::vector<std::string> paths;
  // Both by lower case; maps of the type the INI code uses, so that setup.exe
  // gains no container code for them.
  std::map<std::string, std::size_t> taken;       // the paths given out (the values are unused)
  std::map<std::string, std::size_t> nextNumbers; // a name -> the number it tries next
  for (const GroupItem& item : items) {
    const std::string name = folder + "\\" + shellFileName(item.caption);
    std::string path = name + ".lnk";
    // Numbers are never given back, so a name's next free one is never below
    // those it has tried: a caption that comes thousands of times costs no more.
    std::size_t& number = nextNumbers.try_emplace(lowerCase(name), 2).first->second;
    while (!taken.try_emplace(lowerCase(path), 0).second)
      path = name + " (" + std::to_string(number++) + ").lnk";
    paths.push_back(path);
  }
  return paths;
}

const char* linkWayName(LinkWay way) {
  switch (way) {
  case LinkWay::Kept: return "kept";
  case LinkWay::Rewritten: return "rewritten";
  case LinkWay::Made: return "made";
  case LinkWay::Failed: break;
  }
  return "failed";
}

LinkWay completeLink(Platform& platform, const std::string& path, const GroupItem& item) {
  const ShellLink wanted = item.link();
  const std::optional<ShellLink> present = platform.readShellLink(path);
  if (present && sameLink(*present, wanted)) return LinkWay::Kept;
  const bool existed = present || platform.fileExists(path);
  if (!platform.writeShellLink(path, wanted)) return LinkWay::Failed;
  return existed ? LinkWay::Rewritten : LinkWay::Made;
}

} // namespace kalvora
