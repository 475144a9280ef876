#pragma once
// Rules for the paths of this system: the drive a path is on, and whether a
// path appended to a root stays inside it. Both "\" and "/" separate parts.
#include <string>
#include <string_view>

namespace kalvora {

// The drive of a path ("D:") or, for a network path, its "\\server\share" part;
// empty when the path names neither.
std::string driveOfPath(const std::string& path);

// Whether Windows opens a device for the name, in every directory and with
// any extension: CON, PRN, AUX, NUL, CLOCK$, CONIN$, CONOUT$, COM1-9, LPT1-9.
bool isDeviceName(std::string_view name);

// Whether a path part is made of dots and blanks alone. Windows drops the
// trailing dots and blanks of a name, so "...", ". ." and ".. " may act as "..".
bool isDotsAndBlanks(std::string_view part);
// Whether relative, appended to a root as written, names a place inside it: no
// colon (a drive, a stream) and no part of dots and blanks alone but ".".
bool staysInsideRoot(std::string_view relative);

// The path with its "." and ".." parts gone, as Windows takes them when it
// opens the path: ".." goes back one part, never above the drive or the path's
// start; "\" separates the parts of the result.
std::string withoutDotParts(std::string_view path);

} // namespace kalvora
