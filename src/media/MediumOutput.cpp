#include "media/MediumOutput.h"

#include <system_error>

#include "media/Project.h"
#include "platform/Errors.h"

namespace kalvora::media {
namespace fs = std::filesystem;

bool replaceableOutput(const fs::path& dir, std::string& why) {
  std::error_code ec;
  const auto status = fs::status(dir, ec);
  if (!fs::exists(status)) return true;
  if (!fs::is_directory(status)) {
    why = "it exists and is not a directory";
    return false;
  }
  if (fs::is_empty(dir, ec)) return true;
  if (fs::is_regular_file(dir / "setup.inf", ec) || fs::is_regular_file(dir / "disk1" / "setup.inf", ec)) return true;
  why = "it is not empty and holds no medium (no setup.inf), so the build will not replace it";
  return false;
}

StagedOutput::StagedOutput(fs::path target) {
  target = fs::absolute(target).lexically_normal();
  if (!target.has_filename()) target = target.parent_path();
  target_ = target;
  const std::string name = utf8Of(target_.filename());
  staging_ = target_.parent_path() / pathFromUtf8("." + name + ".kalvora-new");
  previous_ = target_.parent_path() / pathFromUtf8("." + name + ".kalvora-old");
}

StagedOutput::~StagedOutput() {
  std::error_code ec;
  if (created_ && !committed_) fs::remove_all(staging_, ec);
}

void StagedOutput::create() {
  std::error_code ec;
  fs::remove_all(staging_, ec);
  fs::create_directories(staging_, ec);
  if (ec) throw Exception("cannot create " + utf8Of(staging_) + ": " + ec.message());
  created_ = true;
}

void StagedOutput::commit() {
  std::error_code ec;
  fs::remove_all(previous_, ec);
  const bool hadOld = fs::exists(target_, ec);
  if (hadOld) {
    fs::rename(target_, previous_, ec);
    if (ec) throw Exception("cannot move the old medium " + utf8Of(target_) + " aside: " + ec.message());
  }
  fs::rename(staging_, target_, ec);
  if (ec) {
    std::error_code undo;
    if (hadOld) fs::rename(previous_, target_, undo);
    throw Exception("cannot move the medium into " + utf8Of(target_) + ": " + ec.message());
  }
  committed_ = true;
  if (hadOld) fs::remove_all(previous_, ec);
}

} // namespace kalvora::media
