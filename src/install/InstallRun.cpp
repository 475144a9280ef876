#include "install/InstallRun.h"

#include "install/DirectoryStage.h"
#include "install/FileStage.h"
#include "install/PendingRegistration.h"
#include "install/RunProgress.h"
#include "install/ScriptCheck.h"
#include "install/ScriptPaths.h"
#include "install/UninstallerSetup.h"
#include "platform/Directories.h"
#include "platform/DosTimeText.h"
#include "script/WorkFiles.h"

namespace kalvora {

int runDialogTop(int screenHeight) {
  return static_cast<int>(roundHalfEven(static_cast<double>(screenHeight) / 3.0 * 2.0)) + 5;
}

InstallRun::InstallRun(InstallState& state, Platform& platform, InstallView& view, RunStages& stages)
    : run_(state, platform, view), stages_(stages) {}

std::optional<Exception> InstallRun::FormActivate() {
  InstallState& state = run_.state;
  if (!state.Run.Pending) return std::nullopt;
  state.Run.Pending = false;
  state.Run.Cancelled = false;
  if (sequence()) return std::nullopt;
  if (!run_.Error) {
    // Everything stays as it is; the rollback follows when the dialog is destroyed.
    run_.TextLog.line("stopped", run_.state.Run.Started ? "the rollback follows at the end" : "before the start");
    return std::nullopt;
  }
  // Reported by the application; the cancel button that stays leads to the rollback.
  run_.TextLog.line("error", run_.Error->what());
  return run_.Error;
}

bool InstallRun::sequence() {
  run_.view.moveTop(runDialogTop(run_.platform.screenSize().height));
  run_.platform.processMessages();
  // A cancellation confirmed here comes before the start: the program ends, and
  // nothing may be made that no rollback would take back.
  if (run_.platform.terminated()) return false;
  // A script that would write where it must not is refused while nothing is made.
  // The check reads every file's keys: from the script read once, not through
  // the system's INI calls, which open the file for every key.
  if (!run_.succeeded(checkScriptBeforeRun(*run_.state.Setup.SetupScript->readOnce(), run_.state,
                                           run_.platform.windowsDirectory())))
    return false;
  run_.state.Run.Started = true;

  // The log comes first, in the work directory it needs: everything the run
  // makes after that directory (setup.log, the script copy, the readme) is a
  // change the log on disk already names.
  if (!findReadmePath() || !makeWorkDirectory()) return false;
  // From the script itself, as the log's head: its copy is made after the log.
  run_.view.setCaption(run_.state.Setup.SetupScript->ReadString("software", "name", "_"));
  run_.LogEnabled = run_.state.Setup.SetupScript->ReadBool("software", "uniyes", true);
  if (run_.LogEnabled && !openLogWithHead(run_)) {
    removeWorkDirectory();
    return false;
  }
  if (!copyScript()) return false;
  copyReadme();
  run_.CompressTmpPath = workFilePath(run_.state.Choices.TargetDir, kStagingFileName);

  if (run_.LogEnabled && !(installUninstaller(run_) && registerPending(run_))) return false;
  // From here the log and the uninstaller are in place: a fault of the program undoes the run from the log.
  if (run_.LogEnabled) run_.platform.prepareFaultRollback(rollbackCommand(run_));
  if (!importRegistryFile(run_)) return false;
  if (run_.LogEnabled && !writeUninstallerData(run_)) return false;

  if (run_.state.Choices.RunFromMedium) {
    if (!stages_.programGroup(run_, true)) return false;
  } else {
    if (!installFromMedium() || !stages_.programGroup(run_, false)) return false;
  }
  if (!stages_.systemChanges(run_)) return false;
  finish();
  return true;
}

bool InstallRun::makeWorkDirectory() {
  run_.TextLog.line("start", dateText(run_.platform.localTime()) + " installing into " + run_.state.Choices.TargetDir +
                                 " from " + run_.state.Setup.SourceDir);
  run_.WorkDir = workDirectory(run_.state.Choices.TargetDir);
  for (const std::string& dir : missingDirectories(run_.platform, run_.WorkDir)) {
    if (run_.NewRoot.empty()) run_.NewRoot = dir;
    run_.TextLog.line("dir", dir);
    run_.platform.createDirectory(dir);
  }
  run_.WindowsDir = run_.platform.windowsDirectory();
  run_.CurrentTarget = uninstallerPath(run_);
  return true;
}

void InstallRun::removeWorkDirectory() {
  // No rollback follows: there is no log for it, and nothing but these directories to take back.
  run_.LogEnabled = false;
  if (run_.NewRoot.empty()) return;
  // Innermost first, each only when empty: the run made them and nothing else yet.
  for (std::string dir = run_.WorkDir; run_.platform.removeDirectory(dir) && dir.size() > run_.NewRoot.size();)
    dir = containingDirectory(dir);
}

bool InstallRun::findReadmePath() {
  const SetupScript& original = *run_.state.Setup.SetupScript;
  const std::string dir = original.ReadString("software", "readmedir", "");
  const std::string name = original.ReadString("software", "readme", "");
  // The cancel confirmation deletes this path, so it must not name a file outside the target.
  if (!run_.succeeded(requireBelowRoot(dir + "\\" + name))) return false;
  run_.state.Run.ReadmePath = run_.state.Choices.TargetDir + dir + "\\" + name;
  return true;
}

bool InstallRun::copyScript() {
  // setup.log appends: one file tells of every run into this target.
  run_.TextLog.open(workFilePath(run_.state.Choices.TargetDir, kTextLogName), run_.platform);
  const std::string copy = workFilePath(run_.state.Choices.TargetDir, kScriptCopyName);
  // Without the copy every read of the run would yield its default: an installation of nothing.
  if (!run_.platform.copyFile(run_.state.Setup.SourceDir + "setup.inf", copy)) return run_.fail(EFCreateError(copy));
  // Read once: the run reads hundreds of keys from the copy, which nothing changes meanwhile.
  run_.SetupCopy = SetupScript::snapshot(copy, run_.platform);
  return true;
}

void InstallRun::copyReadme() {
  createDirectories(run_.platform, run_.state.Choices.TargetDir +
                                       run_.state.Setup.SetupScript->ReadString("software", "readmedir", ""));
  if (run_.platform.copyFile(run_.state.Setup.SourceDir + run_.script().ReadString("software", "readme", "n_o"),
                             run_.state.Run.ReadmePath))
    run_.TextLog.line("readme", run_.state.Run.ReadmePath);
}

bool InstallRun::installFromMedium() {
  if (!directoryStage(run_) || !fileStage(run_) || !logFileTotals(run_) || !stages_.associations(run_)) return false;
  run_.setRunProgress(98);
  if (!run_.goesOn()) return false;
  run_.setItemProgress(0);
  return true;
}

void InstallRun::finish() {
  run_.Log.close();
  if (run_.LogEnabled) clearPending(run_.platform, run_.script().ReadString("software", "name", "_"));
  run_.platform.prepareFaultRollback("");
  run_.TextLog.line("done", "the installation is complete");
  run_.view.setCaption("");
  run_.setItemProgress(100);
  run_.view.hideItemLabel();
  run_.setRunProgress(100);
  run_.view.disableExit();
  stages_.completion(run_);
}

std::optional<std::string> InstallRun::rollbackCommandLine() {
  if (!run_.state.Run.Cancelled) return std::nullopt;
  run_.TextLog.line("cancelled", "rolling back");
  run_.SetupCopy.reset();
  // Without a log this run installed no uninstaller and wrote nothing for one:
  // an uninstaller left by an earlier installation would act on that one's log.
  if (!run_.LogEnabled) {
    run_.TextLog.close();
    return std::nullopt;
  }
  // A refusal is not reported: the program is ending; the uninstaller still gets the log as it stands.
  static_cast<void>(run_.Log.writeInteger("files", "total", run_.FileCount + 1));
  run_.Log.close();
  if (run_.WindowsDir.empty()) run_.WindowsDir = run_.platform.windowsDirectory();
  const std::string commandLine = rollbackCommand(run_);
  run_.TextLog.line("rollback", commandLine);
  // Both logs are closed before the uninstaller starts: it removes the work directory.
  run_.TextLog.close();
  // This rollback is the only one: a fault from now on starts no second.
  run_.platform.prepareFaultRollback("");
  return commandLine;
}

std::optional<std::string> InstallRun::FormDestroy() {
  const std::optional<std::string> commandLine = rollbackCommandLine();
  if (!commandLine) return std::nullopt;
  if (run_.platform.startHiddenProgram(*commandLine)) return commandLine;
  // The user must learn that the machine is not as it was, and how to mend it.
  run_.platform.messageBox(rollbackNotStartedText(*commandLine), "kalvora", MessageButtons::Ok, MessageIcon::Error);
  return std::nullopt;
}

RollbackOutcome InstallRun::rollBackAndWait() {
  const std::optional<std::string> commandLine = rollbackCommandLine();
  if (!commandLine) return {};
  // The uninstaller ends with 0 when everything of the run is gone or put back.
  const std::optional<std::uint32_t> exitCode = run_.platform.runHiddenProgram(*commandLine);
  return {true, exitCode.has_value(), exitCode == 0u, *commandLine};
}

std::string rollbackCommand(const RunContext& run) { return uninstallCommandLine(run) + " /silent"; }

std::string rollbackNotStartedText(const std::string& commandLine) {
  return "The installation could not be undone: the uninstaller did not start.\rRun " + commandLine +
         " to remove what was installed.";
}

} // namespace kalvora
