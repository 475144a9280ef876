#include "install/PendingRegistration.h"

#include "install/RegistryChanges.h"
#include "install/UninstallerSetup.h"

namespace kalvora {
namespace {
// UninstallString last: while it stays, the uninstaller knows the entry for this run's.
constexpr const char* kPendingValues[] = {"DisplayName", "UninstallString"};
} // namespace

std::string pendingRegistrationKey(const std::string& productName) {
  return kUninstallListKey + productName + kPendingSuffix;
}

bool registerPending(RunContext& run) {
  const std::string name = run.script().ReadString("software", "name", "_");
  const std::string key = pendingRegistrationKey(name);
  // Logged first, with the name the uninstaller finds it by: it removes it when it names this log.
  if (!run.log("uninstall", "name", name) || !run.logBool("uninstall", "pending", true)) return false;
  if (!run.platform.createRegistryKey(RegistryRoot::LocalMachine, key))
    return run.fail(ERegistryException::keyNotCreated(key));
  const std::string display = run.script().ReadString("software", "name_display", name) + kPendingSuffix;
  for (const auto& [value, data] : {std::pair<const char*, std::string>{"UninstallString", uninstallCommandLine(run)},
                                    std::pair<const char*, std::string>{"DisplayName", display}})
    if (!run.platform.writeRegistryString(RegistryRoot::LocalMachine, key, value, data))
      return run.fail(ERegistryException::valueNotSet(value));
  return true;
}

void clearPending(Platform& platform, const std::string& productName) {
  const std::string key = pendingRegistrationKey(productName);
  // A refusal leaves the rest, UninstallString above all: the uninstaller finds the entry by it.
  for (const char* value : kPendingValues)
    if (!platform.deleteRegistryValue(RegistryRoot::LocalMachine, key, value) &&
        platform.registryValueExists(RegistryRoot::LocalMachine, key, value))
      return;
  platform.deleteEmptyRegistryKey(RegistryRoot::LocalMachine, key);
}

std::optional<std::string> pendingUninstallString(Platform& platform, const std::string& productName) {
  if (productName.find('\\') != std::string::npos) return std::nullopt;
  return platform.readRegistryString(RegistryRoot::LocalMachine, pendingRegistrationKey(productName),
                                     "UninstallString");
}

} // namespace kalvora
