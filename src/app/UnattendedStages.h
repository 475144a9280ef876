#pragma once
// The stages of an unattended run: those of the run with windows, and an end
// that neither shows the readme nor starts the program. A restart or log-off
// that the script asks for is carried out unless /norestart; while it is still
// due, the exit code is 3010; once the system has accepted it, 1641.
#include "install/ProgramGroup.h"
#include "install/RunStages.h"
#include "install/SetupLog.h"
#include "platform/Platform.h"

namespace kalvora {

class UnattendedStages : public RunStages {
public:
  UnattendedStages(bool noRestart, GroupDelivery groupDelivery)
      : noRestart_(noRestart), groupDelivery_(groupDelivery) {}
  bool associations(RunContext& run) override;
  bool programGroup(RunContext& run, bool fromMedium) override;
  bool systemChanges(RunContext& run) override;
  // Removes the work files, ends the session as the script asks, requests the program's end.
  void completion(RunContext& run) override;

  bool completed = false;
  int exitCode = 0; // SetupExit, once completed

private:
  bool noRestart_;
  GroupDelivery groupDelivery_;
};

// reboot as the script's [software] reboot: 1 restart, 2 log off, else nothing.
int endSessionUnattended(Platform& platform, std::int32_t reboot, bool noRestart, SetupLog& log);

} // namespace kalvora
