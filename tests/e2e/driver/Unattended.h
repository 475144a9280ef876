#pragma once
// Commands for unattended runs: that no window was shown, nor one of the
// shell's, and what a log file says.
#include <set>
#include <string>
#include <vector>

namespace kvdrive {

// expect-no-window: seen holds every window the program has shown since its start.
// expect-no-folder-window MILLISECONDS: no shell folder window is shown, nor comes within that time.
// expect-line FILE PATTERN: some line of the file matches the pattern ("*" for any run).
// Throws std::runtime_error naming what is wrong.
void unattendedCommand(const std::vector<std::string>& words, const std::set<std::string>& seen);

} // namespace kvdrive
