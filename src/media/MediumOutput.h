#pragma once
// The output directory of a build, written through a staging directory beside
// it: the finished medium replaces the old one in two renames, and a build
// that stops leaves the old medium (or nothing) in place.
#include <filesystem>
#include <string>

namespace kalvora::media {

// A directory that a build may replace: missing, empty, or an earlier medium
// (setup.inf, or disk1/setup.inf, at its top).
bool replaceableOutput(const std::filesystem::path& dir, std::string& why);

class StagedOutput {
public:
  explicit StagedOutput(std::filesystem::path target);
  ~StagedOutput();
  StagedOutput(const StagedOutput&) = delete;
  StagedOutput& operator=(const StagedOutput&) = delete;

  const std::filesystem::path& target() const { return target_; }
  const std::filesystem::path& staging() const { return staging_; }
  const std::filesystem::path& previous() const { return previous_; }
  // Assembles the medium in dir instead (a dry run's scratch directory), which
  // is removed in the end unless committed.
  void stageIn(std::filesystem::path dir) { staging_ = std::move(dir); }
  // Creates an empty staging directory (removing one left by a killed build).
  void create();
  // Moves the staging directory into place. Raises kalvora::Exception.
  void commit();

private:
  std::filesystem::path target_, staging_, previous_;
  bool created_ = false;
  bool committed_ = false;
};

} // namespace kalvora::media
