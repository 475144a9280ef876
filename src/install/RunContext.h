#pragma once
// The state of one installation run: what it reads from InstallState, the
// values it creates (work directory, script copy, uninstall log, counters) and
// the services every stage uses: bars, stop checks and the expansion component.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "archive/Compress.h"
#include "install/InstallView.h"
#include "install/SetupLog.h"
#include "install/UninstallLog.h"
#include "install/VolumeReader.h"
#include "model/InstallState.h"
#include "script/SetupScript.h"

namespace kalvora {

struct RunContext {
  RunContext(InstallState& state, Platform& platform, InstallView& view);
  RunContext(const RunContext&) = delete;
  RunContext& operator=(const RunContext&) = delete;

  InstallState& state;
  Platform& platform;
  InstallView& view;
  // The expansion component: no directories, no exceptions on file errors, key 0,
  // no target path; every member goes to CurrentTarget.
  TCompress C;

  std::unique_ptr<SetupScript> SetupCopy; // setup.tmp; every script read of the run goes here
  UninstallLog Log;                       // open only when LogEnabled
  SetupLog TextLog;                       // setup.log, for people
  bool LogEnabled = false;
  std::string WorkDir, WindowsDir, CompressTmpPath, CurrentTarget, ExpandName;
  std::string NewRoot; // the outermost directory made on the way to WorkDir; empty when it was there
  std::int64_t FileCount = 0, SystemRootCount = 0, DirectoryCount = 0, ContinuationCount = 0;
  std::int64_t SystemRootDirectoryCount = 0; // directories made below the Windows directory
  std::int64_t BytesDone = 0;
  VolumeReader HeldVolume;          // the volume the last chunk ended in, open between files of the file stage
  std::vector<std::string> Backups; // the originals the run has kept aside, removed when it completes
  // Members whose expansion the decode-ahead had done, and of them those where
  // the method itself had to take over part way (a handler or a read answered differently).
  struct AheadCounts {
    int replayed = 0, handedOver = 0;
  } ExpandedAhead;

  const SetupScript& script() const { return *SetupCopy; }
  // Text lN of the script's [language] section, as read at start-up.
  const std::string& text(int number) const;

  void setItemProgress(std::int64_t percent) { view.setItemProgress(clamped(percent)); }
  void setRunProgress(std::int64_t percent) { view.setRunProgress(clamped(percent)); }

  // The run's steps return false when the run is to leave its sequence where it
  // stands: the application is ending (a stop), or an error ended the run, which
  // Error then holds. Everything made so far stays in place for the rollback.
  std::optional<Exception> Error;
  // Records error as the one that ends the run (the first one stays); false.
  bool fail(const Exception& error);
  // True when status succeeded; otherwise records its error: false.
  bool succeeded(const Status& status);

  // Delivers pending messages; true when the application is now ending.
  bool stopRequested();
  // Check for stop: false when the application is ending and the run leaves.
  [[nodiscard]] bool goesOn() { return !stopRequested(); }

  // The uninstall log's writes and flush; a refusal ends the run (false).
  [[nodiscard]] bool log(std::string_view section, std::string_view key, std::string_view value);
  [[nodiscard]] bool logInteger(std::string_view section, std::string_view key, std::int64_t value);
  [[nodiscard]] bool logBool(std::string_view section, std::string_view key, bool value);
  [[nodiscard]] bool flushLog();

  // Expands the member ExpandName of compress.tmp to CurrentTarget; the path
  // written, empty when the component skipped the member.
  Result<std::string> expandStaged(const std::string& memberName);

  // The component's events.
  void CShowProgress(std::int32_t& PercentageDone);
  void CCheckFile(std::string& filepath, TCProcessMode mode);

private:
  static int clamped(std::int64_t percent);
};

// Runs a stage; when a stop or an error leaves it, writeTotals runs first, so
// that the log covers what the stage has made. A log that refuses even these
// writes is not reported: the stop or the first error stays what ended the run.
template <typename Stage, typename Totals>
[[nodiscard]] bool leavingWithTotals(RunContext& run, Stage&& stage, Totals&& writeTotals) {
  if (stage()) return true;
  const std::optional<Exception> leftBy = run.Error;
  static_cast<void>(writeTotals());
  run.Error = leftBy;
  return false;
}

} // namespace kalvora
