#pragma once
// `kalvora build`: a project file in, a complete distribution medium out. The
// medium is assembled beside the output directory and moved into place only
// when it is complete, so a failed build leaves nothing behind.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "media/Diagnostics.h"

namespace kalvora::media {

struct BuildRequest {
  std::string projectPath;
  std::optional<std::string> outputDir; // overrides the project's [build] output
  // Where to look for the built setup.exe when the project names none.
  std::vector<std::string> setupExeCandidates;
  // Where to look for the built unkalvora.exe when the project names no uninstaller.
  std::vector<std::string> uninstallerCandidates;
  // Progress lines (files, megabytes, volumes); none when empty.
  std::function<void(const std::string&)> progress;
  // A missing setup.exe or uninstaller is an error, not a warning (also [build] strict).
  bool strict = false;
  // Every check of a build, on a medium assembled in a scratch directory and
  // then removed: the output directory is left as it is. Nothing is signed.
  bool dryRun = false;
  // SOURCE_DATE_EPOCH: when set, every time the medium records.
  std::optional<std::int64_t> sourceDateEpoch;
};

struct BuildSummary {
  std::string outputDir; // the medium as a whole
  std::string mediumDir; // the directory with setup.inf (disk1 of a disk set); empty after a dry run
  int files = 0;
  int volumes = 0;
  int disks = 0;                // 0 for a single directory
  std::int64_t inputBytes = 0;  // the files' bytes
  std::int64_t storedBytes = 0; // their chunks' bytes
  std::vector<Diagnostic> warnings;
};

// Raises BuildFailed with every error found (and the warnings before them).
BuildSummary buildMedium(const BuildRequest& request);

} // namespace kalvora::media
