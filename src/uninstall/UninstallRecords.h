#pragma once
// The uninstall log uninst.log read whole into memory before anything is
// removed (the log itself goes at the end). Numbered entries are found by their
// key names, so gaps, missing totals and absurd totals cost nothing; an entry
// that a newer setup adds beside the old ones is empty or absent in older logs.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace kalvora {

// A default that no INI value holds: a read that returns it found no value.
inline constexpr const char* kAbsentValue = "\x01"
                                            "absent";

struct LoggedFile {
  std::string path;                        // relative below the target for [files], full for [systemroot]
  bool kept = false;                       // there before the run and left as it was
  std::string backup;                      // bak<n>: where the original the run replaced is kept
  std::optional<std::string> id;           // id<n>: the file as the run left it; none while unfinished
  std::optional<std::int64_t> sharedCount; // count<n>: the shared count before the run counted it up
  bool hadSharedCount = false;             // hadcount<n>: that count was a value of its own
};

struct LoggedExtension {
  std::string extension;             // without the dot
  std::optional<std::string> before; // ".ext"'s value before the run; none when the key was new
};

struct LoggedIniEntry {
  std::string section, key, value;
  std::optional<std::string> before;
};

struct LoggedIniFile {
  std::string path;   // as written to; empty when an older log does not say
  std::string backup; // a backup the run created, full path
  std::vector<LoggedIniEntry> entries;
};

struct LoggedRegistryEntry {
  int root = 0; // 1 classes root, 2 current user, 3 local machine
  std::string keyPath, data;
  std::optional<std::string> valueName; // none in older logs
  std::optional<std::string> before;
  std::string newKey; // the outermost key the run created; empty when none was
};

struct StartupFileChanges {
  std::vector<std::string> lines; // appended, in order
  std::string backup;             // a backup the run created, full path
};

struct UninstallRecords {
  std::string targetDir, newRoot, productName, readme;
  bool ask = false;
  bool complete = false; // [uninstall] complete: the run finished and removed its backups
  std::string groupName, groupFolder;
  std::vector<std::string> groupLinks;
  std::vector<LoggedFile> files, systemFiles;
  std::vector<std::string> directories, systemDirectories;
  std::vector<LoggedExtension> extensions;
  std::vector<LoggedIniFile> iniFiles;
  StartupFileChanges autoexec, configSys;
  bool removeRegistry = false;
  std::vector<LoggedRegistryEntry> registry;
  std::map<int, std::string> texts; // l10, l11, l15, l55 to l61
  std::string text(int number) const;
};

// Reads the log; nullopt when there is no such file.
std::optional<UninstallRecords> readUninstallRecords(Platform& platform, const std::string& logPath);

// The numbers n of the keys prefix<n> of a section, ascending (prefix "f" finds f1, f12; not "files").
std::vector<std::int64_t> numbersOfKeys(const std::vector<std::string>& keys, std::string_view prefix);

} // namespace kalvora
