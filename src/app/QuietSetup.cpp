#include "app/QuietSetup.h"

#include "app/AnswerFile.h"
#include "app/ExitCodes.h"
#include "app/StartUp.h"
#include "app/UnattendedChoices.h"
#include "app/UnattendedStages.h"
#include "install/InstallRun.h"
#include "wizard/CancelConfirmation.h"

namespace kalvora {
namespace {

class NoDialog : public DialogHost {
public:
  void closeDialog() override {}
};

// The installation dialog that nobody sees. A cancellation (only a missing
// volume asks for one) is confirmed at once, as a user's confirmation would be.
class QuietView : public InstallView {
public:
  QuietView(Platform& platform, InstallState& state) : confirmation_(platform, state, noDialog_) {}
  void moveTop(int) override {}
  void setCaption(const std::string&) override {}
  void setItemLabel(const std::string&) override {}
  void hideItemLabel() override {}
  void setItemProgress(int) override {}
  void setRunProgress(int) override {}
  void disableExit() override {}
  void showCancelConfirmation() override { confirmation_.Btn_terminateClick(); }

private:
  NoDialog noDialog_;
  CancelConfirmation confirmation_;
};

std::string chosenOptions(const InstallState& state) {
  std::string list;
  for (int n = 1; n <= kOptionCount; ++n)
    if (state.Choices.OptionChosen[static_cast<std::size_t>(n - 1)])
      list += (list.empty() ? "" : ",") + std::to_string(n);
  return list.empty() ? "none" : list;
}

// What the unattended log says of the rollback: whether the machine is back as it was.
std::string rollbackReport(const RollbackOutcome& rollback) {
  if (!rollback.due) return "nothing was installed that needs a rollback";
  if (!rollback.started) return "the rollback could not be started: run " + rollback.commandLine;
  if (rollback.complete) return "the installation is rolled back";
  return "the rollback left something (see unkalvora.log); run " + rollback.commandLine + " again";
}

} // namespace

std::optional<int> startUpExit(bool endNow, const InstallState& state, bool asked, const SetupSwitches& switches,
                               SetupLog& log) {
  if (!state.Setup.SetupScript) {
    log.line("error", "there is no setup.inf beside setup.exe");
    return kExitFailed;
  }
  if (switches.unattended() && !switches.allowDowngrade && state.Setup.InstalledVersion > state.Setup.NewVersion) {
    log.line("error", "version " + std::to_string(state.Setup.InstalledVersion) + " is installed, newer than " +
                          std::to_string(state.Setup.NewVersion) + " (/allowdowngrade installs over it)");
    return kExitNewerInstalled;
  }
  if (!endNow && !asked) return std::nullopt;
  log.line("error", "an installed copy of the product stops the setup");
  return kExitInstalledCopy;
}

StartUp::OldCopyRemover oldCopyRemover(Platform& platform, const SetupSwitches& switches, SetupLog& log) {
  if (!switches.unattended() || !switches.removeOld) return {};
  return [&platform, &log](const std::string& uninstallString) {
    const std::string command = uninstallString + " /quiet";
    log.line("upgrade", "removing the older copy first: " + command);
    const auto code = platform.runHiddenProgram(command);
    if (code && *code == 0) {
      log.line("upgrade", "the older copy is removed");
      return true;
    }
    log.line("error", code ? "the older copy's uninstaller ended with " + std::to_string(*code)
                           : "the older copy's uninstaller could not be started");
    return false;
  };
}

QuietSetup::QuietSetup(UnattendedPlatform& platform, const SetupSwitches& switches, SetupLog& log,
                       std::shared_ptr<Stream> logCopy)
    : platform_(platform), switches_(switches), log_(log), logCopy_(std::move(logCopy)) {}

int QuietSetup::fail(int exitCode, const std::string& why) {
  log_.line("error", why);
  log_.line("exit", std::to_string(exitCode));
  return exitCode;
}

int QuietSetup::run() {
  // InstallState lives as long as the program, as in a run with windows.
  InstallState& state = *new InstallState;
  const int asked = platform_.questions();
  StartUp startUp(platform_, state);
  startUp.removeOldCopyWith(oldCopyRemover(platform_, switches_, log_));
  const bool endNow = startUp.withoutQuestions().run() == StartUpOutcome::EndProgram;
  if (const auto code = startUpExit(endNow, state, platform_.questions() > asked, switches_, log_)) {
    log_.line("exit", std::to_string(*code));
    return *code;
  }

  const ChoiceOutcome choices = applyUnattendedChoices(switches_, state, platform_);
  if (!choices.ok()) return fail(choices.exitCode, choices.failure);
  log_.line("choices", "target " + state.Choices.TargetDir + ", group " + state.Choices.ProgramGroup + ", options " +
                           chosenOptions(state) + (state.Choices.RunFromMedium ? ", from the medium" : ""));
  return install(state);
}

int QuietSetup::install(InstallState& state) {
  QuietView view(platform_, state);
  // No folder window of the shell either: the group's links are written directly.
  UnattendedStages stages(switches_.noRestart, GroupDelivery::LinksOnly);
  InstallRun run(state, platform_, view, stages);
  SetupLog& runLog = run.context().TextLog;
  runLog.alsoWriteTo(logCopy_);
  platform_.logTo(runLog);
  const int asked = platform_.questions();
  // An error is logged by the run. Nobody is there to press cancel: the rollback follows at once.
  if (run.FormActivate() && state.Run.Started) state.Run.Cancelled = true;
  if (state.Run.Cancelled) {
    const RollbackOutcome rollback = run.rollBackAndWait();
    platform_.logTo(log_);
    const bool volumeMissing = platform_.questions() > asked;
    return fail(volumeMissing ? kExitVolumeMissing : kExitFailed,
                std::string(volumeMissing ? "a volume is missing" : "the installation failed") + "; " +
                    rollbackReport(rollback));
  }
  platform_.logTo(log_);
  if (!stages.completed) return fail(kExitFailed, "the installation did not finish");
  saveAnswerFile(platform_, switches_, state, log_);
  log_.line("exit", std::to_string(stages.exitCode));
  return stages.exitCode;
}

} // namespace kalvora
