#pragma once
// Paths of expanded members: matching stored names, forming output paths and
// telling safe relative names. Both "\" and "/" separate path parts, so
// native POSIX paths work as well.
#include <string>

namespace kalvora {

// Stored names compare without regard to letter case (ASCII and the accented
// letters of the ANSI code page).
bool sameMemberName(const std::string& a, const std::string& b);

// TargetPath followed by the name, or a name starting with "\" unchanged.
std::string memberOutputPath(const std::string& targetPath, const std::string& storedName);

// False for a relative name that could leave the directory it is expanded
// into: a leading "/", or one that does not stay inside its root (platform/Paths).
bool isContainedMemberName(const std::string& storedName);

// The name of the member a packed picture holds: its file name (after the
// last "\" or ":") with the last character "p".
std::string packedPictureMember(const std::string& packedPath);

// The path up to and including its last separator ("" when there is none).
std::string directoryPart(const std::string& path);

} // namespace kalvora
