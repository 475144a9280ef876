#include "install/IniChanges.h"

#include "install/ScriptPaths.h"
#include "platform/Directories.h"
#include "platform/Paths.h"
#include "script/SystemRootMarker.h"

namespace kalvora {

namespace {

constexpr int kIniFiles = 4;
constexpr int kEntries = 10;

// Stands for a key that is not there: no INI value holds control characters.
constexpr const char* kAbsent = "\x01\x02";

// The backup goes beside the INI file; a name that reaches elsewhere is refused.
// A backup made where none was is the run's own, for the uninstaller to remove.
bool backUp(RunContext& run, const std::string& section, const std::string& path, const std::string& backupName) {
  if (!isPlainFileName(backupName)) return run.fail(EUnsafeScriptPath(backupName));
  const std::string dir = containingDirectory(path);
  const std::string backup = (dir.empty() ? dir : dir + "\\") + backupName;
  if (run.platform.fileExists(path) && !run.platform.fileExists(backup) && !run.log(section, "bkpfile", backup))
    return false;
  run.platform.copyFile(path, backup);
  return true;
}

bool writeEntries(RunContext& run, const std::string& section, const std::string& path) {
  const SetupScript& script = run.script();
  for (int j = 0; j < kEntries; ++j) {
    const std::string s = script.ReadString(section, numberedKey("s", j), "");
    if (s.empty()) continue;
    const std::string k = script.ReadString(section, numberedKey("k", j), "");
    const std::string v = script.ReadString(section, numberedKey("v", j), "");
    // The value the entry had, for the uninstaller to put back; one that already
    // holds v (a second run) leaves the first run's record.
    const std::string previous = run.platform.readProfileString(path, s, k, kAbsent);
    if (previous != kAbsent && previous != v && !run.log(section, numberedKey("o", j), previous)) return false;
    run.TextLog.line("ini", path + " [" + s + "] " + k + "=" + v);
    // A refused write is not reported, as the platform's INI writes never are here.
    run.platform.writeProfileString(path, s, k, v);
    if (!run.log(section, numberedKey("s", j), s) || !run.log(section, numberedKey("k", j), k) ||
        !run.log(section, numberedKey("v", j), v))
      return false;
  }
  return true;
}

} // namespace

std::string iniFilePath(const std::string& name, const std::string& windowsDir) {
  if (!holdsSystemRoot(name)) return name;
  return windowsDir + belowSystemRoot(name, kKeptForIni);
}

bool iniChanges(RunContext& run) {
  const SetupScript& script = run.script();
  for (int i = 1; i <= kIniFiles; ++i) {
    const std::string section = numberedKey("ini_", i);
    const std::string name = script.ReadString(section, "name", "");
    if (name.empty()) continue;
    const std::string path = iniFilePath(name, run.WindowsDir);
    // The directory as Windows finds it: a ".." in the name makes no directory on the way.
    createDirectories(run.platform, containingDirectory(withoutDotParts(path)));
    if (!holdsSystemRoot(name) && !run.log(section, "name", name)) return false;
    // A name without a directory is a file of the Windows directory, as the INI functions take it.
    const bool bare = path.find_first_of("\\/:") == std::string::npos;
    if (!run.log(section, "path", bare ? run.WindowsDir + "\\" + path : path)) return false;
    const std::string backupName = holdsSystemRoot(name) ? script.ReadString(section, "bkp", "") : "";
    if (!backupName.empty() && !backUp(run, section, path, backupName)) return false;
    if (!writeEntries(run, section, path)) return false;
  }
  return true;
}

} // namespace kalvora
