#include "install/SystemChanges.h"

#include "install/FileBackup.h"
#include "install/IniChanges.h"
#include "install/RegistryChanges.h"
#include "install/StartupFiles.h"

namespace kalvora {

bool systemChanges(RunContext& run) {
  // The run is complete once registered: its backups go (completeRun) before the log is closed.
  if (!startupFileChanges(run) || !iniChanges(run) || !registryChanges(run) || !uninstallRegistration(run) ||
      !completeRun(run))
    return false;
  run.Log.close();
  return true;
}

} // namespace kalvora
