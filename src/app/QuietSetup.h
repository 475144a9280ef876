#pragma once
// A setup without any window (/quiet): the start-up, the choices from the
// switches, the installation run and its end, each as the windows would do
// it, but every question becomes an exit code and every message a log line.
#include <memory>
#include <optional>

#include "app/CommandLine.h"
#include "app/StartUp.h"
#include "app/UnattendedPlatform.h"
#include "install/SetupLog.h"
#include "model/InstallState.h"

namespace kalvora {

// The exit code when the start-up ends a run with switches (no setup.inf, an
// installed copy that stops the setup, a question nobody may answer, a newer
// version installed under an unattended run), with its reason in the log;
// nothing when the setup goes on.
std::optional<int> startUpExit(bool endNow, const InstallState& state, bool asked, const SetupSwitches& switches,
                               SetupLog& log);

// For an unattended run with /removeold: removes an older copy by its
// uninstaller, run quietly and waited for; true when that removed everything.
// Without the switch, nothing: the question is asked (and not answered).
StartUp::OldCopyRemover oldCopyRemover(Platform& platform, const SetupSwitches& switches, SetupLog& log);

class QuietSetup {
public:
  // log: the start-up's log; logCopy: the /log file's stream, or none.
  QuietSetup(UnattendedPlatform& platform, const SetupSwitches& switches, SetupLog& log,
             std::shared_ptr<Stream> logCopy);

  // The whole setup; the exit code (SetupExit).
  int run();

private:
  int fail(int exitCode, const std::string& why);
  int install(InstallState& state);

  UnattendedPlatform& platform_;
  const SetupSwitches& switches_;
  SetupLog& log_;
  std::shared_ptr<Stream> logCopy_;
};

} // namespace kalvora
