#include "support/RunProcess.h"

#include <cstdlib>
#include <filesystem>

#include "support/TempDir.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace kalvora::testing {
namespace {

// Appended piece by piece: GCC 12 -O3 warns wrongly about "\"" + arg.
void appendQuoted(std::string& command, const std::string& arg) {
  command += '"';
  command += arg;
  command += '"';
}

std::string readText(const std::filesystem::path& path) {
  const auto bytes = readBytes(path.string());
  return std::string(bytes.begin(), bytes.end());
}

} // namespace

std::string hostPath(const std::string& path) {
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') {
    std::string windows = "Z:" + path;
    for (char& c : windows)
      if (c == '/') c = '\\';
    return windows;
  }
#endif
  return path;
}

std::string toolPath() { return hostPath(KALVORA_TOOL_PATH); }

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args) {
  TempDir dir;
  const std::string out = dir / "stdout", err = dir / "stderr";
  std::string command;
#ifdef _WIN32
  command += '"'; // cmd.exe strips the outer quotes of a line that starts with one
#endif
  appendQuoted(command, program);
  for (const auto& arg : args) {
    command += ' ';
    appendQuoted(command, arg);
  }
  command += " >";
  appendQuoted(command, out);
  command += " 2>";
  appendQuoted(command, err);
#ifdef _WIN32
  command += '"';
#endif
  ProcessResult result;
  const int status = std::system(command.c_str());
#ifdef _WIN32
  result.exitCode = status;
#else
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
  result.out = readText(out);
  result.err = readText(err);
  return result;
}

bool programAvailable(const std::string& name) {
#ifdef _WIN32
  (void)name;
  return false;
#else
  const std::string command = "command -v " + name + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
#endif
}

} // namespace kalvora::testing
