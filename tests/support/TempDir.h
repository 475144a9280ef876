#pragma once
// A fresh directory under the system's temporary directory, removed with its
// content when the object goes.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace kalvora::testing {

class TempDir {
public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
  std::filesystem::path path_;
};

void writeBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> readBytes(const std::string& path);

} // namespace kalvora::testing
