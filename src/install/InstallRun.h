#pragma once
// The installation run of Tcopying: the one sequence its first activation
// performs, from the work directory to the completion dialog, and the rollback
// when the dialog is destroyed after a confirmed cancellation.
#include <optional>
#include <string>

#include "install/RunContext.h"
#include "install/RunStages.h"

namespace kalvora {

// A rollback waited for: whether one was due, whether the uninstaller ran, and
// whether it removed everything (it keeps the log while anything it names stays).
struct RollbackOutcome {
  bool due = false, started = false, complete = false;
  std::string commandLine;
};

class InstallRun {
public:
  InstallRun(InstallState& state, Platform& platform, InstallView& view, RunStages& stages);

  // Runs the installation once per program start; returns when it is complete,
  // stopped or ended by an error of files, the log or the expansion, which it
  // gives for the application to report.
  std::optional<Exception> FormActivate();
  // After a confirmed cancellation: closes the logs and starts the uninstaller
  // silently on uninst.log; the command line when it was started.
  std::optional<std::string> FormDestroy();
  // The same for a run that waits for the uninstaller (the unattended run).
  RollbackOutcome rollBackAndWait();

  RunContext& context() { return run_; }

private:
  bool sequence();
  [[nodiscard]] bool makeWorkDirectory();
  // A log that cannot be begun names nothing: the directories made for it go again.
  void removeWorkDirectory();
  // The readme's place, which the log's head names; refused outside the target.
  [[nodiscard]] bool findReadmePath();
  // Opens setup.log and copies the script into the work directory.
  [[nodiscard]] bool copyScript();
  // Closes the logs for the rollback after a confirmed cancellation: the
  // uninstaller's command line, none when no rollback is to follow.
  std::optional<std::string> rollbackCommandLine();
  void copyReadme();
  bool installFromMedium();
  void finish();

  RunContext run_;
  RunStages& stages_;
};

// The uninstaller's command line that rolls the run back from its log.
std::string rollbackCommand(const RunContext& run);

// The message shown when the rollback's uninstaller cannot be started.
std::string rollbackNotStartedText(const std::string& commandLine);

// The dialog's top edge during the run: two thirds down the screen, plus 5.
int runDialogTop(int screenHeight);

} // namespace kalvora
