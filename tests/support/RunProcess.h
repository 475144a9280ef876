#pragma once
// Runs a program through the system's command interpreter and collects its exit
// status and output, for tests that drive command-line programs.
#include <string>
#include <vector>

namespace kalvora::testing {

struct ProcessResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Arguments are quoted; they must not hold double quotes.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args);
// The kalvora tool of this build tree (kalvora.exe under Wine in the Windows tree).
std::string toolPath();
// A Unix path as the running program names it: on Windows (Wine) "/a/b" is "Z:\a\b".
std::string hostPath(const std::string& path);
// Whether a program is found on the search path.
bool programAvailable(const std::string& name);

} // namespace kalvora::testing
