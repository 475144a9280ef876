#pragma once
// The registration of an installation under way: an entry of its own in the
// list of installed programs, named after the product with kPendingSuffix,
// whose UninstallString runs the uninstaller on the run's log. It is written
// (and logged as [uninstall] pending) once the log and the uninstaller are in
// place and deleted when the run is complete, so after a kill it tells the
// user, and the next setup.exe, that remains are left and how to remove them.
#include <optional>
#include <string>

#include "install/RunContext.h"

namespace kalvora {

inline constexpr const char* kPendingSuffix = " (setup not finished)";

// The key of the product's pending registration below HKLM.
std::string pendingRegistrationKey(const std::string& productName);
// Logs and writes the pending registration; false with the run's error when refused.
[[nodiscard]] bool registerPending(RunContext& run);
// Deletes the pending registration of a complete run.
void clearPending(Platform& platform, const std::string& productName);
// The uninstaller's command line of an interrupted run of the product, none when there is none.
std::optional<std::string> pendingUninstallString(Platform& platform, const std::string& productName);

} // namespace kalvora
