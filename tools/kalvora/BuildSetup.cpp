#include "BuildSetup.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include <windows.h>
#endif

#include "EnglishText.h"
#include "media/SourceDate.h"
#include "platform/Errors.h"

namespace kalvora::tool {
namespace {

namespace fs = std::filesystem;

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
// the file the environment variable names, else beside this tool, in the
// build tree's win32 directory, or where `cmake --install` puts it.
std::vector<std::string> builtProgramCandidates(const char* variable, const char* fileName) {
  if (const char* env = std::getenv(variable); env && *env) {
    std::error_code ec;
    if (!fs::is_regular_file(env, ec)) throw Exception(std::string(variable) + " names no file: " + env);
    return {env};
  }
  const fs::path dir = toolDirectory();
  if (dir.empty()) return {};
  // The native tool is build/native/kalvora, the Windows one build/win32/kalvora.exe
  // beside setup.exe; an installed one is PREFIX/bin/kalvora beside PREFIX/share/kalvora/.
  return {(dir / fileName).lexically_normal().generic_string(),
          (dir / ".." / "win32" / fileName).lexically_normal().generic_string(),
          (dir / ".." / "share" / "kalvora" / fileName).lexically_normal().generic_string()};
}

} // namespace

media::BuildRequest buildRequestFor(const std::string& projectPath) {
  media::BuildRequest request;
  request.projectPath = projectPath;
  request.setupExeCandidates = builtProgramCandidates("KALVORA_SETUP_EXE", "setup.exe");
  request.uninstallerCandidates = builtProgramCandidates("KALVORA_UNINSTALLER_EXE", "unkalvora.exe");
  request.sourceDateEpoch = media::sourceDateEpoch(std::getenv("SOURCE_DATE_EPOCH"));
  return request;
}

void printDiagnostics(const std::vector<media::Diagnostic>& diagnostics) {
  for (const auto& d : diagnostics)
    std::fprintf(stderr, "%s\n", inEnglish(d.text()).c_str());
}

} // namespace kalvora::tool
