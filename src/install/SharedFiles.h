#pragma once
// Windows' convention for files shared between products in the Windows
// directory: a count per file under SharedDLLs (REG_DWORD, value name = the
// file's full path) of the installations that use it. Each installation counts
// a file up; its uninstaller counts it down and removes the file only at zero.
#include <cstdint>
#include <optional>
#include <string>

#include "install/RunContext.h"

namespace kalvora {

inline constexpr const char* kSharedDllsKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";

// The file's count; none when it has no value.
std::optional<std::uint32_t> sharedCount(Platform& platform, const std::string& path);

// Logs the count before the run counts the file up, given its count now:
// [systemroot] count<n> = the value there, or 1 when the file existed with no
// value (another product's, uncounted), or 0 when it is new; and
// hadcount<n> = 1 when a value was there. The count logged; none when the log refuses.
std::optional<std::uint32_t> logSharedCount(RunContext& run, std::int64_t number, std::optional<std::uint32_t> count,
                                            bool existed);

// Counts the file up from before, whose record is on disk. False when the run is to leave.
[[nodiscard]] bool countSharedFileUp(RunContext& run, const std::string& path, std::uint32_t before);

} // namespace kalvora
