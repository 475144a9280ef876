// kalvora build: a project file in, a distribution medium out.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "BuildSetup.h"
#include "Command.h"
#include "media/MediumBuilder.h"

namespace kalvora::tool {
namespace {

const char* const kHelp = "usage: kalvora build [-o OUTDIR] [-q | -v] [--strict] PROJECTFILE\n"
                          "\n"
                          "Builds the distribution medium that PROJECTFILE describes: setup.inf, the\n"
                          "archive volumes zdata_NN.dsk, the pictures, readme, uninstaller and setup.exe.\n"
                          "The medium goes into OUTDIR, or where the project's [build] output says;\n"
                          "a floppy set is written as OUTDIR/disk1, disk2, ... The last line of standard\n"
                          "output is the directory that holds setup.inf.\n"
                          "\n"
                          "  -o OUTDIR  where to put the medium (an existing medium there is replaced)\n"
                          "  -q         no progress and no summary\n"
                          "  -v         progress on standard error even when it is not a terminal\n"
                          "             (by default only a terminal gets it)\n"
                          "  --strict   a missing setup.exe or uninstaller is an error (also [build] strict)\n"
                          "  -h, --help shows this text\n"
                          "\n"
                          "setup.exe: the project's [build] setup_exe, else $KALVORA_SETUP_EXE, else the\n"
                          "setup.exe beside this tool, in ../win32/ (the build tree) or ../share/kalvora/\n"
                          "(an installed tool); without one the medium is built with a warning. The\n"
                          "uninstaller likewise: [build] uninstaller, else $KALVORA_UNINSTALLER_EXE,\n"
                          "else unkalvora.exe in those places. [build] sign signs both first.\n"
                          "\n"
                          "With SOURCE_DATE_EPOCH set, every time the medium records is that time, so\n"
                          "that builds from fresh copies of the project give the same bytes.\n"
                          "\n"
                          "Errors and warnings go to standard error as FILE:LINE: error: TEXT. Exit\n"
                          "status: 0 built, 1 errors (no medium was written), 2 a bad command line.\n"
                          "docs/project-file.md describes project files.\n";

bool stderrIsTerminal() {
#ifdef _WIN32
  return _isatty(_fileno(stderr)) != 0;
#else
  return isatty(STDERR_FILENO) != 0;
#endif
}

int runBuild(const std::vector<std::string>& args) {
  bool quiet = false, verbose = false, strict = false;
  std::optional<std::string> project, output;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-q") {
      quiet = true;
    } else if (args[i] == "-v") {
      verbose = true;
    } else if (args[i] == "--strict") {
      strict = true;
    } else if (args[i] == "-o") {
      if (i + 1 == args.size()) throw UsageError("-o needs a directory");
      output = args[++i];
    } else if (!args[i].empty() && args[i][0] == '-') {
      throw UsageError("unknown option " + args[i]);
    } else if (project) {
      throw UsageError("one project file only");
    } else {
      project = args[i];
    }
  }
  if (!project) throw UsageError("the project file is missing");
  if (quiet && verbose) throw UsageError("-q and -v contradict each other");
  media::BuildRequest request = buildRequestFor(*project);
  request.outputDir = output;
  request.strict = strict;
  if (verbose || (!quiet && stderrIsTerminal()))
    request.progress = [](const std::string& line) { std::fprintf(stderr, "kalvora build: %s\n", line.c_str()); };
  try {
    const media::BuildSummary s = media::buildMedium(request);
    printDiagnostics(s.warnings);
    if (!quiet) {
      std::printf("built %d files (%lld bytes) into %d volume%s", s.files, static_cast<long long>(s.inputBytes),
                  s.volumes, s.volumes == 1 ? "" : "s");
      if (s.disks > 0) std::printf(" on %d disk%s", s.disks, s.disks == 1 ? "" : "s");
      std::printf(", %lld bytes stored\n", static_cast<long long>(s.storedBytes));
    }
    std::printf("%s\n", s.mediumDir.c_str());
    return 0;
  } catch (const media::BuildFailed& failed) {
    printDiagnostics(failed.diagnostics());
    std::fprintf(stderr, "kalvora build: no medium was written\n");
    return 1;
  }
}

} // namespace

KALVORA_COMMAND({"build", "build a distribution medium from a project file", kHelp, runBuild});

} // namespace kalvora::tool
