#include "install/ProgramGroup.h"

#include "install/RunProgress.h"
#include "install/ScriptPaths.h"
#include "install/UninstallerSetup.h"

namespace kalvora {

namespace {

constexpr std::size_t kMarkerLength = 12; // "%SystemRoot%"
constexpr std::size_t kKeptAfterMarker = 50;

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
  run.state.GroupItemsCreated = true;
  commands.addItem(uninstallCommandLine(run), uninstallerCaption(run.script()));
}

bool optionChosen(const RunContext& run, std::int32_t option) {
  return option >= 1 && option <= kOptionCount && run.state.OptionChosen[static_cast<std::size_t>(option - 1)];
}

std::string itemCommandLine(RunContext& run, std::int64_t i, std::int32_t option) {
  const SetupScript& script = run.script();
  const std::string optionSection = numberedKey("Option_", option);
  const std::int32_t f = script.ReadInteger("prggrp", numberedKey("f", i), 1);
  const std::int32_t d = script.ReadInteger(optionSection, numberedKey("d", f), 1);
  const std::string dir = script.ReadString("directories", numberedKey(numberedKey("d", option) + "_", d), "\\");
  const std::string file = script.ReadString(optionSection, numberedKey("f", f), "");
  const std::string arguments = script.ReadString("prggrp", numberedKey("r", i), "");
  std::string line;
  if (containsNoCase(dir, "%SystemRoot%"))
    line =
        joined(run.WindowsDir + (dir.size() > kMarkerLength ? dir.substr(kMarkerLength, kKeptAfterMarker) : ""), file);
  else
    line = joined(run.state.TargetDir + dir, file);
  return arguments.empty() ? line : line + " " + arguments;
}

void addOptionItems(RunContext& run, ProgramGroupCommands& commands) {
  const SetupScript& script = run.script();
  const std::int32_t total = script.ReadInteger("prggrp", "total", 1);
  for (std::int64_t i = 1; i <= total; ++i) {
    run.view.setItemLabel(run.text(22));
    const std::int32_t option = script.ReadInteger("prggrp", numberedKey("o", i), 1);
    if (optionChosen(run, option)) {
      run.state.GroupItemsCreated = true;
      const std::string caption =
          script.ReadString("prggrp", numberedKey("p", i), "[unbenannt_" + std::to_string(i) + "]");
      commands.addItem(itemCommandLine(run, i, option), caption);
    }
    run.setItemProgress(roundHalfEven(static_cast<double>(i) * 100.0 / static_cast<double>(total)));
    run.setRunProgress(99);
    run.checkForStop();
  }
}

ProgramGroupCommands normalGroup(RunContext& run) {
  run.setItemProgress(0);
  std::string group = run.state.ProgramGroup;
  if (group.empty()) group = run.script().ReadString("software", "name", "_");
  run.Log.write("uninstall", "prggrp", group);
  ProgramGroupCommands commands(group);
  addUninstaller(run, commands);
  addOptionItems(run, commands);
  return commands;
}

ProgramGroupCommands mediumGroup(RunContext& run) {
  run.Log.write("files", "total", "0");
  run.Log.write("directories", "total", "0");
  run.view.setItemLabel(run.text(23));
  run.Log.write("extensions", "total", "0");
  run.setItemProgress(0);
  run.view.setItemLabel(run.text(22));
  run.checkForStop();
  const std::string group = run.state.ProgramGroup.empty() ? "New" : run.state.ProgramGroup;
  run.Log.write("uninstall", "prggrp", group);
  ProgramGroupCommands commands(group);
  addUninstaller(run, commands);
  const SetupScript& script = run.script();
  const std::string drive = driveOfPath(run.platform.programPath());
  const std::int32_t total = script.ReadInteger("prggrp_run", "total", 2);
  for (std::int64_t i = 1; i <= total; ++i)
    commands.addItem(drive + script.ReadString("prggrp_run", numberedKey("v", i), "_"),
                     script.ReadString("prggrp_run", numberedKey("p", i), numberedKey("noname", i)));
  run.setItemProgress(100);
  run.setRunProgress(99);
  run.checkForStop();
  return commands;
}

} // namespace

void ProgramGroupCommands::addItem(const std::string& commandLine, const std::string& caption) {
  std::string line = lines_.empty() ? "[CreateGroup(" + group_ + ")]" : "";
  lines_.push_back(line + "[AddItem(" + commandLine + "," + caption + ")]");
}

std::string ProgramGroupCommands::text() const {
  std::string all;
  for (const std::string& line : lines_)
    all += line + "\r\n";
  return all;
}

ProgramGroupCommands programGroupCommands(RunContext& run, bool fromMedium) {
  return fromMedium ? mediumGroup(run) : normalGroup(run);
}

void programGroupStage(RunContext& run, bool fromMedium) {
  const ProgramGroupCommands commands = programGroupCommands(run, fromMedium);
  // Whether the shell carried the commands out is not learned; nothing is reported.
  if (!commands.lines().empty()) run.platform.sendShellCommands(commands.text());
}

std::string driveOfPath(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  if (path.rfind("\\\\", 0) != 0) return {};
  const auto server = path.find('\\', 2);
  if (server == std::string::npos) return path;
  const auto share = path.find('\\', server + 1);
  return share == std::string::npos ? path : path.substr(0, share);
}

} // namespace kalvora
