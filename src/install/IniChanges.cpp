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
void backUp(RunContext& run, const std::string& section, const std::string& path, const std::string& backupName) {
  if (!isPlainFileName(backupName)) throw EUnsafeScriptPath(backupName);
  const std::string dir = containingDirectory(path);
  const std::string backup = (dir.empty() ? dir : dir + "\\") + backupName;
  if (run.platform.fileExists(path) && !run.platform.fileExists(backup)) run.Log.write(section, "bkpfile", backup);
  run.platform.copyFile(path, backup);
}

void writeEntries(RunContext& run, const std::string& section, const std::string& path) {
  const SetupScript& script = run.script();
  for (int j = 0; j < kEntries; ++j) {
    const std::string s = script.ReadString(section, numberedKey("s", j), "");
    if (s.empty()) continue;
    const std::string k = script.ReadString(section, numberedKey("k", j), "");
    const std::string v = script.ReadString(section, numberedKey("v", j), "");
    // The value the entry had, for the uninstaller to put back; one that already
    // holds v (a second run) leaves the first run's record.
    const std::string previous = run.platform.readProfileString(path, s, k, kAbsent);
    if (previous != kAbsent && previous != v) run.Log.write(section, numberedKey("o", j), previous);
    run.TextLog.line("ini", path + " [" + s + "] " + k + "=" + v);
    // A refused write is not reported, as the platform's INI writes never are here.
    run.platform.writeProfileString(path, s, k, v);
    run.Log.write(section, numberedKey("s", j), s);
    run.Log.write(section, numberedKey("k", j), k);
    run.Log.write(section, numberedKey("v", j), v);
  }
}

} // namespace

std::string iniFilePath(const std::string& name, const std::string& windowsDir) {
  if (!holdsSystemRoot(name)) return name;
  return windowsDir + belowSystemRoot(name, kKeptForIni);
}

void iniChanges(RunContext& run) {
  const SetupScript& script = run.script();
  for (int i = 1; i <= kIniFiles; ++i) {
    const std::string section = numberedKey("ini_", i);
    const std::string name = script.ReadString(section, "name", "");
    if (name.empty()) continue;
    const std::string path = iniFilePath(name, run.WindowsDir);
    // The directory as Windows finds it: a ".." in the name makes no directory on the way.
    createDirectories(run.platform, containingDirectory(withoutDotParts(path)));
    if (!holdsSystemRoot(name)) run.Log.write(section, "name", name);
    // A name without a directory is a file of the Windows directory, as the INI functions take it.
    const bool bare = path.find_first_of("\\/:") == std::string::npos;
    run.Log.write(section, "path", bare ? run.WindowsDir + "\\" + path : path);
    const std::string backupName = holdsSystemRoot(name) ? script.ReadString(section, "bkp", "") : "";
    if (!backupName.empty()) backUp(run, section, path, backupName);
    writeEntries(run, section, path);
  }
}

} // namespace kalvora
