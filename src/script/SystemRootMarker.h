#pragma once
// A directory or file value of setup.inf may name a place below the Windows
// directory with the marker "%SystemRoot%". The setup program cuts the
// marker's length off the front of the value and keeps only so many
// characters after it, fewer for some values than for others.
#include <cstddef>
#include <string>
#include <string_view>

namespace kalvora {

inline constexpr std::string_view kSystemRootMarker = "%SystemRoot%";
// Characters kept after the marker: in a directory of files (and so in an
// association to one of them), in an INI file's name, in a group item's directory.
inline constexpr std::size_t kKeptForFiles = 30, kKeptForIni = 40, kKeptForGroupItems = 50;

// Whether value holds the marker anywhere, in any letter case: the test of the stages.
bool holdsSystemRoot(std::string_view value);
// Whether value begins with the marker: where a sound value holds it.
bool startsWithSystemRoot(std::string_view value);
// The at most `kept` characters after the marker's length (empty when there are none).
std::string belowSystemRoot(const std::string& value, std::size_t kept);

} // namespace kalvora
