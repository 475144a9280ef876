#include "uninstall/Removal.h"

#include <algorithm>

#include "install/ScriptPaths.h"
#include "platform/NoCase.h"
#include "script/WorkFiles.h"
#include "uninstall/RemovalPaths.h"

namespace kalvora {
namespace {

// The work files of the run, the log last: it is what a second attempt would read.
constexpr std::string_view kWorkFiles[] = {kTextLogName, kScriptCopyName, kStagingFileName, kUninstallLogName};

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
      target_(withoutTrailingSeparators(records.targetDir)), windowsDir_(platform.windowsDirectory()) {}

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

void Removal::removeDirectoryIfEmpty(const std::string& path) {
  if (!platform_.directoryExists(path)) return;
  if (platform_.removeDirectory(path))
    report_.removed("directory", path);
  else
    report_.left("directory", path, "not empty");
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
    removeFile("file", path);
    noteDirectories(containingDirectory(path));
  }
}

void Removal::systemFiles() {
  const std::string sharedUninstaller = windowsDir_ + "\\unkalvora.exe";
  for (auto file = records_.systemFiles.rbegin(); file != records_.systemFiles.rend(); ++file) {
    if (file->kept || samePath(file->path, sharedUninstaller)) {
      report_.note("kept", file->path);
      continue;
    }
    if (partBelow(file->path, windowsDir_))
      removeFile("file", file->path);
    else
      report_.left("entry", file->path, "outside the Windows directory");
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
