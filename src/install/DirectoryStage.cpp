#include "install/DirectoryStage.h"

#include <vector>

#include "install/ScriptPaths.h"
#include "platform/Directories.h"

namespace kalvora {

namespace {

std::string directoryKey(int option, std::int64_t row) { return numberedKey(numberedKey("d", option) + "_", row); }

struct Directory {
  std::int64_t row;
  std::string value;
};

// The directories of the chosen options, row by row; none where a row's value
// marks a directory below the Windows directory (made by the file stage) or a
// missing key ("%").
bool chosenDirectories(RunContext& run, std::int32_t rows, std::vector<Directory>& directories) {
  for (std::int64_t row = 1; row <= rows; ++row)
    for (int option = 1; option <= kOptionCount; ++option) {
      if (!run.state.Choices.OptionChosen[static_cast<std::size_t>(option - 1)]) continue;
      std::string value = run.script().ReadString("directories", directoryKey(option, row), "%");
      if (value.find('%') != std::string::npos) continue;
      if (!run.succeeded(requireBelowRoot(value))) return false;
      directories.push_back({row, std::move(value)});
    }
  return true;
}

// Every directory is recorded before any is made, so that none of the run's is
// ever unknown to the uninstaller (one recorded and then not made is skipped
// by it); the records reach the disk together, once.
bool createRows(RunContext& run) {
  const std::int32_t rows = run.script().ReadInteger("directories", "total", 2);
  std::vector<Directory> directories;
  if (!chosenDirectories(run, rows, directories)) return false;
  static_cast<void>(run.Log.hold(true)); // holding writes nothing
  for (const Directory& directory : directories) {
    ++run.DirectoryCount;
    if (!run.log("directories", numberedKey("d", run.DirectoryCount), directory.value)) return false;
  }
  if (!run.succeeded(run.Log.hold(false))) return false;
  auto next = directories.begin();
  for (std::int64_t row = 1; row <= rows; ++row) {
    for (; next != directories.end() && next->row == row; ++next) {
      createDirectories(run.platform, run.state.Choices.TargetDir + next->value);
      run.TextLog.line("dir", run.state.Choices.TargetDir + next->value);
    }
    if (!run.goesOn()) return false;
    run.setItemProgress(row * 100 / rows);
    run.setRunProgress(1);
  }
  return true;
}

} // namespace

bool directoryStage(RunContext& run) {
  run.view.setItemLabel(run.text(19));
  const auto logTotal = [&run] { return run.logInteger("directories", "total", run.DirectoryCount); };
  return leavingWithTotals(
             run, [&run] { return createRows(run); }, logTotal) &&
         logTotal();
}

} // namespace kalvora
