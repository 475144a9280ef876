#pragma once
// The DOS start-up files C:\autoexec.bat and C:\config.sys: backups in the root of C:
// and the lines the script appends to them. Neither file is created.
#include <string>
#include <vector>

#include "install/RunContext.h"

namespace kalvora {

// Appends an empty line and the line for every non-empty entry of lines, after
// cutting the file at a DOS end-of-file mark among its last 128 bytes. A missing
// file is left missing; a file that cannot be opened or written gives EInOutError.
Status appendStartupLines(Platform& platform, const std::string& path, const std::vector<std::string>& lines);

// [dos]: backups (bkp_a, bkp_c), then a1..a5 to C:\autoexec.bat and c1..c5 to C:\config.sys.
[[nodiscard]] bool startupFileChanges(RunContext& run);

} // namespace kalvora
