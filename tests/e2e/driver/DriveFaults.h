#pragma once
// Commands that take room or bytes away under a running program: a drive that
// fills up and a volume that is cut short.
#include <string>
#include <vector>

namespace kvdrive {

// Runs `fill PATH FREE` or `truncate PATH BYTES`; false for any other command.
// Throws std::runtime_error when the change cannot be made.
bool driveFaultCommand(const std::vector<std::string>& words);

} // namespace kvdrive
