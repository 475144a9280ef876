#include "install/FileStage.h"

#include <optional>

#include "install/ChunkCopy.h"
#include "install/DecodeAhead.h"
#include "install/ScriptPaths.h"
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
void createSystemRootDirectories(RunContext& run, const std::string& target) {
  for (const std::string& dir : missingDirectories(run.platform, containingDirectory(target))) {
    ++run.SystemRootDirectoryCount;
    run.Log.write("systemroot", numberedKey("d", run.SystemRootDirectoryCount), dir);
    run.Log.writeInteger("systemroot", "dtotal", run.SystemRootDirectoryCount);
    run.TextLog.line("dir", dir);
    run.Log.flush();
    run.platform.createDirectory(dir);
  }
}

// Where the file goes; counts it (logging the total) and makes its directories
// below the Windows directory. The caller logs the file itself.
Target targetOf(RunContext& run, const FileEntry& file) {
  const SetupScript& script = run.script();
  const std::int32_t directory = script.ReadInteger(file.section, numberedKey("d", file.index), 0);
  ++run.FileCount;
  run.Log.writeInteger("files", "total", run.FileCount);
  if (directory == 0) {
    requireBelowRoot("\\" + file.name);
    return {run.state.Choices.TargetDir + "\\" + file.name, "files", run.FileCount, "\\" + file.name};
  }
  const std::string key = numberedKey(numberedKey("d", file.option) + "_", directory);
  const std::string value = script.ReadString("directories", key, "[]");
  if (holdsSystemRoot(value)) {
    ++run.SystemRootCount;
    const std::string below = belowSystemRoot(value, kKeptForFiles);
    requireBelowRoot(below + file.name);
    const std::string target = run.WindowsDir + below + file.name;
    createSystemRootDirectories(run, target);
    return {target, "systemroot", run.SystemRootCount, target};
  }
  requireBelowRoot(value + file.name);
  return {run.state.Choices.TargetDir + value + file.name, "files", run.FileCount,
          script.ReadString("directories", key, "\\") + file.name};
}

Chunk chunkOf(const SetupScript& script, const FileEntry& file) {
  Chunk chunk;
  chunk.volumeText = script.ReadString(file.section, numberedKey("s", file.index), "01");
  chunk.volumeNumber = script.ReadInteger(file.section, numberedKey("s", file.index), 0);
  chunk.offset = script.ReadInteger(file.section, numberedKey("p", file.index), 0);
  chunk.size = script.ReadInteger(file.section, numberedKey("z", file.index), 1);
  return chunk;
}

// Calls place for every file entry of the chosen options, in order, and stop
// after each entry and at the end of each option's list.
template <typename Place, typename Stop> void forEachFile(RunContext& run, Place&& place, Stop&& stop) {
  for (int option = 1; option <= kOptionCount; ++option) {
    if (!run.state.Choices.OptionChosen[static_cast<std::size_t>(option - 1)]) continue;
    FileEntry file;
    file.section = numberedKey("Option_", option);
    file.option = option;
    for (file.index = 1;; ++file.index) {
      file.name = run.script().ReadString(file.section, numberedKey("f", file.index), "[leer]");
      const bool listEnded = file.name == "[leer]";
      if (!listEnded) place(file);
      stop();
      if (listEnded) break;
    }
  }
}

// What the file stage will expand, for the decode-ahead.
std::vector<PlannedFile> plannedFiles(RunContext& run) {
  std::vector<PlannedFile> files;
  forEachFile(
      run,
      [&](const FileEntry& file) {
        files.push_back({fileNamePart(file.name), chunkOf(run.script(), file)});
      },
      [] {});
  return files;
}

// The replace test for a file already present.
bool shouldWrite(RunContext& run, const std::string& target) {
  if (!run.platform.fileExists(target)) return true;
  switch (run.script().ReadInteger("vercheck", "files", 0)) {
  case 1: return true;
  case 0: return run.state.Setup.NewVersion >= run.state.Setup.InstalledVersion;
  default: return false;
  }
}

void placeFile(RunContext& run, const FileEntry& file) {
  run.view.setItemLabel(run.text(14) + " " + file.name);
  const Target placed = targetOf(run, file);
  const std::string& target = placed.path;
  const bool write = shouldWrite(run, target);
  // The uninstaller leaves a file that was there before and that the run did
  // not touch; its mark goes first, so that no log names such a file without it.
  if (!write) run.Log.write(placed.section, numberedKey("kept", placed.number), "1");
  run.Log.write(placed.section, numberedKey("f", placed.number), placed.record);
  if (!write) {
    run.TextLog.line("kept", target);
    return;
  }
  run.TextLog.line("file", target);

  const Chunk chunk = chunkOf(run.script(), file);
  run.CurrentTarget = target;
  run.Log.flush(); // every file is recorded on disk before its data are written
  const bool compressed = run.state.Setup.CompressionMode == 1;
  copyChunk(run, chunk, compressed ? run.CompressTmpPath : target);
  // A member the component could not write would leave the product incomplete
  // without a word: that is reported like a target that cannot be created.
  if (compressed && run.expandStaged(fileNamePart(run.CurrentTarget)).empty()) throw EFCreateError(target);
}

void placeFiles(RunContext& run) {
  // The chunks of a compressed medium are expanded ahead where the platform
  // gives a second thread; leaving the stage stops that.
  std::optional<DecodeAhead> ahead;
  if (run.state.Setup.CompressionMode == 1)
    ahead.emplace(run.platform, run.C, run.state.Setup.SourceDir, plannedFiles(run), run.ExpandedAhead);
  std::size_t placed = 0;
  run.ContinuationCount = 0;
  forEachFile(
      run,
      [&](const FileEntry& file) {
        if (ahead) ahead->reach(placed++);
        placeFile(run, file);
      },
      [&] {
        run.checkForStop();
        run.ContinuationCount = 0;
      });
}

} // namespace

void logFileTotals(RunContext& run) {
  run.Log.writeInteger("files", "total", run.FileCount);
  run.Log.writeInteger("systemroot", "total", run.SystemRootCount);
}

void fileStage(RunContext& run) {
  run.view.setItemLabel(run.text(14));
  if (run.script().ReadInteger("software", "medium", -1) == -1) return;
  run.FileCount = 0;
  run.BytesDone = 0;
  const VolumeRelease release(run.HeldVolume); // closed before the stage leaves, also at a stop
  // The files' records stay in memory between the flushes at the points where
  // the run may stop and before each file's data.
  run.Log.hold(true);
  // A stop or an error in a block copy, at a volume prompt or between files
  // leaves both totals current.
  leavingWithTotals([&run] { placeFiles(run); },
                    [&run] {
                      run.Log.hold(false);
                      logFileTotals(run);
                    });
  run.Log.hold(false);
  run.setItemProgress(100);
}

} // namespace kalvora
