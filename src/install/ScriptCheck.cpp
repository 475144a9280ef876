#include "install/ScriptCheck.h"

#include <algorithm>
#include <cctype>

#include "install/ScriptPaths.h"
#include "script/SystemRootMarker.h"

namespace kalvora {
namespace {

constexpr std::size_t kMaxPath = 259;    // MAX_PATH less its terminating zero
constexpr std::int32_t kMaxCount = 9999; // more entries than any script file can hold
constexpr const char* kAbsent = "\x01";  // no script value holds control characters

std::string entry(const std::string& section, const std::string& key, const std::string& value) {
  return "[" + section + "] " + key + "=" + value;
}

Status requireLength(const std::string& path) {
  if (path.size() <= kMaxPath) return {};
  return EInvalidScriptValue("Pfad länger als " + std::to_string(kMaxPath) + " Zeichen: " + path.substr(0, 80) + "...");
}

Status requireCount(const SetupScript& script, const std::string& section, const std::string& key) {
  const std::int32_t count = script.ReadInteger(section, key, 0);
  if (count > kMaxCount) return EInvalidScriptValue(entry(section, key, std::to_string(count)));
  return {};
}

// A directory value: below the target, or, after a leading marker, below the
// Windows directory (cut as the stages cut it). Its full path.
Result<std::string> checkedDirectory(const std::string& where, const std::string& value, const std::string& targetDir,
                                     const std::string& windowsDir) {
  if (startsWithSystemRoot(value)) {
    const std::string below = belowSystemRoot(value, kKeptForFiles);
    if (below.find('%') != std::string::npos || !isPlainDirectoryValue(below)) return EUnsafeScriptPath(value);
    return windowsDir + below;
  }
  // "%" elsewhere would put the directory outside the Windows directory, or nowhere.
  if (value.find('%') != std::string::npos) return EInvalidScriptValue(where + "=" + value);
  if (!isPlainDirectoryValue(value)) return EUnsafeScriptPath(value);
  return targetDir + value;
}

Status checkDirectoryRows(const SetupScript& script, const InstallState& state, const std::string& windowsDir) {
  const std::int32_t rows = script.ReadInteger("directories", "total", 2);
  for (std::int32_t row = 1; row <= rows; ++row)
    for (int option = 1; option <= kOptionCount; ++option) {
      if (!state.Choices.OptionChosen[static_cast<std::size_t>(option - 1)]) continue;
      const std::string key = numberedKey(numberedKey("d", option) + "_", row);
      const std::string value = script.ReadString("directories", key, kAbsent);
      if (value == kAbsent) continue;
      const Result<std::string> dir = checkedDirectory(key, value, state.Choices.TargetDir, windowsDir);
      if (!dir.ok()) return dir.error();
      if (Status length = requireLength(dir.value()); !length.ok()) return length;
    }
  return {};
}

bool isVolumeNumber(const std::string& text) {
  return !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos;
}

Status checkFiles(const SetupScript& script, const InstallState& state, const std::string& windowsDir) {
  for (int option = 1; option <= kOptionCount; ++option) {
    if (!state.Choices.OptionChosen[static_cast<std::size_t>(option - 1)]) continue;
    const std::string section = numberedKey("Option_", option);
    for (std::int64_t j = 1;; ++j) {
      const std::string key = numberedKey("f", j);
      const std::string name = script.ReadString(section, key, "[leer]");
      if (name == "[leer]") break;
      if (!isPlainFileName(name)) return EInvalidScriptValue(entry(section, key, name));
      const std::int32_t directory = script.ReadInteger(section, numberedKey("d", j), 0);
      const std::string dirKey = numberedKey(numberedKey("d", option) + "_", directory);
      const Result<std::string> dir = directory == 0
                                          ? Result<std::string>(state.Choices.TargetDir + "\\")
                                          : checkedDirectory(dirKey, script.ReadString("directories", dirKey, "[]"),
                                                             state.Choices.TargetDir, windowsDir);
      if (!dir.ok()) return dir.error();
      if (Status length = requireLength(dir.value() + name); !length.ok()) return length;
      const std::string volume = script.ReadString(section, numberedKey("s", j), "01");
      if (!isVolumeNumber(volume)) return EInvalidScriptValue(entry(section, numberedKey("s", j), volume));
      for (const char* chunkKey : {"p", "z"}) {
        const std::int32_t value = script.ReadInteger(section, numberedKey(chunkKey, j), 0);
        if (value < 0) return EInvalidScriptValue(entry(section, numberedKey(chunkKey, j), std::to_string(value)));
      }
    }
  }
  return {};
}

Status checkReadme(const SetupScript& script, const std::string& targetDir) {
  const std::string dir = script.ReadString("software", "readmedir", "");
  const std::string name = script.ReadString("software", "readme", "");
  if (!dir.empty() && !isPlainDirectoryValue(dir)) return EUnsafeScriptPath(dir);
  if (!name.empty() && !isPlainFileName(name)) return EInvalidScriptValue(entry("software", "readme", name));
  return requireLength(targetDir + dir + "\\" + name);
}

// An INI file the script may name anywhere, but as a path Windows can open:
// a drive only at its start, and no part that is a device or holds a wildcard.
bool isWindowsPath(const std::string& name) {
  const bool drive = name.size() >= 2 && name[1] == ':' && std::isalpha(static_cast<unsigned char>(name[0]));
  const std::string rest = drive ? name.substr(2) : name;
  std::size_t begin = 0;
  while (begin <= rest.size()) {
    const std::size_t end = std::min(rest.find_first_of("\\/", begin), rest.size());
    const std::string part = rest.substr(begin, end - begin);
    if (!part.empty() && part != "." && part != ".." && !isPlainFileName(part)) return false;
    begin = end + 1;
  }
  return isPlainFileName(fileNamePart(name));
}

Status checkIniFiles(const SetupScript& script, const std::string& windowsDir) {
  for (int i = 1; i <= 4; ++i) {
    const std::string section = numberedKey("ini_", i);
    const std::string name = script.ReadString(section, "name", "");
    if (name.empty()) continue;
    if (!holdsSystemRoot(name)) {
      if (!isWindowsPath(name)) return EInvalidScriptValue(entry(section, "name", name));
      if (Status length = requireLength(name); !length.ok()) return length;
      continue;
    }
    // Below the Windows directory, as the marker promises: at the start, followed by a path.
    const std::string below = startsWithSystemRoot(name) ? belowSystemRoot(name, kKeptForIni) : "";
    if (below.find('%') != std::string::npos || !isPlainDirectoryValue(below)) return EUnsafeScriptPath(name);
    if (Status length = requireLength(windowsDir + below); !length.ok()) return length;
    const std::string backup = script.ReadString(section, "bkp", "");
    if (!backup.empty() && !isPlainFileName(backup)) return EInvalidScriptValue(entry(section, "bkp", backup));
  }
  return {};
}

Status checkStartupBackups(const SetupScript& script) {
  for (const char* key : {"bkp_a", "bkp_c"}) {
    const std::string name = script.ReadString("dos", key, "");
    if (!name.empty() && !isDosBackupName(name)) return EUnsafeScriptPath(name);
  }
  return {};
}

} // namespace

Status checkScriptBeforeRun(const SetupScript& script, const InstallState& state, const std::string& windowsDir) {
  for (const char* section : {"directories", "extensions", "sysreg", "prggrp", "prggrp_run"})
    if (Status count = requireCount(script, section, "total"); !count.ok()) return count;
  if (Status readme = checkReadme(script, state.Choices.TargetDir); !readme.ok()) return readme;
  if (!state.Choices.RunFromMedium) {
    if (Status rows = checkDirectoryRows(script, state, windowsDir); !rows.ok()) return rows;
    if (Status files = checkFiles(script, state, windowsDir); !files.ok()) return files;
  }
  if (Status ini = checkIniFiles(script, windowsDir); !ini.ok()) return ini;
  return checkStartupBackups(script);
}

} // namespace kalvora
