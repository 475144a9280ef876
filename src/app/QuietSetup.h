#pragma once
// A setup without any window (/quiet): the start-up, the choices from the
// switches, the installation run and its end, each as the windows would do
// it, but every question becomes an exit code and every message a log line.
#include <memory>

#include "app/CommandLine.h"
#include "model/InstallState.h"
#include "app/UnattendedPlatform.h"
#include "install/SetupLog.h"

namespace kalvora {

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
