#include "uninstall/Removal.h"

#include <algorithm>

#include "install/FileBackup.h"
#include "install/ScriptPaths.h"
#include "platform/NoCase.h"
#include "script/WorkFiles.h"
#include "uninstall/FileUndo.h"
#include "uninstall/RemovalPaths.h"

namespace kalvora {
namespace {

// The work files of the run, the log last: it is what a second attempt would read.
constexpr std::string_view kWorkFiles[] = {kTextLogName, kScriptCopyName, kStagingFileName, kUninstallLogBesideName,
                                           kUninstallLogName};

std::size_t depthOf(const std::string& path) {
  return static_cast<std::size_t>(std::count(path.begin(), path.end(), '\\'));
}

} // namespace

std::optional<std::string> refusedTarget(const UninstallRecords& records, const std::string& logPath,
                                         const std::string& windowsDir) {
  const std::string target = withoutTrailingSeparators(records.targetDir);
  if (target.empty()) return "the log names no target directory";
  if (!isDriveDirectory(target)) return "the target directory " + target + " is not a directory on a drive";
  if (!samePath(containingDirectory(logPath), workDirectory(target)))
    return "the log does not lie in the work directory of " + target;
  if (samePath(target, windowsDir) || partBelow(windowsDir, target))
    return "the target directory " + target + " holds the Windows directory";
  return std::nullopt;
}

bool Removal::DeepestFirst::operator()(const std::string& a, const std::string& b) const {
  const std::size_t depthA = depthOf(a), depthB = depthOf(b);
  return depthA != depthB ? depthA > depthB : a < b;
}

Removal::Removal(Platform& platform, const UninstallRecords& records, RemovalReport& report, RemovalProgress& progress)
    : platform_(platform), records_(records), report_(report), progress_(progress),
      target_(withoutTrailingSeparators(records.targetDir)), windowsDir_(platform.windowsDirectory()),
      backupDir_(backupDirectory(target_)) {}

void Removal::run() {
  progress_.phase(records_.text(57));
  programGroup();
  progress_.percent(5);
  progress_.phase(records_.text(59));
  registryEntries();
  iniFiles();
  startupFiles();
  associations();
  registryImport();
  progress_.percent(20);
  progress_.phase(records_.text(57));
  files();
  systemFiles();
  readme();
  progress_.percent(80);
  progress_.phase(records_.text(58));
  directories();
  workDirectory();
  progress_.percent(95);
  progress_.phase(records_.text(59));
  registration();
  progress_.percent(100);
}

void Removal::removeFile(const std::string& kind, const std::string& path) {
  const auto info = platform_.fileInfo(path);
  if (!info) {
    report_.note("absent", kind + " " + path);
    return;
  }
  std::string why;
  if (info->isDirectory)
    why = "a directory of that name stands there";
  else if (info->attributes & kAttrReadOnly)
    why = "read-only";
  else if (!platform_.deleteFile(path))
    why = "in use or access denied";
  if (why.empty()) {
    report_.removed(kind, path);
    return;
  }
  report_.left(kind, path, why);
  retryable_ = true;
}

void Removal::installedFile(const LoggedFile& file, const std::string& path) {
  if (!records_.complete && !file.backup.empty())
    restoreOriginal(file, path);
  else
    removeIfStillOurs(file, path);
}

void Removal::restoreOriginal(const LoggedFile& file, const std::string& path) {
  if (!samePath(containingDirectory(file.backup), backupDir_)) {
    report_.left("entry", file.backup, "not a backup in the work directory");
    removeIfStillOurs(file, path);
    return;
  }
  if (!platform_.fileExists(file.backup)) {
    // Never moved aside, so never written over: the file there is the user's.
    // Only this run's finished file (a record an earlier run into this target left) is ours.
    if (file.id && platform_.fileExists(path) && stillAsInstalled(platform_, path, *file.id))
      removeFile("file", path);
    else
      report_.note("kept", path + " was never replaced");
    return;
  }
  if (putBackOriginal(platform_, file.backup, path)) {
    report_.restored("file", path);
    return;
  }
  report_.left("file", path, "its original could not be put back from " + file.backup);
  retryable_ = true;
}

void Removal::removeIfStillOurs(const LoggedFile& file, const std::string& path) {
  if (file.id && platform_.fileExists(path) && !stillAsInstalled(platform_, path, *file.id)) {
    report_.leftToOthers("file", path, "changed since the installation");
    return;
  }
  removeFile("file", path);
}

bool Removal::stillShared(const LoggedFile& file) {
  if (!file.sharedCount) return false; // an older log: the file is the run's alone
  const SharedCountDown count = countSharedFileDown(platform_, file.path, *file.sharedCount, file.hadSharedCount);
  if (count.refused) {
    report_.left("shared count", file.path, "could not be counted down");
    retryable_ = true;
    return true;
  }
  if (count.remaining <= 0) return false;
  if (file.kept) return true;
  if (count.remaining == *file.sharedCount && !file.hadSharedCount)
    report_.leftToOthers("file", file.path, "there before the installation");
  else
    report_.leftToOthers("file", file.path, "still used by other programs");
  return true;
}

void Removal::leftoverBackups() {
  for (const auto* files : {&records_.files, &records_.systemFiles})
    for (const LoggedFile& file : *files) {
      if (file.backup.empty() || !samePath(containingDirectory(file.backup), backupDir_)) continue;
      const std::string partial = file.backup + std::string(kPartialBackupSuffix);
      if (platform_.fileExists(partial)) removeFile("partial backup", partial);
      // In a rollback a backup still there is the only copy of a file that could not be put back.
      if (records_.complete && platform_.fileExists(file.backup)) {
        platform_.setFileAttributes(file.backup, kAttrArchive);
        removeFile("backup", file.backup);
      }
    }
  removeDirectoryIfEmpty(backupDir_);
}

void Removal::removeDirectoryIfEmpty(const std::string& path) {
  if (!platform_.directoryExists(path)) return;
  if (platform_.removeDirectory(path))
    report_.removed("directory", path);
  else
    report_.leftToOthers("directory", path, "not empty"); // what it holds is not the run's, or is reported itself
}

void Removal::noteDirectories(const std::string& dir) {
  for (std::string at = withoutTrailingSeparators(dir); partBelow(at, target_); at = containingDirectory(at))
    candidateDirectories_.insert(at);
}

void Removal::files() {
  for (auto file = records_.files.rbegin(); file != records_.files.rend(); ++file) {
    if (file->kept) {
      report_.note("kept", file->path + " was there before");
      continue;
    }
    if (!entryStaysBelow(file->path)) {
      report_.left("entry", file->path, "outside the target directory");
      continue;
    }
    const std::string path = target_ + withoutTrailingSeparators(file->path);
    installedFile(*file, path);
    noteDirectories(containingDirectory(path));
  }
}

void Removal::systemFiles() {
  const std::string sharedUninstaller = windowsDir_ + "\\unkalvora.exe";
  for (auto file = records_.systemFiles.rbegin(); file != records_.systemFiles.rend(); ++file) {
    if (samePath(file->path, sharedUninstaller)) {
      report_.note("kept", file->path);
      continue;
    }
    if (!partBelow(file->path, windowsDir_)) {
      report_.left("entry", file->path, "outside the Windows directory");
      continue;
    }
    const bool shared = stillShared(*file);
    if (file->kept) {
      report_.note("kept", file->path);
    } else if (!records_.complete && !file->backup.empty()) {
      restoreOriginal(*file, file->path); // a rollback puts the machine back whoever counts the file
    } else if (!shared) {
      removeIfStillOurs(*file, file->path);
    }
  }
  const auto& dirs = records_.systemDirectories;
  for (auto dir = dirs.rbegin(); dir != dirs.rend(); ++dir) {
    if (partBelow(*dir, windowsDir_))
      removeDirectoryIfEmpty(withoutTrailingSeparators(*dir));
    else
      report_.left("entry", *dir, "outside the Windows directory");
  }
}

void Removal::readme() {
  // A product without a readme logs the directory it would have gone to.
  if (records_.readme.empty() || records_.readme.back() == '\\') return;
  if (!partBelow(records_.readme, target_)) {
    report_.left("entry", records_.readme, "outside the target directory");
    return;
  }
  removeFile("readme", records_.readme);
  noteDirectories(containingDirectory(records_.readme));
}

void Removal::directories() {
  for (const std::string& dir : records_.directories) {
    if (withoutTrailingSeparators(dir) == "\\") continue; // the target itself goes last
    if (entryStaysBelow(dir))
      noteDirectories(target_ + dir);
    else
      report_.left("entry", dir, "outside the target directory");
  }
  for (const std::string& dir : candidateDirectories_)
    removeDirectoryIfEmpty(dir);
}

void Removal::workDirectory() {
  leftoverBackups();
  const std::string workDir = kalvora::workDirectory(target_);
  for (const std::string_view name : kWorkFiles) {
    const std::string path = workFilePath(target_, name);
    if (retryable_ && name == kUninstallLogName) {
      report_.left("log", path, "kept so that the removal can be run again");
      continue;
    }
    removeFile("work file", path);
  }
  removeDirectoryIfEmpty(workDir);
  // A setup stopped while it made the shared uninstaller leaves its unfinished copy.
  platform_.deleteFile(platform_.windowsDirectory() + "\\unkalvora.new");
  const std::string& newRoot = records_.newRoot;
  // The run created only what lies below the target: the target was there before.
  if (partBelow(newRoot, target_)) return;
  const bool rootKnown = isDriveDirectory(newRoot) && (samePath(newRoot, target_) || partBelow(target_, newRoot));
  if (!newRoot.empty() && !rootKnown) report_.left("entry", newRoot, "not the target directory nor one above it");
  const std::string outermost = rootKnown ? withoutTrailingSeparators(newRoot) : target_;
  for (std::string dir = target_;; dir = containingDirectory(dir)) {
    removeDirectoryIfEmpty(dir);
    if (samePath(dir, outermost) || platform_.directoryExists(dir)) break;
  }
}

} // namespace kalvora
