#pragma once
// Helpers of the media tests: files with known bytes,
// and reading a built medium back with the project's own script and archive code.
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "media/MediumBuilder.h"
#include "support/TempDir.h"

namespace kalvora::media::test {

using kalvora::testing::TempDir;

// Bytes that compress partly: runs, text and noise, fixed by the seed.
std::vector<std::uint8_t> mixedBytes(std::size_t size, std::uint32_t seed);
// Bytes that do not compress.
std::vector<std::uint8_t> noiseBytes(std::size_t size, std::uint32_t seed);

void writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);
void writeText(const std::filesystem::path& path, const std::string& text);
std::vector<std::uint8_t> readBytes(const std::filesystem::path& path);
std::string readText(const std::filesystem::path& path);

// Builds quietly; the summary, or the diagnostics' texts joined in failed.
struct BuildOutcome {
  bool ok = false;
  BuildSummary summary;
  std::string diagnostics; // every error and warning, one a line
};
BuildOutcome build(const std::filesystem::path& project, const std::filesystem::path& output);

// Every file entry of the medium, read and expanded as the setup would:
// "[Option_k] fj" -> bytes. Faults land in faults.
std::map<std::string, std::vector<std::uint8_t>> readBack(const std::string& mediumDir,
                                                          std::vector<std::string>& faults);

// Every regular file below dir, relative path -> bytes.
std::map<std::string, std::vector<std::uint8_t>> treeContents(const std::filesystem::path& dir);

// A key of setup.inf, read with the project's script reader.
std::string scriptValue(const std::string& mediumDir, const std::string& section, const std::string& key);

} // namespace kalvora::media::test
