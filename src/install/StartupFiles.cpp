#include "install/StartupFiles.h"

#include <algorithm>

#include "install/BackupName.h"
#include "install/ScriptPaths.h"

namespace kalvora {

namespace {

constexpr const char* kAutoexec = "C:\\autoexec.bat";
constexpr const char* kConfigSys = "C:\\config.sys";
constexpr std::int64_t kEofSearch = 128;
constexpr char kDosEof = 0x1A;

// Where appending starts: the first end-of-file mark among the last 128 bytes, else the end.
Result<std::int64_t> appendPosition(Stream& file) {
  const std::int64_t size = file.size();
  if (size < 0) return EInOutError(5);
  const std::int64_t start = std::max<std::int64_t>(0, size - kEofSearch);
  std::string tail(static_cast<std::size_t>(size - start), '\0');
  file.seek(start);
  if (file.read(tail.data(), tail.size()) != tail.size()) return EInOutError(100); // read error
  const auto mark = tail.find(kDosEof);
  return mark == std::string::npos ? size : start + static_cast<std::int64_t>(mark);
}

// A backup name stands for a file in C:\; it must not reach elsewhere nor
// replace either start-up file.
Status requireBackupName(const std::string& name) {
  if (!isDosBackupName(name)) return EUnsafeScriptPath(name);
  return {};
}

std::vector<std::string> dosLines(const SetupScript& script, const char* prefix) {
  std::vector<std::string> lines;
  for (int j = 1; j <= 5; ++j)
    lines.push_back(script.ReadString("dos", numberedKey(prefix, j), ""));
  return lines;
}

} // namespace

Status appendStartupLines(Platform& platform, const std::string& path, const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines)
    if (!line.empty()) text += "\r\n" + line + "\r\n";
  // Nothing to add: the file is not even opened, so a read-only one stays harmless.
  if (text.empty() || !platform.fileExists(path)) return {};
  auto file = platform.openFile(path, OpenMode::ReadWrite);
  if (!file) return EInOutError(5);
  const Result<std::int64_t> at = appendPosition(*file);
  if (!at.ok()) return at.error();
  file->seek(at.value());
  if (at.value() < file->size() && !file->truncate()) return EInOutError(5);
  if (file->write(text.data(), text.size()) != text.size()) return EInOutError(101); // the disk is full
  return {};
}

namespace {

// The backup is the run's own, for the uninstaller to remove; a name that is
// taken gives way to a free one, so that no file is replaced. Recorded before it is made.
bool backUp(RunContext& run, const std::string& source, const std::string& name, const char* record) {
  // A missing start-up file simply yields no backup.
  if (!run.platform.fileExists(source)) return true;
  const auto backup = freeBackupPath(run.platform, "C:", name);
  if (!backup) {
    run.TextLog.line("warning", "no free name for a backup of " + source);
    return true;
  }
  if (!run.log("dos", record, *backup)) return false;
  // The copy is not examined, as the platform's copies never are here.
  run.platform.copyFile(source, *backup);
  return true;
}

// Each line is recorded before it is appended, under the script's key, and so
// is where the appended text begins: the uninstaller cuts the file back there
// whether the text was written whole, in part or not at all.
bool appendRecorded(RunContext& run, const std::string& path, const char* prefix) {
  const std::vector<std::string> lines = dosLines(run.script(), prefix);
  const bool anyLine = std::any_of(lines.begin(), lines.end(), [](const std::string& l) { return !l.empty(); });
  if (anyLine && run.platform.fileExists(path)) {
    if (auto file = run.platform.openFile(path, OpenMode::ReadShared)) {
      const Result<std::int64_t> at = appendPosition(*file);
      if (at.ok() && !run.logInteger("dos", std::string("pos") + prefix, at.value())) return false;
    }
    for (std::size_t j = 0; j < lines.size(); ++j) {
      if (lines[j].empty()) continue;
      if (!run.log("dos", numberedKey(prefix, static_cast<std::int64_t>(j + 1)), lines[j])) return false;
      run.TextLog.line("dos", fileNamePart(path) + ": " + lines[j]);
    }
  }
  return run.succeeded(appendStartupLines(run.platform, path, lines));
}

} // namespace

bool startupFileChanges(RunContext& run) {
  const SetupScript& script = run.script();
  const std::string backupA = script.ReadString("dos", "bkp_a", "");
  const std::string backupC = script.ReadString("dos", "bkp_c", "");
  if (!backupA.empty() && !run.succeeded(requireBackupName(backupA))) return false;
  if (!backupC.empty() && !run.succeeded(requireBackupName(backupC))) return false;
  if (!backupA.empty() && !backUp(run, kAutoexec, backupA, "bkpa")) return false;
  if (!backupC.empty() && !backUp(run, kConfigSys, backupC, "bkpc")) return false;
  return appendRecorded(run, kAutoexec, "a") && appendRecorded(run, kConfigSys, "c");
}

} // namespace kalvora
