// kalvora build: a project file in, a distribution medium out.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "Command.h"
#include "media/MediumBuilder.h"
#include "platform/Errors.h"

namespace kalvora::tool {
namespace {

namespace fs = std::filesystem;

const char* const kHelp = "usage: kalvora build [-o OUTDIR] [-q] PROJECTFILE\n"
                          "\n"
                          "Builds the distribution medium that PROJECTFILE describes: setup.inf, the\n"
                          "archive volumes zdata_NN.dsk, the pictures, readme, uninstaller and setup.exe.\n"
                          "The medium goes into OUTDIR, or where the project's [build] output says;\n"
                          "a floppy set is written as OUTDIR/disk1, disk2, ... The last line of output\n"
                          "is the directory that holds setup.inf.\n"
                          "\n"
                          "  -o OUTDIR  where to put the medium (an existing medium there is replaced)\n"
                          "  -q         no progress on standard error\n"
                          "\n"
                          "setup.exe: the project's [build] setup_exe, else $KALVORA_SETUP_EXE, else the\n"
                          "setup.exe built beside this tool (build/win32/setup.exe); without one the\n"
                          "medium is built with a warning. The uninstaller likewise: [build] uninstaller,\n"
                          "else $KALVORA_UNINSTALLER_EXE, else unkalvora.exe built beside this tool.\n"
                          "docs/project-file.md describes project files.\n";

// The directory of this program's own file.
fs::path toolDirectory() {
#ifdef _WIN32
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return n == 0 ? fs::path() : fs::path(std::string(path, n)).parent_path();
#else
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path() : self.parent_path();
#endif
}

// Where a program of the win32 tree (setup.exe, unkalvora.exe) is looked for:
// the file the environment variable names, else beside this tool.
std::vector<std::string> builtProgramCandidates(const char* variable, const char* fileName) {
  if (const char* env = std::getenv(variable); env && *env) {
    std::error_code ec;
    if (!fs::is_regular_file(env, ec)) throw Exception(std::string(variable) + " names no file: " + env);
    return {env};
  }
  const fs::path dir = toolDirectory();
  if (dir.empty()) return {};
  // The native tool is build/native/kalvora, the Windows one build/win32/kalvora.exe
  // beside setup.exe; a distributor's copy may sit beside setup.exe, too.
  return {(dir / fileName).lexically_normal().generic_string(),
          (dir / ".." / "win32" / fileName).lexically_normal().generic_string()};
}

int runBuild(const std::vector<std::string>& args) {
  media::BuildRequest request;
  bool quiet = false;
  std::optional<std::string> project;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-q") {
      quiet = true;
    } else if (args[i] == "-o") {
      if (i + 1 == args.size()) throw UsageError("-o needs a directory");
      request.outputDir = args[++i];
    } else if (!args[i].empty() && args[i][0] == '-') {
      throw UsageError("unknown option " + args[i]);
    } else if (project) {
      throw UsageError("one project file only");
    } else {
      project = args[i];
    }
  }
  if (!project) throw UsageError("the project file is missing");
  request.projectPath = *project;
  request.setupExeCandidates = builtProgramCandidates("KALVORA_SETUP_EXE", "setup.exe");
  request.uninstallerCandidates = builtProgramCandidates("KALVORA_UNINSTALLER_EXE", "unkalvora.exe");
  if (!quiet)
    request.progress = [](const std::string& line) { std::fprintf(stderr, "kalvora build: %s\n", line.c_str()); };
  try {
    const media::BuildSummary s = media::buildMedium(request);
    for (const auto& w : s.warnings)
      std::fprintf(stderr, "%s\n", w.text().c_str());
    if (!quiet) {
      std::printf("built %d files (%lld bytes) into %d volume%s", s.files, static_cast<long long>(s.inputBytes),
                  s.volumes, s.volumes == 1 ? "" : "s");
      if (s.disks > 0) std::printf(" on %d disk%s", s.disks, s.disks == 1 ? "" : "s");
      std::printf(", %lld bytes stored\n", static_cast<long long>(s.storedBytes));
    }
    std::printf("%s\n", s.mediumDir.c_str());
    return 0;
  } catch (const media::BuildFailed& failed) {
    for (const auto& d : failed.diagnostics())
      std::fprintf(stderr, "%s\n", d.text().c_str());
    std::fprintf(stderr, "kalvora build: no medium was written\n");
    return 1;
  }
}

} // namespace

KALVORA_COMMAND({"build", "build a distribution medium from a project file", kHelp, runBuild});

} // namespace kalvora::tool
