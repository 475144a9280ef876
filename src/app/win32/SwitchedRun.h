#pragma once
// setup.exe started with switches: the help box, a bad command line, the
// quiet run without windows, and the hooks by which a run with windows
// (interactive or /passive) takes the switches into account.
#include <memory>
#include <optional>
#include <string>

#include "app/CommandLine.h"
#include "app/StartUp.h"
#include "app/UnattendedPlatform.h"
#include "app/UnattendedStages.h"
#include "install/SetupLog.h"
#include "model/InstallState.h"

namespace kalvora {

class CancelDialog;
class CopyingDialog;
class CompleteDialog;
class Leader;

class SwitchedRun {
public:
  // The exit code when the program ends before any window: help, a bad line,
  // a quiet run. Otherwise the windows run with platform().
  std::optional<int> begin(const std::string& commandLine);

  Platform& platform() { return *platform_; }
  bool passive() const { return switches_.mode == UiMode::Passive; }
  // The start-up's remover of an older copy (/removeold in a passive run); none otherwise.
  StartUp::OldCopyRemover oldCopyRemover();
  // The stages of a passive run; a run with questions keeps the windows' own.
  UnattendedStages* stages() { return stages_.get(); }

  // After the start-up: the exit code when the program ends here.
  std::optional<int> afterStartUp(bool endNow, const InstallState& state);
  // Before the wizard's creation: the choices of a passive run, the wizard's
  // proposals and preselection in an interactive one; an exit code when they break a rule.
  std::optional<int> beforeWizard(InstallState& state, Leader& wizard, CopyingDialog& Tcopying,
                                  CompleteDialog& Tcomplete, CancelDialog& Tabbruch);
  int exitCode(const InstallState& state, CompleteDialog& Tcomplete);

private:
  std::optional<int> badLine(const CommandLineResult& line);
  int logged(int code);

  SetupSwitches switches_;
  SetupLog log_;
  std::shared_ptr<Stream> logCopy_;
  std::unique_ptr<UnattendedPlatform> platform_;
  std::unique_ptr<UnattendedStages> stages_;
};

} // namespace kalvora
