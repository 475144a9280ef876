#include "install/SystemChanges.h"

#include "install/IniChanges.h"
#include "install/RegistryChanges.h"
#include "install/StartupFiles.h"

namespace kalvora {

bool systemChanges(RunContext& run) {
  if (!startupFileChanges(run) || !iniChanges(run) || !registryChanges(run) || !uninstallRegistration(run))
    return false;
  run.Log.close();
  return true;
}

} // namespace kalvora
