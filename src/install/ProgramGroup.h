#pragma once
// The program group: Program Manager commands that create the group and add
// the uninstaller's item and the items of the chosen options (or, for a run
// from the medium, items that point at the medium), sent in one go; then the
// group's shell links are completed where the shell left them out.
#include <string>
#include <vector>

#include "install/GroupLinks.h"
#include "install/RunContext.h"
#include "platform/Paths.h"

namespace kalvora {

// The command lines in sending order: the group command goes out together with
// the first item; with no item at all the list is empty and no group is made.
class ProgramGroupCommands {
public:
  explicit ProgramGroupCommands(std::string group) : group_(std::move(group)) {}
  void addItem(const GroupItem& item);
  const std::string& group() const { return group_; }
  const std::vector<std::string>& lines() const { return lines_; }
  const std::vector<GroupItem>& items() const { return items_; }
  // The lines joined, each ended by a line break, as the shell takes them.
  std::string text() const;

private:
  std::string group_;
  std::vector<std::string> lines_;
  std::vector<GroupItem> items_;
};

// Builds the group's commands with the stage's log records, captions, bars and
// stop checks; nothing when the run is to leave, before anything is sent.
std::optional<ProgramGroupCommands> programGroupCommands(RunContext& run, bool fromMedium);
// How the group reaches the shell. Its Program Manager interface opens a folder
// window for each new group, which a run without windows must not leave
// behind: that run writes the folder and its links alone, with the same records.
enum class GroupDelivery { ProgramManager, LinksOnly };

// The stage: builds the commands, hands them to the shell (unless LinksOnly),
// then makes sure the group's folder holds one right link per item, logged for
// the uninstaller.
[[nodiscard]] bool programGroupStage(RunContext& run, bool fromMedium, GroupDelivery delivery);

} // namespace kalvora
