#pragma once
// The work directory an installation keeps below its target directory, and the
// files in it: the setup script's copy, the staging file of compressed chunks,
// the uninstall log and the plain-text log. Setup writes them, the cancel and
// completion dialogs delete some, the uninstaller finds and removes them.
#include <string>
#include <string_view>

#include "platform/Platform.h"

namespace kalvora {

inline constexpr std::string_view kScriptCopyName = "setup.tmp";
inline constexpr std::string_view kStagingFileName = "compress.tmp";
inline constexpr std::string_view kUninstallLogName = "uninst.log";
// The uninstall log's next version, written and flushed here before it is moved over the log.
inline constexpr std::string_view kUninstallLogBesideName = "uninst.new";
inline constexpr std::string_view kTextLogName = "setup.log";

// What the work directory's path adds to the target directory's.
inline constexpr std::string_view kWorkDirectorySuffix = "\\setup";

// targetDir + "\setup".
std::string workDirectory(std::string_view targetDir);
// The path of a work file of the installation into targetDir.
std::string workFilePath(std::string_view targetDir, std::string_view name);
// Deletes the script's copy and the staging file, which the run no longer
// needs once it has ended or been cancelled; a missing one is no error.
void deleteRunFiles(Platform& platform, std::string_view targetDir);
// How many characters workFilePath adds to the target directory for name.
constexpr std::size_t workFileSuffixLength(std::string_view name) {
  return kWorkDirectorySuffix.size() + 1 + name.size();
}

} // namespace kalvora
