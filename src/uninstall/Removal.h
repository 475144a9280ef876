#pragma once
// The removal of one installation from its log, in reverse order of the run:
// program group, registry entries, INI entries, start-up file lines, file
// associations, files, readme, directories, work directory and registration.
// Only what the log names is touched, only below the places it belongs to, and
// only while it is still what the run made; anything else is reported and left.
#include <initializer_list>
#include <optional>
#include <set>
#include <string>

#include "platform/Platform.h"
#include "uninstall/RemovalReport.h"
#include "uninstall/UninstallRecords.h"

namespace kalvora {

// The phases the progress shows; the labels are the log's texts.
class RemovalProgress {
public:
  virtual ~RemovalProgress() = default;
  virtual void phase(const std::string& label) { (void)label; }
  virtual void percent(int value) { (void)value; }
};

// Why a log cannot be acted on at all, or nothing when it can: its target must
// be a directory on a drive, the one holding the log's work directory, and
// must not hold the Windows directory.
std::optional<std::string> refusedTarget(const UninstallRecords& records, const std::string& logPath,
                                         const std::string& windowsDir);

class Removal {
public:
  Removal(Platform& platform, const UninstallRecords& records, RemovalReport& report, RemovalProgress& progress);
  void run();

private:
  // Files and directories.
  void programGroup();
  void files();
  void systemFiles();
  void readme();
  void directories();
  void workDirectory();
  void removeFile(const std::string& kind, const std::string& path);
  // A logged file: its original put back in a rollback, otherwise removed while still as installed.
  void installedFile(const LoggedFile& file, const std::string& path);
  void restoreOriginal(const LoggedFile& file, const std::string& path);
  void removeIfStillOurs(const LoggedFile& file, const std::string& path);
  // The run's SharedDLLs count taken off; true when others still use the file.
  bool stillShared(const LoggedFile& file);
  // The backups a complete run left behind (a kill between its last records) and partial copies.
  void leftoverBackups();
  void removeDirectoryIfEmpty(const std::string& path);
  // dir and its parents below the target, to be removed when empty.
  void noteDirectories(const std::string& dir);
  // System changes.
  void registryEntries();
  void registryEntry(const LoggedRegistryEntry& entry);
  void registryImport();
  void importedValue(const LoggedImport& entry);
  void iniFiles();
  void iniEntries(const std::string& path, const LoggedIniFile& file);
  void restoreEarlierTime(const std::string& path, const std::string& earlier);
  void startupFiles();
  void associations();
  void classKey(const std::string& className, const std::vector<LoggedClassValue>& values);
  void olderClassKey(const std::string& className);
  void groupLink(const LoggedLink& link);
  void registration();
  // Removes a registration under key (values named) when it names this log.
  void registrationAt(const std::string& key, const std::string& name, std::initializer_list<const char*> values);
  // A value the run wrote goes (or gets its earlier data back) while it holds
  // what the run wrote; false when the user changed it (reported).
  bool takeBackValue(RegistryRoot root, const std::string& key, const std::string& name, const std::string& written,
                     const std::optional<std::string>& before);
  // What the user changed since the installation stays, and is reported.
  void changedByUser(const std::string& kind, const std::string& what);
  void restoreOrDeleteValue(RegistryRoot root, const std::string& key, const std::string& name,
                            const std::optional<std::string>& before);
  void deleteEmptyKeys(RegistryRoot root, const std::string& keyPath, const std::string& outermost);
  std::string windowsFile(const std::string& path) const;

  Platform& platform_;
  const UninstallRecords& records_;
  RemovalReport& report_;
  RemovalProgress& progress_;
  std::string target_, windowsDir_, backupDir_;
  // Directories below the target, to remove when empty: the deepest first, so
  // that a directory comes after everything it held; by name within a depth.
  struct DeepestFirst {
    bool operator()(const std::string& a, const std::string& b) const;
  };
  std::set<std::string, DeepestFirst> candidateDirectories_;
  // A logged item stayed (in use, read-only): the log and registration stay for a second attempt.
  bool retryable_ = false;
};

} // namespace kalvora
