#include "uninstall/FirstLogWrite.h"

#include "install/ScriptPaths.h"
#include "script/WorkFiles.h"
#include "uninstall/Removal.h"
#include "uninstall/RemovalPaths.h"

namespace kalvora {

FirstLogWrite settleFirstLogWrite(Platform& platform, const std::string& logPath, const std::string& windowsDir) {
  const std::string workDir = containingDirectory(logPath);
  const std::string beside = workDir + "\\" + std::string(kUninstallLogBesideName);
  // Only the log's own place in a work directory: the name says the run wrote it there.
  if (!samePath(fileNamePart(logPath), std::string(kUninstallLogName)) ||
      !samePath("\\" + fileNamePart(workDir), std::string(kWorkDirectorySuffix)) || platform.fileExists(logPath))
    return FirstLogWrite::None;
  // A run stopped between making its work directory and beginning its log
  // leaves that directory with nothing in it (removed only when empty).
  if (!platform.fileExists(beside))
    return platform.removeDirectory(workDir) ? FirstLogWrite::Removed : FirstLogWrite::None;
  const auto records = readUninstallRecords(platform, beside);
  if (records && !refusedTarget(*records, logPath, windowsDir))
    return platform.moveFile(beside, logPath) ? FirstLogWrite::TakenUp : FirstLogWrite::None;
  if (!platform.deleteFile(beside)) return FirstLogWrite::None;
  platform.removeDirectory(workDir); // only when empty
  return FirstLogWrite::Removed;
}

} // namespace kalvora
