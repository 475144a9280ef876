#include "install/DirectoryStage.h"

#include "install/ScriptPaths.h"
#include "platform/Directories.h"

namespace kalvora {

namespace {

std::string directoryKey(int option, std::int64_t row) { return numberedKey(numberedKey("d", option) + "_", row); }

bool createRows(RunContext& run) {
  const std::int32_t rows = run.script().ReadInteger("directories", "total", 2);
  for (std::int64_t row = 1; row <= rows; ++row) {
    for (int option = 1; option <= kOptionCount; ++option) {
      if (!run.state.Choices.OptionChosen[static_cast<std::size_t>(option - 1)]) continue;
      const std::string value = run.script().ReadString("directories", directoryKey(option, row), "%");
      // "%" marks a directory below the Windows directory (made by the file stage) or a missing key.
      if (value.find('%') != std::string::npos) continue;
      if (!run.succeeded(requireBelowRoot(value))) return false;
      // Recorded before it is made, so that no directory of the run is ever unknown
      // to the uninstaller; one that is then not made is skipped by it.
      ++run.DirectoryCount;
      if (!run.log("directories", numberedKey("d", run.DirectoryCount), value)) return false;
      createDirectories(run.platform, run.state.Choices.TargetDir + value);
      run.TextLog.line("dir", run.state.Choices.TargetDir + value);
    }
    if (!run.goesOn()) return false;
    const std::int32_t total = run.script().ReadInteger("directories", "total", 2);
    if (total > 0) run.setItemProgress(row * 100 / total);
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
