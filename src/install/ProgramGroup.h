#pragma once
// The program group: Program Manager commands that create the group and add
// the uninstaller's item and the items of the chosen options (or, for a run
// from the medium, items that point at the medium), sent in one go.
#include <string>
#include <vector>

#include "install/RunContext.h"

namespace kalvora {

// The command lines in sending order: the group command goes out together with
// the first item; with no item at all the list is empty and no group is made.
class ProgramGroupCommands {
public:
  explicit ProgramGroupCommands(std::string group) : group_(std::move(group)) {}
  void addItem(const std::string& commandLine, const std::string& caption);
  const std::vector<std::string>& lines() const { return lines_; }
  // The lines joined, each ended by a line break, as the shell takes them.
  std::string text() const;

private:
  std::string group_;
  std::vector<std::string> lines_;
};

// Builds the group's commands with the stage's log records, captions, bars and
// stop checks (RunStopped leaves before anything is sent).
ProgramGroupCommands programGroupCommands(RunContext& run, bool fromMedium);
// The stage: builds the commands and hands them to the shell.
void programGroupStage(RunContext& run, bool fromMedium);

// The drive of a path ("D:") or, for a network path, its "\\server\share" part.
std::string driveOfPath(const std::string& path);

} // namespace kalvora
