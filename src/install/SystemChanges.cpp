#include "install/SystemChanges.h"

#include "install/IniChanges.h"
#include "install/RegistryChanges.h"
#include "install/StartupFiles.h"

namespace kalvora {

void systemChanges(RunContext& run) {
  startupFileChanges(run);
  iniChanges(run);
  registryChanges(run);
  uninstallRegistration(run);
  run.Log.close();
}

} // namespace kalvora
