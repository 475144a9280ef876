#include "install/IniChanges.h"

#include "install/BackupName.h"
#include "install/FileIdentity.h"
#include "install/ScriptPaths.h"
#include "platform/Directories.h"
#include "platform/IniText.h"
#include "platform/Paths.h"
#include "script/SystemRootMarker.h"

namespace kalvora {

namespace {

constexpr int kIniFiles = 4;
constexpr int kEntries = 10;

// Stands for a key that is not there: no INI value holds control characters.
constexpr const char* kAbsent = "\x01\x02";

// The backup goes beside the INI file; a name that reaches elsewhere is refused,
// and one that is taken gives way to a free one, so no file is replaced. The
// backup is the run's own, for the uninstaller to remove; recorded before it is made.
bool backUp(RunContext& run, const std::string& section, const std::string& path, const std::string& backupName) {
  if (!isPlainFileName(backupName)) return run.fail(EUnsafeScriptPath(backupName));
  if (!run.platform.fileExists(path)) return true;
  const auto backup = freeBackupPath(run.platform, containingDirectory(path), backupName);
  if (!backup) {
    run.TextLog.line("warning", "no free name for a backup of " + path);
    return true;
  }
  if (!run.log(section, "bkpfile", *backup)) return false;
  // A failed copy reports nothing, as the platform's copies never do here.
  run.platform.copyFile(path, *backup);
  return true;
}

// A second run over the same log that finds the entry as the first run left it
// keeps the first run's records of what was there before.
bool loggedBefore(const RunContext& run, const std::string& section, int j, const std::string& s, const std::string& k,
                  const std::string& v) {
  const IniSnapshot log(run.Log.text());
  return log.read(section, numberedKey("s", j), kAbsent) == s && log.read(section, numberedKey("k", j), kAbsent) == k &&
         log.read(section, numberedKey("v", j), kAbsent) == v;
}

// What the entry and its section were before, recorded before the write: the
// uninstaller puts back an entry that was there (equal or not) and takes away
// a section the run made once it is empty.
bool logBefore(RunContext& run, const std::string& section, const std::string& file, int j, const std::string& s,
               const std::string& k, const std::string& v) {
  const std::string previous = run.platform.readProfileString(file, s, k, kAbsent);
  if (previous == v && loggedBefore(run, section, j, s, k, v)) return true;
  const bool had = previous != kAbsent;
  if (!run.logBool(section, numberedKey("had", j), had) || (had && !run.log(section, numberedKey("o", j), previous)))
    return false;
  const auto text = run.platform.readFileText(file);
  return run.logBool(section, numberedKey("newsec", j), !text || !iniHasSection(*text, s));
}

bool writeEntries(RunContext& run, const std::string& section, const std::string& path, const std::string& file) {
  const SetupScript& script = run.script();
  for (int j = 0; j < kEntries; ++j) {
    const std::string s = script.ReadString(section, numberedKey("s", j), "");
    if (s.empty()) continue;
    const std::string k = script.ReadString(section, numberedKey("k", j), "");
    const std::string v = script.ReadString(section, numberedKey("v", j), "");
    // The entry's records reach the disk together, once, before the write.
    static_cast<void>(run.Log.hold(true)); // holding writes nothing
    if (!logBefore(run, section, file, j, s, k, v) || !run.log(section, numberedKey("s", j), s) ||
        !run.log(section, numberedKey("k", j), k) || !run.log(section, numberedKey("v", j), v) ||
        !run.succeeded(run.Log.hold(false)))
      return false;
    run.TextLog.line("ini", path + " [" + s + "] " + k + "=" + v);
    if (!run.platform.writeProfileString(path, s, k, v)) return run.fail(EIniFileException(file));
  }
  return true;
}

// Whether the run makes the file; a second run over the same log keeps the first run's mark.
bool logNewFile(RunContext& run, const std::string& section, const std::string& file) {
  const bool isNew = !run.platform.fileExists(file);
  if (!isNew && iniRead(run.Log.text(), section, "newfile", "") == "1") return true;
  return run.logBool(section, "newfile", isNew);
}

// What the file was before the run changed it ("SIZE DOSTIME CRC32"): the
// uninstaller gives it its time back once it holds those bytes again. A second
// run over the same log keeps the first run's record.
bool logEarlierIdentity(RunContext& run, const std::string& section, const std::string& file) {
  if (!iniRead(run.Log.text(), section, "was", "").empty()) return true;
  const std::optional<std::string> identity = fileIdentity(run.platform, file);
  return !identity || run.log(section, "was", *identity);
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
    // The outermost one made is recorded first, for the uninstaller to remove when empty.
    const std::string dir = containingDirectory(withoutDotParts(path));
    const std::vector<std::string> missing = missingDirectories(run.platform, dir);
    if (!missing.empty() && !run.log(section, "newdir", missing.front())) return false;
    createDirectories(run.platform, dir);
    if (!holdsSystemRoot(name) && !run.log(section, "name", name)) return false;
    // A name without a directory is a file of the Windows directory, as the INI functions take it.
    const bool bare = path.find_first_of("\\/:") == std::string::npos;
    const std::string file = bare ? run.WindowsDir + "\\" + path : path;
    if (!run.log(section, "path", file) || !logNewFile(run, section, file) || !logEarlierIdentity(run, section, file))
      return false;
    const std::string backupName = holdsSystemRoot(name) ? script.ReadString(section, "bkp", "") : "";
    if (!backupName.empty() && !backUp(run, section, path, backupName)) return false;
    if (!writeEntries(run, section, path, file)) return false;
  }
  return true;
}

} // namespace kalvora
