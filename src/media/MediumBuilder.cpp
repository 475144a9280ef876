#include "media/MediumBuilder.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>

#include "media/AnsiText.h"
#include "media/ChunkEncoder.h"
#include "media/EncodeAhead.h"
#include "media/FileSelection.h"
#include "media/MediumCompanions.h"
#include "media/MediumGeometry.h"
#include "media/MediumOutput.h"
#include "media/ProgramSigner.h"
#include "media/Project.h"
#include "media/ScriptChecks.h"
#include "media/ScriptComposer.h"
#include "media/ScriptKeys.h"
#include "media/SourceDate.h"
#include "media/VolumeWriter.h"
#include "platform/Errors.h"

namespace kalvora::media {
namespace fs = std::filesystem;
namespace {

std::vector<Diagnostic> warningsOf(const Diagnostics& diag) {
  std::vector<Diagnostic> out;
  for (const auto& d : diag.all())
    if (d.level == Diagnostic::Level::Warning) out.push_back(d);
  return out;
}

void stopOnErrors(const Diagnostics& diag) {
  if (diag.hasErrors()) throw BuildFailed(diag.all());
}

fs::path outputOf(const Project& project, const BuildRequest& request) {
  if (request.outputDir) return pathFromUtf8(*request.outputDir);
  return project.resolve(project.output ? project.output->text : "medium");
}

bool strict(const Project& project, const BuildRequest& request) { return request.strict || project.strict; }

// A missing program: an error in a strict build, a warning otherwise.
void report(const Project& project, const BuildRequest& request, Diagnostics& diag, const std::string& text) {
  if (strict(project, request))
    diag.error(project.displayName, text);
  else
    diag.warning(project.displayName, text);
}

// A fresh directory for a dry run's medium, in the system's temporary directory.
fs::path scratchDirectory() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const fs::path dir = fs::temp_directory_path() / ("kalvora-check-" + std::to_string(random()));
    std::error_code ec;
    if (fs::create_directory(dir, ec)) return dir;
  }
  throw Exception("cannot create a scratch directory in " + utf8Of(fs::temp_directory_path()));
}

// Every file and directory below dir gets the time t.
void stampTimes(const fs::path& dir, std::int64_t seconds) {
  const auto t = std::chrono::file_clock::from_sys(std::chrono::sys_seconds{std::chrono::seconds{seconds}});
  for (const auto& entry : fs::recursive_directory_iterator(dir))
    fs::last_write_time(entry.path(), t);
}

std::optional<fs::path> findSetupExe(const Project& project, const BuildRequest& request, Diagnostics& diag) {
  std::error_code ec;
  if (project.setupExe) {
    const fs::path p = project.resolve(project.setupExe->text);
    if (fs::is_regular_file(p, ec)) return p;
    diag.error(project.where(project.setupExe->line), "missing source " + utf8Of(p));
    return std::nullopt;
  }
  for (const auto& c : request.setupExeCandidates)
    if (fs::is_regular_file(pathFromUtf8(c), ec)) return pathFromUtf8(c);
  std::string looked;
  for (const auto& c : request.setupExeCandidates)
    looked += (looked.empty() ? "" : ", ") + c;
  const std::string text = "no setup.exe found" + (looked.empty() ? "" : " (looked for " + looked + ")") +
                           (strict(project, request) ? "; a strict build needs its setup program."
                                                     : "; the medium is built without its setup program.") +
                           " Name one in [build] setup_exe or set KALVORA_SETUP_EXE.";
  report(project, request, diag, text);
  return std::nullopt;
}

// The built uninstaller, for a project that installs one without naming it.
std::optional<fs::path> findUninstaller(const Project& project, const BuildRequest& request, Diagnostics& diag) {
  if (project.uninstaller || !projectBool(project, "software", "uniyes", true)) return std::nullopt;
  std::error_code ec;
  for (const auto& c : request.uninstallerCandidates)
    if (fs::is_regular_file(pathFromUtf8(c), ec)) return pathFromUtf8(c);
  std::string looked;
  for (const auto& c : request.uninstallerCandidates)
    looked += (looked.empty() ? "" : ", ") + c;
  const std::string text = "no unkalvora.exe found" + (looked.empty() ? "" : " (looked for " + looked + ")") +
                           (strict(project, request) ? "; a strict build needs its uninstaller."
                                                     : "; the medium is built without its uninstaller.") +
                           " Name one in [build] uninstaller or set KALVORA_UNINSTALLER_EXE.";
  report(project, request, diag, text);
  return std::nullopt;
}

std::string megabytes(std::int64_t bytes) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f", static_cast<double>(bytes) / (1024.0 * 1024.0));
  return text;
}

// Progress after every tenth of the input and at every new volume.
class Progress {
public:
  Progress(const std::function<void(const std::string&)>& sink, std::size_t files, std::int64_t bytes)
      : sink_(sink), files_(files), bytes_(bytes) {}

  void fileDone(std::int64_t size, int volume) {
    ++done_;
    doneBytes_ += size;
    const std::int64_t tenth = bytes_ / 10 + 1;
    if (!sink_ || (doneBytes_ / tenth == lastTenth_ && volume == lastVolume_ && done_ != files_)) return;
    lastTenth_ = doneBytes_ / tenth;
    lastVolume_ = volume;
    sink_(std::to_string(done_) + "/" + std::to_string(files_) + " files, " + megabytes(doneBytes_) + "/" +
          megabytes(bytes_) + " MB, volume " + std::to_string(volume));
  }

private:
  const std::function<void(const std::string&)>& sink_;
  std::size_t files_;
  std::int64_t bytes_;
  std::size_t done_ = 0;
  std::int64_t doneBytes_ = 0;
  std::int64_t lastTenth_ = 0;
  int lastVolume_ = 0;
};

class Builder {
public:
  Builder(const BuildRequest& r, Project& p, Diagnostics& d, StagedOutput& o)
      : request_(r), project_(p), diag_(d), output_(o), geometry_(geometryOf(p.medium, p.mediumSize)) {}

  BuildSummary run() {
    std::string why;
    if (!replaceableOutput(output_.target(), why))
      diag_.error(utf8Of(output_.target()), "cannot build the medium here: " + why);
    FileSelection selection = selectFiles(project_, {output_.target(), output_.staging(), output_.previous()}, diag_);
    std::optional<std::uint32_t> fixedTime;
    if (request_.sourceDateEpoch) {
      fixedTime = dosDateTimeOfEpoch(*request_.sourceDateEpoch);
      for (auto& f : selection.files)
        f.dosDateTime = *fixedTime;
    }
    checkScript(project_, selection, diag_);
    const auto setupExe = findSetupExe(project_, request_, diag_);
    const auto uninstaller = findUninstaller(project_, request_, diag_);
    CompanionPlan companions = planCompanions(project_, setupExe, uninstaller, diag_);
    stopOnErrors(diag_);

    if (request_.dryRun) output_.stageIn(scratchDirectory());
    output_.create();
    const fs::path signing = output_.staging() / ".kalvora-sign";
    if (project_.sign && !request_.dryRun) signCompanions(companions, signing);
    const fs::path firstDir = geometry_.diskSet ? output_.staging() / "disk1" : output_.staging();
    fs::create_directories(firstDir);
    const WrittenCompanions written =
        writeCompanions(companions, project_.compression, firstDir, geometry_.cluster, fixedTime);
    std::error_code ec;
    fs::remove_all(signing, ec);

    MediumFacts facts;
    facts.compression = project_.compression;
    facts.readmeName = companions.readmeName;
    facts.readmeSize = companions.readmeSize;
    facts.pictureNames = companions.pictureNames;
    VolumeWriter volumes(limitsBeside(selection, facts, written), [&](int v) { return volumePath(v); });
    std::int64_t largestChunk = 0;
    writeVolumes(selection, volumes, facts, largestChunk);
    facts.volumeCount = volumes.volumeCount();
    facts.largestStaged =
        project_.compression == Compression::None ? 0 : std::max(largestChunk, written.packedUninstaller);

    const SetupInf inf = composeSetupInf(project_, selection, facts, diag_);
    checkSizes(project_, selection, facts, inf.compressionSize, diag_);
    stopOnErrors(diag_);
    writeWholeFile(firstDir / "setup.inf", std::vector<std::uint8_t>(inf.text.begin(), inf.text.end()));
    if (request_.sourceDateEpoch) stampTimes(output_.staging(), *request_.sourceDateEpoch);

    BuildSummary summary;
    summary.outputDir = utf8Of(output_.target());
    if (!request_.dryRun) {
      output_.commit();
      summary.mediumDir = geometry_.diskSet ? utf8Of(output_.target() / "disk1") : summary.outputDir;
    }
    summary.files = static_cast<int>(selection.files.size());
    summary.volumes = volumes.volumeCount();
    summary.disks = geometry_.diskSet ? std::max(1, volumes.volumeCount()) : 0;
    for (const auto& f : selection.files)
      summary.inputBytes += f.size;
    summary.storedBytes = volumes.bytesWritten();
    summary.warnings = warningsOf(diag_);
    return summary;
  }

private:
  // setup.exe and the uninstaller are signed before they are copied or packed.
  void signCompanions(CompanionPlan& companions, const fs::path& workDir) {
    for (auto& c : companions.files) {
      if (c.name != "setup.exe" && c.name != "uninst.ex_") continue;
      const std::string name = c.name == "setup.exe" ? "setup.exe" : "unkalvora.exe";
      const auto signedCopy = signProgram(project_.sign->text, project_.where(project_.sign->line), project_.baseDir,
                                          c.source, name, workDir, diag_);
      if (signedCopy) c.source = *signedCopy;
    }
    stopOnErrors(diag_);
  }

  // The room volume 1 has beside the other files of its directory; setup.inf
  // is counted at the length it has with the widest numbers it can hold.
  VolumeLimits limitsBeside(const FileSelection& selection, const MediumFacts& facts,
                            const WrittenCompanions& written) {
    Diagnostics scratch;
    const std::size_t setupInf =
        composeSetupInf(project_, selection, widestFacts(selection, facts), scratch).text.size();
    const std::int64_t beside =
        written.clusterBytes + roundUpToCluster(static_cast<std::int64_t>(setupInf), geometry_.cluster);
    const VolumeLimits limits = volumeLimits(geometry_, beside);
    if (limits.first < 0) {
      diag_.error(project_.displayName, "setup.exe, setup.inf, the pictures, readme and uninstaller take " +
                                            std::to_string(beside) + " bytes, more than " + geometry_.description +
                                            " hold");
      stopOnErrors(diag_);
    }
    return limits;
  }

  fs::path volumePath(int volume) const {
    const fs::path dir = geometry_.diskSet ? output_.staging() / numberedKey("disk", volume) : output_.staging();
    return dir / volumeFileName(volume);
  }

  void writeVolumes(const FileSelection& selection, VolumeWriter& volumes, MediumFacts& facts,
                    std::int64_t& largestChunk) {
    std::int64_t total = 0;
    std::vector<std::int64_t> sizes;
    for (const auto& f : selection.files) {
      total += f.size;
      sizes.push_back(f.size);
    }
    Progress progress(request_.progress, selection.files.size(), total);
    const Compression compression = project_.compression;
    EncodeAhead encoded(std::move(sizes), [&files = selection.files, compression](std::size_t index) {
      const MediumFile& f = files[index];
      std::vector<std::uint8_t> bytes = readWholeFile(f.source);
      const auto readBytes = static_cast<std::int64_t>(bytes.size());
      return EncodedFile{readBytes, encodeChunk(compression, f.name, std::move(bytes), f.dosDateTime)};
    });
    for (const auto& f : selection.files) {
      const EncodedFile file = encoded.take();
      if (file.readBytes != f.size) {
        diag_.error(utf8Of(f.source), "the file changed while the medium was being built");
        stopOnErrors(diag_);
      }
      const std::vector<std::uint8_t>& chunk = file.chunk;
      if (static_cast<std::int64_t>(chunk.size()) > kMaxInt32) {
        diag_.error(utf8Of(f.source), "its stored form has " + std::to_string(chunk.size()) +
                                          " bytes, beyond the setup program's signed 32-bit sizes");
        stopOnErrors(diag_);
      }
      try {
        facts.placements.push_back(volumes.write(chunk));
        facts.placements.back().selfChecked = checksItself(facts.compression, chunk);
      } catch (const MediumFull&) {
        diag_.error(utf8Of(f.source), "the files from here on do not fit on " + geometry_.description);
        stopOnErrors(diag_);
      }
      largestChunk = std::max(largestChunk, static_cast<std::int64_t>(chunk.size()));
      progress.fileDone(f.size, volumes.volumeCount());
    }
    volumes.finish();
  }

  const BuildRequest& request_;
  Project& project_;
  Diagnostics& diag_;
  StagedOutput& output_;
  MediumGeometry geometry_;
};

} // namespace

BuildSummary buildMedium(const BuildRequest& request) {
  Diagnostics diag;
  Project project = loadProject(request.projectPath, diag);
  stopOnErrors(diag);
  StagedOutput output(outputOf(project, request));
  try {
    return Builder(request, project, diag, output).run();
  } catch (const BuildFailed&) {
    throw;
  } catch (const std::exception& e) {
    diag.error(utf8Of(output.target()), e.what());
    throw BuildFailed(diag.all());
  }
}

} // namespace kalvora::media
