#pragma once
// Windows' convention for files shared between products in the Windows
// directory: a count per file under SharedDLLs (REG_DWORD, value name = the
// file's full path) of the installations that use it. Each installation counts
// a file up; its uninstaller counts it down and removes the file only at zero.
#include <cstdint>
#include <string>

#include "install/RunContext.h"

namespace kalvora {

inline constexpr const char* kSharedDllsKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// Counts the file up. The count before goes to the log first, on disk:
// [systemroot] count<n> = the value there, or 1 when the file existed with no
// value (another product's, uncounted), or 0 when it is new; and
// hadcount<n> = 1 when a value was there. False when the run is to leave.
[[nodiscard]] bool countSharedFileUp(RunContext& run, std::int64_t number, const std::string& path, bool existed);

} // namespace kalvora
