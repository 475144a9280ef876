#include "uninstall/FileUndo.h"

#include "install/FileIdentity.h"
#include "install/SharedFiles.h"

namespace kalvora {

bool putBackOriginal(Platform& platform, const std::string& backup, const std::string& target) {
  const std::optional<FileInfo> original = platform.fileInfo(backup);
  if (!original) return false;
  // The run's file may be read-only (its archive said so): it goes all the same.
  if (platform.fileExists(target)) platform.setFileAttributes(target, kAttrArchive);
  if (platform.moveFile(backup, target)) return true;
  // Another volume (the Windows directory's): copied, then given its time and attributes.
  if (!platform.copyFile(backup, target) || !platform.setFileDosTime(target, original->dosDateTime) ||
      !platform.setFileAttributes(target, original->attributes))
    return false;
  platform.setFileAttributes(backup, kAttrArchive);
  platform.deleteFile(backup);
  return true;
}

bool stillAsInstalled(Platform& platform, const std::string& path, const std::string& id) {
  return fileIdentity(platform, path) == id;
}

SharedCountDown countSharedFileDown(Platform& platform, const std::string& path, std::int64_t logged, bool had) {
  const std::optional<std::uint32_t> count =
      platform.readRegistryDword(RegistryRoot::LocalMachine, kSharedDllsKey, path);
  // No value now: nobody counts the file, unless it was there uncounted before the run.
  if (!count) return {had ? 0 : logged, false};
  const std::int64_t now = *count;
  if (now <= logged) return {now, false}; // the run never added its count (stopped before), or others took theirs
  const std::int64_t next = now - 1;
  const bool gone = next == 0 || (next == logged && !had);
  const bool written = gone ? platform.deleteRegistryValue(RegistryRoot::LocalMachine, kSharedDllsKey, path)
                            : platform.writeRegistryDword(RegistryRoot::LocalMachine, kSharedDllsKey, path,
                                                          static_cast<std::uint32_t>(next));
  if (!written) return {now, true};
  // An empty key goes with the last value (Windows makes it anew when needed).
  if (gone) platform.deleteEmptyRegistryKey(RegistryRoot::LocalMachine, kSharedDllsKey);
  return {next, false};
}

} // namespace kalvora
