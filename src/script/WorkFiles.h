#pragma once
// The work directory an installation keeps below its target directory, and the
// files in it: the setup script's copy, the staging file of compressed chunks,
// the uninstall log and the plain-text log. Setup writes them, the cancel and
// completion dialogs delete some, the uninstaller finds and removes them.
#include <string>
#include <string_view>

namespace kalvora {

inline constexpr std::string_view kScriptCopyName = "setup.tmp";
inline constexpr std::string_view kStagingFileName = "compress.tmp";
inline constexpr std::string_view kUninstallLogName = "uninst.log";
inline constexpr std::string_view kTextLogName = "setup.log";

// targetDir + "\setup".
std::string workDirectory(std::string_view targetDir);
// The path of a work file of the installation into targetDir.
std::string workFilePath(std::string_view targetDir, std::string_view name);

} // namespace kalvora
