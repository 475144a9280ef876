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

// A default value of the extension's class key as the run wrote it.
struct LoggedClassValue {
  std::string key;                    // below the classes root
  std::optional<std::string> written; // none in older logs
  std::optional<std::string> before;  // the data it held before; none when there was none
};

struct LoggedExtension {
  std::string extension;                     // without the dot
  std::optional<std::string> before;         // ".ext"'s value before the run; none when the key was new
  std::vector<LoggedClassValue> classValues; // description, icon, command (newer logs only)
};

struct LoggedIniEntry {
  std::string section, key, value;
  std::optional<std::string> before;
  bool newSection = false; // the run made the section
};

struct LoggedIniFile {
  std::string path;     // as written to; empty when an older log does not say
  std::string backup;   // a backup the run created, full path
  bool newFile = false; // the run made the file
  std::string newDir;   // the outermost directory the run made for it
  std::string earlier;  // "SIZE DOSTIME CRC32" of the file before the run; empty when new or not logged
  std::vector<LoggedIniEntry> entries;
};

// A link of the program group: where it lies, what the run made it start and
// the link of that name that was there before.
struct LoggedLink {
  std::string path;
  std::optional<ShellLink> made;   // target and arguments; none in older logs
  std::optional<ShellLink> before; // none when there was none
  bool had = false;                // a file of that name was there (readable as a link or not)
};

struct LoggedRegistryEntry {
  int root = 0; // 1 classes root, 2 current user, 3 local machine
  std::string keyPath, data;
  std::optional<std::string> valueName; // none in older logs
  std::optional<std::string> before;
  std::string newKey; // the outermost key the run created; empty when none was
};

// A key or value of the medium's registry file, as the import was to change it.
struct LoggedImport {
  int root = 0; // 1 classes root, 2 current user, 3 local machine
  std::string keyPath, newKey;
  std::optional<std::string> valueName; // none for a key alone
  std::string kind, data;               // kind sz (data is the text), del or other
  bool had = false;                     // a value was there before
  std::optional<std::string> before;    // its text, when it was text
};

struct StartupFileChanges {
  std::vector<std::string> lines; // appended, in order
  std::string backup;             // a backup the run created, full path
  // Where the appended text begins (newer logs): it is cut back there when
  // what follows is that text, whole or in part.
  std::optional<std::int64_t> appendedAt;
};

struct UninstallRecords {
  std::string targetDir, newRoot, productName, readme;
  bool ask = false;
  bool complete = false; // [uninstall] complete: the run finished and removed its backups
  std::string groupName, groupFolder;
  bool groupFolderMade = true; // the run made the folder (older logs do not say: assumed)
  std::vector<LoggedLink> groupLinks;
  std::vector<LoggedFile> files, systemFiles;
  std::vector<std::string> directories, systemDirectories;
  std::vector<LoggedExtension> extensions;
  std::vector<LoggedIniFile> iniFiles;
  StartupFileChanges autoexec, configSys;
  bool removeRegistry = false;
  std::vector<LoggedRegistryEntry> registry;
  std::vector<LoggedImport> imports;
  std::map<int, std::string> texts; // l10, l11, l15, l55 to l61
  std::string text(int number) const;
};

// Reads the log; nullopt when there is no such file.
std::optional<UninstallRecords> readUninstallRecords(Platform& platform, const std::string& logPath);

// The numbers n of the keys prefix<n> of a section, ascending (prefix "f" finds f1, f12; not "files").
std::vector<std::int64_t> numbersOfKeys(const std::vector<std::string>& keys, std::string_view prefix);

} // namespace kalvora
