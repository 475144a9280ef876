#include "install/FileStage.h"

#include <cctype>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "install/ChunkCopy.h"
#include "install/DecodeAhead.h"
#include "install/FileBackup.h"
#include "install/FileIdentity.h"
#include "install/ScriptPaths.h"
#include "install/SharedFiles.h"
#include "platform/Directories.h"
#include "platform/IniText.h"
#include "platform/NoCase.h"
#include "platform/NumberText.h"
#include "script/SystemRootMarker.h"

namespace kalvora {
namespace {

struct FileEntry {
  std::string section; // "Option_k"
  int option = 0;
  std::int64_t index = 0;
  std::string name; // empty: the end of an option's list
};

// Where a file goes, its number in the log's section and the value it is logged with.
struct Target {
  std::string path;
  const char* section = "files"; // or "systemroot"
  std::int64_t number = 0;
  std::string record;
};

// What the run will do with one file, all of it logged before the first file
// of its batch is touched.
struct Placement {
  FileEntry file;
  Target target;
  bool write = false, replaces = false;
  std::string backup;
  std::vector<std::string> newDirectories;  // below the Windows directory, outermost first
  std::optional<std::uint32_t> countBefore; // a shared file's count before the run counts it up
};

// What the files planned so far in a batch will have made, so that a later
// file of the batch is planned as the earlier ones leave the system.
struct BatchPlan {
  std::set<std::string> targets, directories; // upper case: Windows' names ignore case
  std::map<std::string, std::uint32_t> counts;
};

std::string upper(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// Logs the directories below the Windows directory that the file needs and
// that neither exist nor are planned by an earlier file of the batch.
bool planSystemRootDirectories(RunContext& run, BatchPlan& batch, Placement& placement) {
  for (const std::string& dir : missingDirectories(run.platform, containingDirectory(placement.target.path))) {
    if (!batch.directories.insert(upper(dir)).second) continue;
    ++run.SystemRootDirectoryCount;
    if (!run.log("systemroot", numberedKey("d", run.SystemRootDirectoryCount), dir) ||
        !run.logInteger("systemroot", "dtotal", run.SystemRootDirectoryCount))
      return false;
    placement.newDirectories.push_back(dir);
  }
  return true;
}

// Where the file goes; counts it (logging the total) and plans its directories
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
    return Target{target, "systemroot", run.SystemRootCount, target};
  }
  if (!run.succeeded(requireBelowRoot(value + file.name))) return std::nullopt;
  return Target{run.state.Choices.TargetDir + value + file.name, "files", run.FileCount,
                script.ReadString("directories", key, "\\") + file.name};
}

Chunk chunkOf(const SetupScript& script, const FileEntry& file) {
  Chunk chunk;
  chunk.volumeText = script.ReadString(file.section, numberedKey("s", file.index), "01");
  chunk.volumeNumber = script.ReadInteger(file.section, numberedKey("s", file.index), 0);
  chunk.offset = script.ReadInteger(file.section, numberedKey("p", file.index), 0);
  chunk.size = script.ReadInteger(file.section, numberedKey("z", file.index), 1);
  // Eight hex digits; anything else is no checksum (older media have none).
  chunk.checksum = hexValue8(script.ReadString(file.section, numberedKey("c", file.index), ""));
  return chunk;
}

// The file entries of the chosen options, in order, each option's list closed
// by an entry with no name.
std::vector<FileEntry> fileEntries(RunContext& run) {
  std::vector<FileEntry> entries;
  for (int option = 1; option <= kOptionCount; ++option) {
    if (!run.state.Choices.OptionChosen[static_cast<std::size_t>(option - 1)]) continue;
    FileEntry file;
    file.section = numberedKey("Option_", option);
    file.option = option;
    for (file.index = 1;; ++file.index) {
      file.name = run.script().ReadString(file.section, numberedKey("f", file.index), "[leer]");
      if (file.name == "[leer]") file.name.clear();
      entries.push_back(file);
      if (file.name.empty()) break;
    }
  }
  return entries;
}

// What the file stage will expand, for the decode-ahead.
std::vector<PlannedFile> plannedFiles(RunContext& run, const std::vector<FileEntry>& entries) {
  std::vector<PlannedFile> files;
  for (const FileEntry& file : entries)
    if (!file.name.empty()) files.push_back({fileNamePart(file.name), chunkOf(run.script(), file)});
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

// Logs every record of the file before anything is done to it; a file that an
// earlier file of the batch writes counts as there. Nothing when the run is to leave.
std::optional<Placement> planFile(RunContext& run, BatchPlan& batch, const FileEntry& file) {
  Placement placement;
  placement.file = file;
  const std::optional<Target> target = targetOf(run, file);
  if (!target) return std::nullopt;
  placement.target = *target;
  const Target& placed = placement.target;
  const bool shared = std::string_view(placed.section) == "systemroot";
  if (shared && !planSystemRootDirectories(run, batch, placement)) return std::nullopt;
  const std::string key = upper(placed.path);
  const bool exists = batch.targets.count(key) != 0 || run.platform.fileExists(placed.path);
  placement.write = shouldWrite(run, exists);
  // The uninstaller leaves a file that was there before and that the run did
  // not touch; its mark goes first, so that no log names such a file without it.
  if (!placement.write && !run.log(placed.section, numberedKey("kept", placed.number), "1")) return std::nullopt;
  // A file the run replaces is named with the place of its original from the
  // first: until that is there, the rollback knows the file is still the user's.
  placement.backup = backupPath(run.state.Choices.TargetDir, placed.section, placed.number);
  placement.replaces = placement.write && exists && run.LogEnabled;
  if (placement.replaces && !run.log(placed.section, numberedKey("bak", placed.number), placement.backup))
    return std::nullopt;
  // A run into the target of an earlier one takes over its log: a shared file
  // that installation counted already is not counted a second time, or its
  // one uninstall would leave the file counted for good.
  const bool countedBefore = shared && [&] {
    const std::string logged = run.Log.text();
    return sameNoCase(iniRead(logged, "systemroot", numberedKey("f", placed.number), ""), placed.path) &&
           !iniRead(logged, "systemroot", numberedKey("count", placed.number), "").empty();
  }();
  if (!run.log(placed.section, numberedKey("f", placed.number), placed.record)) return std::nullopt;
  // Without a log no uninstaller would ever count a shared file down.
  if (shared && run.LogEnabled && !countedBefore) {
    const auto counted = batch.counts.find(key);
    placement.countBefore = logSharedCount(run, placed.number,
                                           counted != batch.counts.end() ? std::optional(counted->second)
                                                                         : sharedCount(run.platform, placed.path),
                                           exists);
    if (!placement.countBefore) return std::nullopt;
    batch.counts[key] = *placement.countBefore + 1;
  }
  if (placement.write) batch.targets.insert(key);
  return placement;
}

// The id<n> records of the files placed since the last flush. They need not
// reach the disk at once (a file without one is the run's all the same), so
// they go into the log only with the next batch's records or when the
// placing ends, and a stop check between files writes nothing.
struct HeldIdentities {
  struct Record {
    const char* section;
    std::string key, value;
  };
  std::vector<Record> records;
  bool logAll(RunContext& run) {
    for (const Record& record : records)
      if (!run.log(record.section, record.key, record.value)) return false;
    records.clear();
    return true;
  }
};

// [section] id<n>: what the file is now that the run has written it. A file
// that cannot be read back gets none: the uninstaller then takes it as the
// run's whatever it holds, as it takes every file of older logs.
void holdIdentity(RunContext& run, const Target& placed, HeldIdentities& held, std::optional<WrittenContent> known) {
  const std::optional<std::string> id = fileIdentity(run.platform, placed.path, known);
  if (!id) {
    run.TextLog.line("unread", placed.path);
    return;
  }
  held.records.push_back({placed.section, numberedKey("id", placed.number), *id});
}

// What the run knows of the bytes it just wrote: a stored file's chunk
// checksum, checked as it was copied, or what the component's expansion wrote
// (taken for every file placed, so that none is left over for a later file).
std::optional<WrittenContent> knownContent(RunContext& run, const Chunk& chunk, bool compressed) {
  if (compressed) return run.C.TakeWrittenContent();
  if (!chunk.checksum) return std::nullopt;
  return WrittenContent{*chunk.checksum, chunk.size};
}

// Does what the file's records, already on disk, say.
bool placeFile(RunContext& run, const Placement& placement, HeldIdentities& held) {
  const FileEntry& file = placement.file;
  const std::string& target = placement.target.path;
  run.view.setItemLabel(run.text(14) + " " + file.name);
  for (const std::string& dir : placement.newDirectories) {
    run.TextLog.line("dir", dir);
    run.platform.createDirectory(dir);
  }
  if (placement.countBefore && !countSharedFileUp(run, target, *placement.countBefore)) return false;
  if (!placement.write) {
    run.TextLog.line("kept", target);
    return true;
  }
  run.TextLog.line("file", target);

  const Chunk chunk = chunkOf(run.script(), file);
  run.CurrentTarget = target;
  const bool compressed = run.state.Setup.CompressionMode == 1;
  // The original is kept aside right before the target is opened for writing:
  // a stop before (at a volume prompt, while the chunk is staged) leaves it untouched.
  if (!compressed && placement.replaces && !keepOriginal(run, target, placement.backup)) return false;
  if (!copyChunk(run, chunk, compressed ? run.CompressTmpPath : target)) return false;
  if (compressed) {
    if (placement.replaces && !keepOriginal(run, target, placement.backup)) return false;
    const Result<std::string> written = run.expandStaged(fileNamePart(run.CurrentTarget));
    if (!written.ok()) return run.fail(written.error());
    // A member the component could not write would leave the product incomplete
    // without a word: that is reported like a target that cannot be created.
    if (written.value().empty()) return run.fail(EFCreateError(target));
  }
  if (run.LogEnabled) holdIdentity(run, placement.target, held, knownContent(run, chunk, compressed));
  return true;
}

// Files logged ahead and put on disk with one flush of the log: a flush costs
// a write-through of the whole log, far more than a small file.
constexpr std::size_t kBatchFiles = 256;

bool placeBatches(RunContext& run, HeldIdentities& held) {
  const std::vector<FileEntry> entries = fileEntries(run);
  // The chunks of a compressed medium are expanded ahead where the platform
  // gives a second thread; leaving the stage stops that.
  std::optional<DecodeAhead> ahead;
  run.C.KeepWrittenContent = run.LogEnabled; // for the files' identities
  if (run.state.Setup.CompressionMode == 1)
    ahead.emplace(run.platform, run.C, run.state.Setup.SourceDir, plannedFiles(run, entries), run.ExpandedAhead);
  std::size_t placed = 0;
  run.ContinuationCount = 0;
  for (std::size_t first = 0; first < entries.size();) {
    BatchPlan batch;
    std::vector<std::optional<Placement>> plan; // none: the end of an option's list
    if (!held.logAll(run)) return false;
    for (std::size_t files = 0; first < entries.size() && files < kBatchFiles; ++first) {
      if (entries[first].name.empty()) {
        plan.emplace_back();
        continue;
      }
      std::optional<Placement> placement = planFile(run, batch, entries[first]);
      if (!placement) return false;
      plan.push_back(std::move(placement));
      ++files;
    }
    // Every record of the batch is on disk before the first of its files is touched.
    if (!run.flushLog()) return false;
    for (const std::optional<Placement>& placement : plan) {
      if (placement) {
        if (ahead) ahead->reach(placed++);
        if (!placeFile(run, *placement, held)) return false;
      }
      if (!run.goesOn()) return false;
      run.ContinuationCount = 0;
    }
  }
  return true;
}

// Places the files batch by batch; the identities of the files placed are
// logged however the placing ends.
bool placeFiles(RunContext& run) {
  HeldIdentities held;
  const bool placed = placeBatches(run, held);
  const std::optional<Exception> leftBy = run.Error;
  const bool logged = held.logAll(run);
  if (!placed) run.Error = leftBy; // a refusal here does not hide what ended the run
  return placed && logged;
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
  // the run may stop and before each batch of files is placed.
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
