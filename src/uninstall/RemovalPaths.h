#pragma once
// Where the uninstaller may act: a log entry is followed only while it stays
// below the directory it belongs to. A ".." part, a drive, a UNC path or a
// doubled separator in an entry takes it out of bounds.
#include <optional>
#include <string>

namespace kalvora {

// True when root + relative names something strictly below root.
bool entryStaysBelow(const std::string& relative);
// The part of path below root ("\sub\file"), when path lies strictly below it.
std::optional<std::string> partBelow(const std::string& path, const std::string& root);
// path without trailing separators.
std::string withoutTrailingSeparators(std::string path);
// Whether two paths name the same place (letter case and trailing separators aside).
bool samePath(const std::string& a, const std::string& b);
// A full path of the form "X:\name[\...]", not a drive's root.
bool isDriveDirectory(const std::string& path);

} // namespace kalvora
