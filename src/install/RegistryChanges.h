#pragma once
// The registry entries of [sysreg] and the product's entry in the Windows list
// of uninstallable programs, which the next start-up reads back.
#include <string>

#include "install/RunContext.h"

namespace kalvora {

// "Erzeugung von Schlüssel %s misslungen" / "Konnte Daten für '%s' nicht setzen"
class ERegistryException : public Exception {
public:
  using Exception::Exception;
  static ERegistryException keyNotCreated(const std::string& keyPath);
  static ERegistryException valueNotSet(const std::string& valueName);
};

inline constexpr const char* kUninstallListKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";

// Applies [sysreg] entries 1 to total and records them in the uninstall log.
[[nodiscard]] bool registryChanges(RunContext& run);
// Registers the product under kUninstallListKey when [software] CP is set.
[[nodiscard]] bool uninstallRegistration(RunContext& run);

} // namespace kalvora
