#include "install/FileBackup.h"

#include "install/ScriptPaths.h"
#include "script/WorkFiles.h"

namespace kalvora {
namespace {

// A copy that keeps time and attributes, made under a partial name and moved
// into place whole: a backup that exists is always complete.
bool copyAside(Platform& platform, const std::string& target, const std::string& backup, const FileInfo& info) {
  const std::string partial = backup + std::string(kPartialBackupSuffix);
  const bool copied = platform.copyFile(target, partial) && platform.setFileDosTime(partial, info.dosDateTime) &&
                      platform.setFileAttributes(partial, info.attributes & ~kAttrReadOnly) &&
                      platform.moveFile(partial, backup) && platform.setFileAttributes(backup, info.attributes);
  if (!copied) platform.deleteFile(partial);
  return copied;
}

} // namespace

std::string backupDirectory(std::string_view targetDir) {
  return workDirectory(targetDir) + "\\" + std::string(kBackupDirectoryName);
}

std::string backupPath(std::string_view targetDir, std::string_view section, std::int64_t number) {
  return backupDirectory(targetDir) + "\\" + numberedKey(section == "files" ? "f" : "s", number);
}

bool keepOriginal(RunContext& run, const std::string& target, const std::string& backup) {
  if (!run.LogEnabled) return true; // no log, no rollback: nothing would put it back
  const std::optional<FileInfo> info = run.platform.fileInfo(target);
  if (!info) return true; // gone meanwhile: nothing to keep
  const std::string dir = backupDirectory(run.state.Choices.TargetDir);
  if (!run.platform.directoryExists(dir)) run.platform.createDirectory(dir);
  run.platform.deleteFile(backup); // one left by an earlier run into this target
  // Moved aside, the original keeps everything it had at no cost; a read-only
  // one is copied, so that the write over it fails as it always has.
  const bool kept = (!(info->attributes & kAttrReadOnly) && run.platform.moveFile(target, backup)) ||
                    copyAside(run.platform, target, backup, *info);
  if (!kept) return run.fail(EFCreateError(backup));
  run.Backups.push_back(backup);
  run.TextLog.line("backup", target + " -> " + backup);
  return true;
}

bool completeRun(RunContext& run) {
  if (!run.LogEnabled) return true;
  if (!run.log("uninstall", "complete", "1") || !run.flushLog()) return false;
  for (const std::string& backup : run.Backups) {
    run.platform.setFileAttributes(backup, kAttrArchive); // a read-only original's copy is read-only too
    run.platform.deleteFile(backup);
  }
  run.platform.removeDirectory(backupDirectory(run.state.Choices.TargetDir));
  return true;
}

} // namespace kalvora
