#include "install/ProgramGroup.h"

#include <algorithm>

#include "install/RunProgress.h"
#include "install/ScriptPaths.h"
#include "install/UninstallerSetup.h"
#include "platform/Directories.h"
#include "platform/IniText.h"
#include "platform/NoCase.h"
#include "script/SystemRootMarker.h"

namespace kalvora {

namespace {

// dir + "\" + file, without doubling a backslash that dir already ends with.
std::string joined(const std::string& dir, const std::string& file) {
  if (!dir.empty() && (dir.back() == '\\' || dir.back() == '/')) return dir + file;
  return dir + "\\" + file;
}

std::string uninstallerCaption(const SetupScript& script) {
  const std::string missing = "\x01";
  const std::string name = script.ReadString("software", "name", missing);
  if (name == missing || name.find('[') != std::string::npos) return "Uninstall";
  return "Uninstall " + name;
}

void addUninstaller(RunContext& run, ProgramGroupCommands& commands) {
  if (!run.script().ReadBool("prggrp", "uninst", true)) return;
  run.state.Run.GroupItemsCreated = true;
  commands.addItem({uninstallerCaption(run.script()), uninstallerPath(run), uninstallLogPath(run)});
}

bool optionChosen(const RunContext& run, std::int32_t option) {
  return option >= 1 && option <= kOptionCount && run.state.Choices.OptionChosen[static_cast<std::size_t>(option - 1)];
}

GroupItem optionItem(RunContext& run, std::int64_t i, std::int32_t option) {
  const SetupScript& script = run.script();
  const std::string optionSection = numberedKey("Option_", option);
  const std::int32_t f = script.ReadInteger("prggrp", numberedKey("f", i), 1);
  const std::int32_t d = script.ReadInteger(optionSection, numberedKey("d", f), 1);
  const std::string dir = script.ReadString("directories", numberedKey(numberedKey("d", option) + "_", d), "\\");
  const std::string file = script.ReadString(optionSection, numberedKey("f", f), "");
  GroupItem item;
  item.caption = script.ReadString("prggrp", numberedKey("p", i), "[unbenannt_" + std::to_string(i) + "]");
  if (holdsSystemRoot(dir))
    item.target = joined(run.WindowsDir + belowSystemRoot(dir, kKeptForGroupItems), file);
  else
    item.target = joined(run.state.Choices.TargetDir + dir, file);
  item.arguments = script.ReadString("prggrp", numberedKey("r", i), "");
  return item;
}

bool addOptionItems(RunContext& run, ProgramGroupCommands& commands) {
  const SetupScript& script = run.script();
  const std::int32_t total = script.ReadInteger("prggrp", "total", 1);
  for (std::int64_t i = 1; i <= total; ++i) {
    run.view.setItemLabel(run.text(22));
    const std::int32_t option = script.ReadInteger("prggrp", numberedKey("o", i), 1);
    if (optionChosen(run, option)) {
      run.state.Run.GroupItemsCreated = true;
      commands.addItem(optionItem(run, i, option));
    }
    run.setItemProgress(roundHalfEven(static_cast<double>(i) * 100.0 / static_cast<double>(total)));
    run.setRunProgress(99);
    if (!run.goesOn()) return false;
  }
  return true;
}

std::optional<ProgramGroupCommands> normalGroup(RunContext& run) {
  run.setItemProgress(0);
  std::string group = run.state.Choices.ProgramGroup;
  if (group.empty()) group = run.script().ReadString("software", "name", "_");
  if (!run.log("uninstall", "prggrp", group)) return std::nullopt;
  ProgramGroupCommands commands(group);
  addUninstaller(run, commands);
  if (!addOptionItems(run, commands)) return std::nullopt;
  return commands;
}

std::optional<ProgramGroupCommands> mediumGroup(RunContext& run) {
  if (!run.log("files", "total", "0") || !run.log("directories", "total", "0")) return std::nullopt;
  run.view.setItemLabel(run.text(23));
  if (!run.log("extensions", "total", "0")) return std::nullopt;
  run.setItemProgress(0);
  run.view.setItemLabel(run.text(22));
  if (!run.goesOn()) return std::nullopt;
  const std::string group = run.state.Choices.ProgramGroup.empty() ? "New" : run.state.Choices.ProgramGroup;
  if (!run.log("uninstall", "prggrp", group)) return std::nullopt;
  ProgramGroupCommands commands(group);
  addUninstaller(run, commands);
  const SetupScript& script = run.script();
  const std::string drive = driveOfPath(run.platform.programPath());
  const std::int32_t total = script.ReadInteger("prggrp_run", "total", 2);
  for (std::int64_t i = 1; i <= total; ++i)
    commands.addItem({script.ReadString("prggrp_run", numberedKey("p", i), numberedKey("noname", i)),
                      drive + script.ReadString("prggrp_run", numberedKey("v", i), "_"), ""});
  run.setItemProgress(100);
  run.setRunProgress(99);
  if (!run.goesOn()) return std::nullopt;
  return commands;
}

// The group's folder: one that exists, else one made, recorded before it is
// (newfolder: the uninstaller removes only a folder the run made, when empty).
// A second run over the same log keeps the first run's mark.
std::string takeGroupFolder(RunContext& run, const ProgramGroupCommands& commands, bool& failed) {
  std::string folder = existingGroupFolder(run.platform, commands.group(), commands.items());
  if (!folder.empty()) {
    const IniSnapshot log(run.Log.text());
    const bool madeBefore =
        sameNoCase(log.read("prggrp", "folder", ""), folder) && log.read("prggrp", "newfolder", "") == "1";
    failed = !run.log("prggrp", "folder", folder) || (!madeBefore && !run.logBool("prggrp", "newfolder", false));
    return folder;
  }
  // The shell's Program Manager interface makes a new group in the user's
  // Programs folder: one made here goes there first, so that both are one
  // folder, and a run without the shell puts it where a run with it would.
  std::vector<std::string> candidates = groupFolderCandidates(run.platform, commands.group());
  std::reverse(candidates.begin(), candidates.end());
  for (const std::string& candidate : candidates) {
    if (!run.log("prggrp", "folder", candidate) || !run.logBool("prggrp", "newfolder", true)) {
      failed = true;
      return {};
    }
    createDirectories(run.platform, candidate);
    if (run.platform.directoryExists(candidate)) return candidate;
  }
  return {};
}

// Each link's path and what it is made to start, and a link of that name that
// was there before, recorded before the shell or the run writes any: the
// uninstaller removes a link only while it starts what the run made it start,
// and puts back the one that was there.
// The records reach the disk together, once.
bool logGroupLinks(RunContext& run, const std::vector<std::string>& paths, const std::vector<GroupItem>& items) {
  static_cast<void>(run.Log.hold(true)); // holding writes nothing
  if (!run.logInteger("prggrp", "total", static_cast<std::int64_t>(paths.size()))) return false;
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const auto n = static_cast<std::int64_t>(i + 1);
    const std::optional<ShellLink> present = run.platform.readShellLink(paths[i]);
    const bool had = present || run.platform.fileExists(paths[i]);
    const ShellLink made = items[i].link();
    if (!run.logBool("prggrp", numberedKey("had", n), had) ||
        (present && (!run.log("prggrp", numberedKey("ot", n), present->target) ||
                     !run.log("prggrp", numberedKey("oa", n), present->arguments) ||
                     !run.log("prggrp", numberedKey("ow", n), present->workingDirectory))) ||
        !run.log("prggrp", numberedKey("to", n), made.target) ||
        !run.log("prggrp", numberedKey("ar", n), made.arguments) || !run.log("prggrp", numberedKey("l", n), paths[i]))
      return false;
  }
  return run.succeeded(run.Log.hold(false));
}

// Writes the links that the shell left missing or wrong.
void completeGroupLinks(RunContext& run, const std::string& folder, const std::vector<std::string>& paths,
                        const std::vector<GroupItem>& items) {
  run.TextLog.line("group", folder);
  for (std::size_t i = 0; i < paths.size(); ++i)
    run.TextLog.line("item", std::string(linkWayName(completeLink(run.platform, paths[i], items[i]))) + " " + paths[i]);
}

} // namespace

void ProgramGroupCommands::addItem(const GroupItem& item) {
  std::string line = lines_.empty() ? "[CreateGroup(" + group_ + ")]" : "";
  lines_.push_back(line + "[AddItem(" + item.commandLine() + "," + item.caption + ")]");
  items_.push_back(item);
}

std::string ProgramGroupCommands::text() const {
  std::string all;
  for (const std::string& line : lines_)
    all += line + "\r\n";
  return all;
}

std::optional<ProgramGroupCommands> programGroupCommands(RunContext& run, bool fromMedium) {
  return fromMedium ? mediumGroup(run) : normalGroup(run);
}

bool programGroupStage(RunContext& run, bool fromMedium, GroupDelivery delivery) {
  const std::optional<ProgramGroupCommands> commands = programGroupCommands(run, fromMedium);
  if (!commands) return false;
  if (commands->lines().empty()) return true;
  bool failed = false;
  const std::string folder = takeGroupFolder(run, *commands, failed);
  if (failed) return false;
  std::vector<std::string> paths;
  if (folder.empty())
    run.TextLog.line("error", "no Programs folder takes the group " + commands->group());
  else if (!logGroupLinks(run, paths = groupLinkPaths(folder, commands->items()), commands->items()))
    return false;
  if (delivery == GroupDelivery::LinksOnly) {
    run.TextLog.line("group", commands->group() + " made without the shell");
  } else {
    // The shell's answer is not reported: the links below show what it did.
    const bool taken = run.platform.sendShellCommands(commands->text());
    run.TextLog.line("group", commands->group() + (taken ? " sent to the shell" : " not taken by the shell"));
  }
  if (!folder.empty()) completeGroupLinks(run, folder, paths, commands->items());
  return true;
}

} // namespace kalvora
