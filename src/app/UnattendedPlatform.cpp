#include "app/UnattendedPlatform.h"

#include <algorithm>

#include "app/StartUp.h"
#include "app/UnattendedChoices.h"
#include "platform/NoCase.h"

namespace kalvora {
namespace {

// The volume number of a name "zdata_NN.dsk"; nothing for other names.
std::optional<int> volumeNumberOf(const std::string& name) {
  constexpr std::size_t kPrefix = 6, kSuffix = 4; // "zdata_", ".dsk"
  if (name.size() <= kPrefix + kSuffix || !sameNoCase(name.substr(0, kPrefix), "zdata_") ||
      !sameNoCase(name.substr(name.size() - kSuffix), ".dsk"))
    return std::nullopt;
  const std::string digits = name.substr(kPrefix, name.size() - kPrefix - kSuffix);
  if (digits.size() > 4) return std::nullopt;
  int number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    number = number * 10 + (c - '0');
  }
  return number;
}

} // namespace

UnattendedPlatform::UnattendedPlatform(Platform& inner, const SetupSwitches& switches, SetupLog& log)
    : ForwardingPlatform(inner), mode_(switches.mode), source_(switches.source),
      sourceDir_(sourceDirOf(inner.programPath())), log_(&log) {
  if (source_ && !source_->empty() && source_->back() != '\\') *source_ += '\\';
}

MessageResult UnattendedPlatform::messageBox(const std::string& text, const std::string& caption,
                                             MessageButtons buttons, MessageIcon icon) {
  log_->line("message", caption + ": " + oneLine(text));
  if (mode_ == UiMode::Interactive) return ForwardingPlatform::messageBox(text, caption, buttons, icon);
  switch (buttons) {
  case MessageButtons::Ok: return MessageResult::Ok;
  case MessageButtons::OkCancel: ++questions_; return MessageResult::Cancel;
  case MessageButtons::YesNo: ++questions_; return MessageResult::No;
  }
  return MessageResult::Cancel;
}

bool UnattendedPlatform::startHiddenProgram(const std::string& commandLine) {
  return runHiddenProgram(commandLine).has_value();
}

std::optional<std::uint32_t> UnattendedPlatform::runHiddenProgram(const std::string& commandLine) {
  log_->line("rollback", commandLine);
  // The uninstaller appends its account of every run to unkalvora.log in the
  // temporary directory: what the file holds before is other runs' account.
  const std::string accountPath = inner_.tempDirectory() + "\\unkalvora.log";
  const std::string earlier = inner_.readFileText(accountPath).value_or("");
  const auto exitCode = inner_.runHiddenProgram(commandLine);
  if (!exitCode) {
    log_->line("rollback", "the uninstaller could not be started: nothing was rolled back");
    return std::nullopt;
  }
  const auto account = inner_.readFileText(accountPath);
  // A file begun anew (removed meanwhile, say) is this run's account alone.
  const std::size_t own = account && account->starts_with(earlier) ? earlier.size() : 0;
  for (std::size_t at = own; account && at < account->size();) {
    const std::size_t end = std::min(account->find('\n', at), account->size());
    std::string text = account->substr(at, end - at);
    if (!text.empty() && text.back() == '\r') text.pop_back();
    if (!text.empty()) log_->line("rollback", text);
    at = end + 1;
  }
  log_->line("rollback", *exitCode == 0 ? "done: everything the run made is removed"
                                        : "the uninstaller ended with " + std::to_string(*exitCode) +
                                              ": something was left (see the lines above)");
  return exitCode;
}

bool UnattendedPlatform::startProgram(const std::string& commandLine) {
  if (mode_ == UiMode::Quiet) return inner_.startHiddenProgram(commandLine);
  return inner_.startProgram(commandLine);
}

std::string UnattendedPlatform::volumePath(const std::string& path) {
  const auto cut = path.find_last_of('\\');
  if (!source_ || cut == std::string::npos || !sameNoCase(path.substr(0, cut + 1), sourceDir_)) return path;
  const std::string name = path.substr(cut + 1);
  const auto number = volumeNumberOf(name);
  if (!number || inner_.fileInfo(path)) return path;
  for (const std::string& candidate : {*source_ + name, *source_ + "disk" + std::to_string(*number) + "\\" + name})
    if (const auto info = inner_.fileInfo(candidate); info && !info->isDirectory) return candidate;
  return path;
}

std::optional<FileInfo> UnattendedPlatform::fileInfo(const std::string& path) {
  return inner_.fileInfo(volumePath(path));
}

std::unique_ptr<Stream> UnattendedPlatform::openFile(const std::string& path, OpenMode mode) {
  return inner_.openFile(mode == OpenMode::Create ? path : volumePath(path), mode);
}

// volumePath asks only the system's file information, which any thread may.
std::unique_ptr<Stream> UnattendedPlatform::openFileForWorker(const std::string& path) {
  return inner_.openFileForWorker(volumePath(path));
}

} // namespace kalvora
