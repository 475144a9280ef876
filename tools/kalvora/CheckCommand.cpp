// kalvora check: reads a medium as the setup program will, or checks a
// project file with every check of a build, without writing the medium.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "BuildSetup.h"
#include "Command.h"
#include "EnglishText.h"
#include "media/MediumBuilder.h"
#include "media/MediumCheck.h"
#include "media/Project.h"
#include "platform/Platform.h"

namespace kalvora::tool {
namespace {

const char* const kHelp = "usage: kalvora check [--strict] MEDIUM\n"
                          "       kalvora check [--strict] PROJECTFILE\n"
                          "\n"
                          "MEDIUM, a directory (the one that holds setup.inf; for a floppy set its disk1,\n"
                          "beside disk2, disk3, ...), is read as the setup program will read it:\n"
                          "setup.inf, every option's file entries, each chunk across the volumes, the\n"
                          "expansion and checksum of every compressed chunk, the space figures the\n"
                          "wizard shows, the pictures, the readme and the uninstaller. A summary goes to\n"
                          "standard output; warnings and faults to standard error as\n"
                          "MEDIUM: warning: TEXT and MEDIUM: error: TEXT.\n"
                          "\n"
                          "PROJECTFILE, a file, is checked with every check that `kalvora build` makes,\n"
                          "down to whether the files fit the medium: the medium is assembled in a\n"
                          "scratch directory and removed again; the output directory is not touched\n"
                          "and the sign command is not run. Errors name the project file's line.\n"
                          "\n"
                          "A missing setup.exe is a warning, so that a medium can be checked before its\n"
                          "setup program is added; the last line then says how many warnings there are.\n"
                          "\n"
                          "  --strict   warnings count as faults: a missing setup.exe or uninstaller\n"
                          "             fails the check\n"
                          "  -h, --help shows this text\n"
                          "\n"
                          "Exit status: 0 no fault, 1 faults found, 2 a bad command line.\n";

std::string plural(std::size_t n, const char* word) { return std::to_string(n) + " " + word + (n == 1 ? "" : "s"); }

int verdict(const char* what, std::size_t faults, std::size_t warnings, bool strict) {
  if (strict) faults += warnings;
  if (faults > 0) {
    std::printf("%s\n", plural(faults, "fault").c_str());
    return 1;
  }
  if (warnings > 0)
    std::printf("%s OK, with %s (see standard error)\n", what, plural(warnings, "warning").c_str());
  else
    std::printf("%s OK\n", what);
  return 0;
}

int checkProject(const std::string& path, bool strict) {
  media::BuildRequest request = buildRequestFor(path);
  request.dryRun = true;
  request.strict = strict;
  try {
    const media::BuildSummary s = media::buildMedium(request);
    printDiagnostics(s.warnings);
    std::printf("%d files (%lld bytes) in %d volume%s, %lld bytes stored\n", s.files,
                static_cast<long long>(s.inputBytes), s.volumes, s.volumes == 1 ? "" : "s",
                static_cast<long long>(s.storedBytes));
    return verdict("project", 0, s.warnings.size(), strict);
  } catch (const media::BuildFailed& failed) {
    printDiagnostics(failed.diagnostics());
    std::size_t errors = 0;
    for (const auto& d : failed.diagnostics())
      errors += d.level == media::Diagnostic::Level::Error ? 1 : 0;
    std::printf("%s\n", plural(errors, "error").c_str());
    return 1;
  }
}

int checkMediumDir(const std::string& dir, bool strict) {
  const media::CheckReport report = media::checkMedium(systemPlatform(), dir);
  for (const auto& line : report.summary)
    std::printf("%s\n", line.c_str());
  for (const auto& w : report.warnings)
    std::fprintf(stderr, "%s: warning: %s\n", dir.c_str(), inEnglish(w).c_str());
  for (const auto& f : report.faults)
    std::fprintf(stderr, "%s: error: %s\n", dir.c_str(), inEnglish(f).c_str());
  return verdict("medium", report.faults.size(), report.warnings.size(), strict);
}

int runCheck(const std::vector<std::string>& args) {
  bool strict = false;
  std::optional<std::string> target;
  for (const auto& a : args) {
    if (a == "--strict")
      strict = true;
    else if (!a.empty() && a[0] == '-')
      throw UsageError("unknown option " + a);
    else if (target)
      throw UsageError("give one medium directory or project file");
    else
      target = a;
  }
  if (!target) throw UsageError("give one medium directory or project file");
  std::error_code ec;
  if (std::filesystem::is_regular_file(media::pathFromUtf8(*target), ec)) return checkProject(*target, strict);
  return checkMediumDir(*target, strict);
}

} // namespace

KALVORA_COMMAND({"check", "check a medium as the setup program reads it, or a project file", kHelp, runCheck});

} // namespace kalvora::tool
