#include "install/FileStage.h"

#include <optional>

#include "install/ChunkCopy.h"
#include "install/DecodeAhead.h"
#include "install/FileBackup.h"
#include "install/FileIdentity.h"
#include "install/ScriptPaths.h"
#include "install/SharedFiles.h"
#include "platform/Directories.h"
#include "script/SystemRootMarker.h"

namespace kalvora {
namespace {

struct FileEntry {
  std::string section; // "Option_k"
  int option = 0;
  std::int64_t index = 0;
  std::string name;
};

// Where a file goes, its number in the log's section and the value it is logged with.
struct Target {
  std::string path;
  const char* section = "files"; // or "systemroot"
  std::int64_t number = 0;
  std::string record;
};

// Makes the missing directories of a file below the Windows directory, each
// recorded (outermost first) before it is made.
bool createSystemRootDirectories(RunContext& run, const std::string& target) {
  for (const std::string& dir : missingDirectories(run.platform, containingDirectory(target))) {
    ++run.SystemRootDirectoryCount;
    if (!run.log("systemroot", numberedKey("d", run.SystemRootDirectoryCount), dir) ||
        !run.logInteger("systemroot", "dtotal", run.SystemRootDirectoryCount))
      return false;
    run.TextLog.line("dir", dir);
    if (!run.flushLog()) return false;
    run.platform.createDirectory(dir);
  }
  return true;
}

// Where the file goes; counts it (logging the total) and makes its directories
// below the Windows directory. The caller logs the file itself. Nothing when
// the run is to leave.
std::optional<Target> targetOf(RunContext& run, const FileEntry& file) {
  const SetupScript& script = run.script();
  const std::int32_t directory = script.ReadInteger(file.section, numberedKey("d", file.index), 0);
  ++run.FileCount;
  if (!run.logInteger("files", "total", run.FileCount)) return std::nullopt;
  if (directory == 0) {
    if (!run.succeeded(requireBelowRoot("\\" + file.name))) return std::nullopt;
    return Target{run.state.Choices.TargetDir + "\\" + file.name, "files", run.FileCount, "\\" + file.name};
  }
  const std::string key = numberedKey(numberedKey("d", file.option) + "_", directory);
  const std::string value = script.ReadString("directories", key, "[]");
  if (holdsSystemRoot(value)) {
    ++run.SystemRootCount;
    const std::string below = belowSystemRoot(value, kKeptForFiles);
    if (!run.succeeded(requireBelowRoot(below + file.name))) return std::nullopt;
    const std::string target = run.WindowsDir + below + file.name;
    if (!createSystemRootDirectories(run, target)) return std::nullopt;
    return Target{target, "systemroot", run.SystemRootCount, target};
  }
  if (!run.succeeded(requireBelowRoot(value + file.name))) return std::nullopt;
  return Target{run.state.Choices.TargetDir + value + file.name, "files", run.FileCount,
                script.ReadString("directories", key, "\\") + file.name};
}

// Eight hex digits; anything else is no checksum (older media have none).
std::optional<std::uint32_t> checksumValue(const std::string& text) {
  if (text.size() != 8 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return std::nullopt;
  return static_cast<std::uint32_t>(std::stoul(text, nullptr, 16));
}

Chunk chunkOf(const SetupScript& script, const FileEntry& file) {
  Chunk chunk;
  chunk.volumeText = script.ReadString(file.section, numberedKey("s", file.index), "01");
  chunk.volumeNumber = script.ReadInteger(file.section, numberedKey("s", file.index), 0);
  chunk.offset = script.ReadInteger(file.section, numberedKey("p", file.index), 0);
  chunk.size = script.ReadInteger(file.section, numberedKey("z", file.index), 1);
  chunk.checksum = checksumValue(script.ReadString(file.section, numberedKey("c", file.index), ""));
  return chunk;
}

// Calls place for every file entry of the chosen options, in order, and goesOn
// after each entry and at the end of each option's list; false as soon as one
// of them is.
template <typename Place, typename GoesOn> bool forEachFile(RunContext& run, Place&& place, GoesOn&& goesOn) {
  for (int option = 1; option <= kOptionCount; ++option) {
    if (!run.state.Choices.OptionChosen[static_cast<std::size_t>(option - 1)]) continue;
    FileEntry file;
    file.section = numberedKey("Option_", option);
    file.option = option;
    for (file.index = 1;; ++file.index) {
      file.name = run.script().ReadString(file.section, numberedKey("f", file.index), "[leer]");
      const bool listEnded = file.name == "[leer]";
      if (!listEnded && !place(file)) return false;
      if (!goesOn()) return false;
      if (listEnded) break;
    }
  }
  return true;
}

// What the file stage will expand, for the decode-ahead.
std::vector<PlannedFile> plannedFiles(RunContext& run) {
  std::vector<PlannedFile> files;
  static_cast<void>(forEachFile(
      run,
      [&](const FileEntry& file) {
        files.push_back({fileNamePart(file.name), chunkOf(run.script(), file)});
        return true;
      },
      [] { return true; }));
  return files;
}

// The replace test: whether a file is written, given whether one is there.
bool shouldWrite(RunContext& run, bool exists) {
  if (!exists) return true;
  switch (run.script().ReadInteger("vercheck", "files", 0)) {
  case 1: return true;
  case 0: return run.state.Setup.NewVersion >= run.state.Setup.InstalledVersion;
  default: return false;
  }
}

// [section] id<n>: what the file is now that the run has written it. A file
// that cannot be read back gets none: the uninstaller then takes it as the
// run's whatever it holds, as it takes every file of older logs.
bool logIdentity(RunContext& run, const Target& placed) {
  const std::optional<std::string> id = fileIdentity(run.platform, placed.path);
  if (!id) {
    run.TextLog.line("unread", placed.path);
    return true;
  }
  return run.log(placed.section, numberedKey("id", placed.number), *id);
}

bool placeFile(RunContext& run, const FileEntry& file) {
  run.view.setItemLabel(run.text(14) + " " + file.name);
  const std::optional<Target> placed = targetOf(run, file);
  if (!placed) return false;
  const std::string& target = placed->path;
  const bool exists = run.platform.fileExists(target);
  const bool write = shouldWrite(run, exists);
  // The uninstaller leaves a file that was there before and that the run did
  // not touch; its mark goes first, so that no log names such a file without it.
  if (!write && !run.log(placed->section, numberedKey("kept", placed->number), "1")) return false;
  // A file the run replaces is named with the place of its original from the
  // first: until that is there, the rollback knows the file is still the user's.
  const std::string backup = backupPath(run.state.Choices.TargetDir, placed->section, placed->number);
  const bool replaces = write && exists && run.LogEnabled;
  if (replaces && !run.log(placed->section, numberedKey("bak", placed->number), backup)) return false;
  if (!run.log(placed->section, numberedKey("f", placed->number), placed->record)) return false;
  const bool shared = std::string_view(placed->section) == "systemroot";
  if (shared && !countSharedFileUp(run, placed->number, target, exists)) return false;
  if (!write) {
    run.TextLog.line("kept", target);
    return true;
  }
  run.TextLog.line("file", target);

  const Chunk chunk = chunkOf(run.script(), file);
  run.CurrentTarget = target;
  if (!run.flushLog()) return false; // every file is recorded on disk before its data are written
  const bool compressed = run.state.Setup.CompressionMode == 1;
  // The original is kept aside right before the target is opened for writing:
  // a stop before (at a volume prompt, while the chunk is staged) leaves it untouched.
  if (!compressed && replaces && !keepOriginal(run, target, backup)) return false;
  if (!copyChunk(run, chunk, compressed ? run.CompressTmpPath : target)) return false;
  if (compressed) {
    if (replaces && !keepOriginal(run, target, backup)) return false;
    const Result<std::string> written = run.expandStaged(fileNamePart(run.CurrentTarget));
    if (!written.ok()) return run.fail(written.error());
    // A member the component could not write would leave the product incomplete
    // without a word: that is reported like a target that cannot be created.
    if (written.value().empty()) return run.fail(EFCreateError(target));
  }
  return !run.LogEnabled || logIdentity(run, *placed);
}

bool placeFiles(RunContext& run) {
  // The chunks of a compressed medium are expanded ahead where the platform
  // gives a second thread; leaving the stage stops that.
  std::optional<DecodeAhead> ahead;
  if (run.state.Setup.CompressionMode == 1)
    ahead.emplace(run.platform, run.C, run.state.Setup.SourceDir, plannedFiles(run), run.ExpandedAhead);
  std::size_t placed = 0;
  run.ContinuationCount = 0;
  return forEachFile(
      run,
      [&](const FileEntry& file) {
        if (ahead) ahead->reach(placed++);
        return placeFile(run, file);
      },
      [&] {
        if (!run.goesOn()) return false;
        run.ContinuationCount = 0;
        return true;
      });
}

} // namespace

bool logFileTotals(RunContext& run) {
  return run.logInteger("files", "total", run.FileCount) && run.logInteger("systemroot", "total", run.SystemRootCount);
}

bool fileStage(RunContext& run) {
  run.view.setItemLabel(run.text(14));
  if (run.script().ReadInteger("software", "medium", -1) == -1) return true;
  run.FileCount = 0;
  run.BytesDone = 0;
  const VolumeRelease release(run.HeldVolume); // closed before the stage leaves, also at a stop
  // The files' records stay in memory between the flushes at the points where
  // the run may stop and before each file's data.
  static_cast<void>(run.Log.hold(true)); // holding writes nothing
  // A stop or an error in a block copy, at a volume prompt or between files
  // leaves both totals current.
  const bool placed = leavingWithTotals(
      run, [&run] { return placeFiles(run); },
      [&run] { return run.succeeded(run.Log.hold(false)) && logFileTotals(run); });
  if (!placed || !run.succeeded(run.Log.hold(false))) return false;
  run.setItemProgress(100);
  return true;
}

} // namespace kalvora
