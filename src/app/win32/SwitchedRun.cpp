#include "app/win32/SwitchedRun.h"

#include <windows.h>

#include "app/AnswerFile.h"
#include "app/ExitCodes.h"
#include "app/QuietSetup.h"
#include "app/UnattendedChoices.h"
#include "install/win32/CompleteDialog.h"
#include "install/win32/CopyingDialog.h"
#include "platform/Win32ProgramFault.h"
#include "ui/win32/Form.h"
#include "wizard/Leader.h"
#include "wizard/win32/CancelDialog.h"

namespace kalvora {

std::optional<int> SwitchedRun::begin(const std::string& commandLine) {
  Platform& system = systemPlatform();
  const CommandLineResult line = parseSetupCommandLine(commandLine);
  switches_ = line.switches;
  // Only a run with questions tells of its own fault; the others end with the exit code alone.
  setFaultMessage(switches_.mode == UiMode::Interactive);
  log_.setClock(system);
  if (switches_.log) {
    logCopy_ = system.openFile(*switches_.log, OpenMode::Create);
    log_.alsoWriteTo(logCopy_);
  }
  log_.line("start", "setup.exe " + commandLine);
  if (!line.error.empty()) return badLine(line);
  if (switches_.loadInf)
    if (const std::string why = loadAnswerFile(system, *switches_.loadInf, switches_); !why.empty())
      return badLine({switches_, why});
  if (switches_.log && !logCopy_) return badLine({switches_, "the log file " + *switches_.log + " cannot be written"});
  if (switches_.help) {
    if (switches_.mode != UiMode::Quiet)
      system.messageBox(setupUsageText(), "Setup", MessageButtons::Ok, MessageIcon::Information);
    return kExitInstalled;
  }
  if (!system.takeInstallerLock()) {
    log_.line("error", oneLine(kAnotherInstallerText));
    if (switches_.mode == UiMode::Interactive)
      system.messageBox(kAnotherInstallerText, "Setup", MessageButtons::Ok, MessageIcon::Exclamation);
    return logged(kExitAnotherInstaller);
  }
  platform_ = std::make_unique<UnattendedPlatform>(system, switches_, log_);
  if (switches_.mode == UiMode::Quiet) {
    // Nor may the system show a box for a drive without a medium or a crash.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    return QuietSetup(*platform_, switches_, log_, logCopy_).run();
  }
  if (passive()) {
    stages_ = std::make_unique<UnattendedStages>(switches_.noRestart, GroupDelivery::ProgramManager);
    // Errors from the windows' handlers go to the log like every other message of a passive run.
    Form::setErrorReport([this](const std::string& text) {
      platform_->messageBox(text, "Setup", MessageButtons::Ok, MessageIcon::Error);
    });
  }
  return std::nullopt;
}

std::optional<int> SwitchedRun::badLine(const CommandLineResult& line) {
  log_.line("error", line.error);
  // A quiet run shows nothing, even about its own command line.
  if (line.switches.mode != UiMode::Quiet)
    systemPlatform().messageBox(line.error + "\r\r" + setupUsageText(), "Setup", MessageButtons::Ok,
                                MessageIcon::Error);
  return logged(kExitBadValue);
}

int SwitchedRun::logged(int code) {
  log_.line("exit", std::to_string(code));
  return code;
}

StartUp::OldCopyRemover SwitchedRun::oldCopyRemover() { return kalvora::oldCopyRemover(*platform_, switches_, log_); }

std::optional<int> SwitchedRun::afterStartUp(bool endNow, const InstallState& state) {
  if (const auto code = startUpExit(endNow, state, platform_->questions() > 0, switches_, log_)) return logged(*code);
  return std::nullopt;
}

std::optional<int> SwitchedRun::beforeWizard(InstallState& state, Leader& wizard, CopyingDialog& Tcopying,
                                             CompleteDialog& Tcomplete, CancelDialog& Tabbruch) {
  Tcopying.installRun().context().TextLog.alsoWriteTo(logCopy_);
  Tcomplete.logic().offerRestart = !switches_.noRestart;
  if (!passive()) {
    // The wizard proposes what the switches name; its rules test them on Next.
    if (switches_.dir) state.Choices.TargetDir = *switches_.dir;
    if (switches_.group) state.Choices.ProgramGroup = *switches_.group;
    const ChoiceOutcome named = namedConfiguration(switches_, state, wizard.configurations().preselection);
    if (named.ok()) return std::nullopt;
    return badLine({switches_, named.failure});
  }
  Tcopying.runUnattended([&Tabbruch] { Tabbruch.confirm(); });
  const ChoiceOutcome choices = applyUnattendedChoices(switches_, state, *platform_);
  if (choices.ok()) return std::nullopt;
  log_.line("error", choices.failure);
  return logged(choices.exitCode);
}

int SwitchedRun::exitCode(const InstallState& state, CompleteDialog& Tcomplete) {
  const bool installed = stages_ ? stages_->completed : Tcomplete.logic().finished();
  if (installed) saveAnswerFile(*platform_, switches_, state, log_);
  if (stages_ && stages_->completed) return logged(stages_->exitCode);
  if (!stages_ && Tcomplete.logic().finished())
    return logged(Tcomplete.logic().restartDue     ? kExitRestartRequired
                  : Tcomplete.logic().sessionEnded ? kExitRestartStarted
                                                   : kExitInstalled);
  // A passive run asks only for a missing volume.
  const bool volumeMissing = passive() && state.Run.Cancelled && platform_->questions() > 0;
  return logged(volumeMissing ? kExitVolumeMissing : kExitFailed);
}

} // namespace kalvora
