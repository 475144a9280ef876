#include "LocalFiles.h"

#include <cctype>
#include <filesystem>
#include <system_error>

#include "platform/Errors.h"
#include "platform/Platform.h"

namespace kalvora::tool {

namespace {
bool isSeparator(char c) {
#ifdef _WIN32
  return c == '\\' || c == '/';
#else
  return c == '/';
#endif
}
} // namespace

std::string lastPathElement(const std::string& path) {
  std::size_t end = path.size();
  while (end > 0 && isSeparator(path[end - 1]))
    --end;
  std::size_t start = end;
  while (start > 0 && !isSeparator(path[start - 1]))
    --start;
#ifdef _WIN32
  if (start == 0 && end >= 2 && path[1] == ':') start = 2; // "C:name"
#endif
  return path.substr(start, end - start);
}

std::string joinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  if (isSeparator(dir.back())) return dir + name;
  return dir + kPathSeparator + name;
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::vector<std::uint8_t> readWholeFile(Platform& platform, const std::string& path) {
  const auto info = platform.fileInfo(path);
  if (!info) throw Exception("cannot read '" + path + "': no such file");
  if (info->isDirectory) throw Exception("cannot read '" + path + "': it is a directory");
  return readWholeStream(platform.openFile(path, OpenMode::ReadExclusive).get(), path);
}

std::vector<std::uint8_t> readWholeStream(Stream* stream, const std::string& path) {
  if (!stream) throw Exception("cannot read '" + path + "': it cannot be opened");
  const std::int64_t size = stream->size();
  if (size < 0) throw Exception("cannot read '" + path + "': its size is unknown");
  if (size > 0x7FFFFFFF)
    throw Exception("cannot store '" + path + "': an archive member holds at most 2147483647 bytes");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  if (stream->read(bytes.data(), bytes.size()) != bytes.size())
    throw Exception("cannot read '" + path + "': it ended early");
  return bytes;
}

void createDirectories(const std::string& path) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(path), error);
  if (error || !std::filesystem::is_directory(std::filesystem::path(path)))
    throw Exception("cannot create directory '" + path + "'" + (error ? ": " + error.message() : ""));
}

void replaceFile(const std::string& from, const std::string& to) {
  std::error_code error;
  std::filesystem::rename(std::filesystem::path(from), std::filesystem::path(to), error);
  if (error) throw Exception("cannot write '" + to + "': " + error.message());
}

} // namespace kalvora::tool
