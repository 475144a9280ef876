// The program group taken back: each logged link while it still starts what
// the run made it start (a link of that name that was there before is put
// back), then the group's folder when the run made it and it is empty. No
// [DeleteGroup] goes to the shell: it would take items the user added and
// groups other products share.
#include "install/ScriptPaths.h"
#include "platform/NoCase.h"
#include "uninstall/Removal.h"
#include "uninstall/RemovalPaths.h"

namespace kalvora {

void Removal::programGroup() {
  const std::string& folder = records_.groupFolder;
  if (folder.empty()) {
    // An older log names the group only: its items and whatever else it holds are unknown.
    if (!records_.groupName.empty()) report_.note("group", records_.groupName + " is not itemised in the log; left");
    return;
  }
  if (!isDriveDirectory(folder)) {
    report_.left("group", folder, "not a directory on a drive");
    return;
  }
  for (auto link = records_.groupLinks.rbegin(); link != records_.groupLinks.rend(); ++link) {
    if (partBelow(link->path, folder) && endsWithNoCase(link->path, ".lnk"))
      groupLink(*link);
    else
      report_.left("entry", link->path, "not a link in the group's folder");
  }
  if (records_.groupFolderMade)
    removeDirectoryIfEmpty(folder);
  else
    report_.note("kept", folder + " was there before");
}

void Removal::groupLink(const LoggedLink& link) {
  // An older log does not say what the link starts.
  if (!link.made) return removeFile("link", link.path);
  const std::optional<ShellLink> current = platform_.readShellLink(link.path);
  const auto starts = [&](const ShellLink& wanted) {
    return current && sameNoCase(current->target, wanted.target) && current->arguments == wanted.arguments;
  };
  if (!current && !platform_.fileExists(link.path)) {
    report_.note("absent", "link " + link.path);
  } else if (starts(*link.made)) {
    if (!link.before) return removeFile("link", link.path);
    if (platform_.writeShellLink(link.path, *link.before))
      report_.removed("link", link.path + " (the earlier link is back)");
    else
      report_.left("link", link.path, "the earlier link cannot be written back");
  } else if (link.before && starts(*link.before)) {
    report_.note("as before", "link " + link.path); // the run stopped before it wrote the link
  } else {
    changedByUser("link", link.path);
  }
}

} // namespace kalvora
