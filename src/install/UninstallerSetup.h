#pragma once
// The uninstaller's side of the run: the log's head and data records, the
// uninstaller unkalvora.exe in the Windows directory with its version marker,
// and the import of the medium's registry file.
#include <string>

#include "install/RunContext.h"

namespace kalvora {

inline constexpr int kUninstallerVersion = 220;
inline constexpr const char* kUninstallerMarkerKey = "SOFTWARE\\VELM\\kalvora";

std::string uninstallerPath(const RunContext& run);
// The uninstall log's path, the uninstaller's argument.
std::string uninstallLogPath(const RunContext& run);
// The command line that removes the installation; rolling back adds " /silent".
std::string uninstallCommandLine(const RunContext& run);

// Opens the log and writes its head ([readme] file, [important!] c and i1, the
// target directory), read from the script itself: it comes before the script's copy.
[[nodiscard]] bool openLogWithHead(RunContext& run);
// Installs the uninstaller unless a current one is present (log enabled only).
[[nodiscard]] bool installUninstaller(RunContext& run);
// Starts the registry editor on the medium's zsys.re_ when there is one, once
// the keys and values it touches are recorded in the log; false when the log refuses them.
[[nodiscard]] bool importRegistryFile(RunContext& run);
// The records the uninstaller reads besides the lists: versions, texts, directory.
[[nodiscard]] bool writeUninstallerData(RunContext& run);

} // namespace kalvora
