#pragma once
// The program group as the shell keeps it: a folder in the Start Menu's
// Programs folder with one shell link per item, named by the item's caption.
// The shell's Program Manager interface may have made all, some or none of
// them (shells carry out the commands in their own partial ways); these
// functions complete the group without ever making a second link for an item.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace kalvora {

// One program item: what its Program Manager command line says, kept apart.
struct GroupItem {
  std::string caption, target, arguments;

  // The target, then a blank and the arguments when there are any.
  std::string commandLine() const;
  // The link that starts it, in the target's own directory.
  ShellLink link() const;
};

// A caption or group name as a file name: each character that file names
// cannot hold becomes "_", as the shell's own Program Manager interface names them.
std::string shellFileName(const std::string& caption);

// The group's folder: the Programs folder's (the common one first, then the
// user's) that holds a link of the items, else one that exists, else one
// created in the common Programs folder or, where that is refused, the user's.
// Empty when neither can take it.
std::string groupFolder(Platform& platform, const std::string& group, const std::vector<GroupItem>& items);
// The folders the group may take, in that order of preference.
std::vector<std::string> groupFolderCandidates(Platform& platform, const std::string& group);
// groupFolder without making one: empty when neither exists.
std::string existingGroupFolder(Platform& platform, const std::string& group, const std::vector<GroupItem>& items);

// The path of each item's link in the folder; a caption that comes again gets
// its own link, numbered " (2)", " (3)", ...
std::vector<std::string> groupLinkPaths(const std::string& folder, const std::vector<GroupItem>& items);

// How an item's link came to be right.
enum class LinkWay {
  Kept,      // the shell made it right
  Rewritten, // it was there but started something else
  Made,      // it was missing
  Failed,    // it could not be written
};
const char* linkWayName(LinkWay way);

// Makes the link at path start what the item starts, writing it only when it is missing or wrong.
LinkWay completeLink(Platform& platform, const std::string& path, const GroupItem& item);

} // namespace kalvora
