#include "app/UnattendedStages.h"

#include "app/ExitCodes.h"
#include "install/AssociationStage.h"
#include "install/Completion.h"
#include "install/ProgramGroup.h"
#include "install/RunContext.h"
#include "install/SystemChanges.h"

namespace kalvora {

bool UnattendedStages::associations(RunContext& run) { return associationStage(run); }
bool UnattendedStages::programGroup(RunContext& run, bool fromMedium) {
  return programGroupStage(run, fromMedium, groupDelivery_);
}
bool UnattendedStages::systemChanges(RunContext& run) { return kalvora::systemChanges(run); }

void UnattendedStages::completion(RunContext& run) {
  completed = true;
  const std::string message = run.script().ReadString("software", "msg2", "");
  if (!message.empty()) run.TextLog.line("message", message);
  const std::int32_t reboot = run.script().ReadInteger("software", "reboot", 0);
  run.SetupCopy.reset();
  removeWorkFiles(run.platform, run.state);
  exitCode = endSessionUnattended(run.platform, reboot, noRestart_, run.TextLog);
  run.platform.requestQuit();
}

int endSessionUnattended(Platform& platform, std::int32_t reboot, bool noRestart, SetupLog& log) {
  if (reboot != 1 && reboot != 2) return kExitInstalled;
  const char* what = reboot == 1 ? "restart" : "log-off";
  if (noRestart) {
    log.line("restart", std::string(what) + " required, left to the caller (/norestart)");
    return kExitRestartRequired;
  }
  log.line("restart", what);
  if (platform.endSession(reboot == 1 ? SessionEnd::Restart : SessionEnd::LogOff)) return kExitRestartStarted;
  log.line("error", std::string("the system refused the ") + what);
  return kExitRestartRequired;
}

} // namespace kalvora
