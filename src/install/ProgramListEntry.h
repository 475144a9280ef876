#pragma once
// The values of the product's entry in Windows' list of programs beyond the
// three the next start-up reads back (UninstallString, DisplayName, version):
// what the list shows (version, publisher, size, icon, date) and what
// deployment tools read (location, the quiet removal's command line).
#include <array>
#include <cstdint>
#include <string>

#include "install/RunContext.h"

namespace kalvora {

// Every value programListEntry may write, for the uninstaller to take away.
inline constexpr std::array<const char*, 10> kProgramListValues = {
    "DisplayVersion", "Publisher",   "HelpLink",    "InstallLocation", "QuietUninstallString",
    "EstimatedSize",  "DisplayIcon", "InstallDate", "NoModify",        "NoRepair"};

// Kilobytes (rounded up) of the chosen options' files; 0 for a run from the medium.
std::uint32_t installedKilobytes(const InstallState& state);

// Writes the values under keyPath (HKEY_LOCAL_MACHINE); a refused write ends the run.
[[nodiscard]] bool programListEntry(RunContext& run, const std::string& keyPath);

} // namespace kalvora
