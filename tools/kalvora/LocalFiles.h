#pragma once
// The tool's dealings with the local file system beyond what the platform layer
// offers: path pieces, whole-file reads, and replacing a file by renaming.
#include <cstdint>
#include <string>
#include <vector>

namespace kalvora {
class Platform;
class Stream;
} // namespace kalvora

namespace kalvora::tool {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// The last element of a path ("dir/a.txt" -> "a.txt"); on Windows "\" separates too.
std::string lastPathElement(const std::string& path);
// dir + separator + name, without doubling a separator dir already ends in.
std::string joinPath(const std::string& dir, const std::string& name);
// ASCII letters compared without regard to case, as the archive compares names.
bool equalIgnoringCase(const std::string& a, const std::string& b);

// The whole content of a file; raises kalvora::Exception naming the path.
std::vector<std::uint8_t> readWholeFile(Platform& platform, const std::string& path);
// The whole content of the file at path, open in stream (none when it could
// not be opened); raises as readWholeFile.
std::vector<std::uint8_t> readWholeStream(Stream* stream, const std::string& path);
// Creates a directory and its missing parents; raises kalvora::Exception.
void createDirectories(const std::string& path);
// Moves `from` over `to`, replacing it; raises kalvora::Exception.
void replaceFile(const std::string& from, const std::string& to);

} // namespace kalvora::tool
