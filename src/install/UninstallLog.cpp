#include "install/UninstallLog.h"

#include "install/ScriptPaths.h"
#include "platform/Errors.h"
#include "platform/IniText.h"
#include "script/WorkFiles.h"

namespace kalvora {

void UninstallLog::open(const std::string& path, Platform& platform) {
  platform_ = &platform;
  path_ = path;
  editor_ = IniEditor(platform.readFileText(path).value_or(""));
  held_ = unwritten_ = false;
}

void UninstallLog::close() {
  if (!platform_) return;
  held_ = false;
  // Records still unwritten here were refused when they were offered, and that was given then.
  static_cast<void>(flush());
  platform_ = nullptr;
}

Status UninstallLog::write(std::string_view section, std::string_view key, std::string_view value) {
  if (!platform_) return {};
  // A name with a line break could not be found again.
  if (section.find_first_of("\r\n") != std::string_view::npos || key.find_first_of("\r\n") != std::string_view::npos)
    return EIniFileException(path_);
  if (editor_.write(section, key, value)) unwritten_ = true;
  return held_ ? Status() : flush();
}

Status UninstallLog::writeInteger(std::string_view section, std::string_view key, std::int64_t value) {
  return write(section, key, std::to_string(value));
}

Status UninstallLog::writeBool(std::string_view section, std::string_view key, bool value) {
  return write(section, key, value ? "1" : "0");
}

Status UninstallLog::hold(bool held) {
  held_ = held;
  return held ? Status() : flush();
}

Status UninstallLog::flush() {
  if (!platform_ || !unwritten_) return {};
  if (!replace(editor_.text())) return EIniFileException(path_);
  unwritten_ = false;
  return {};
}

bool UninstallLog::replace(const std::string& text) {
  const std::string beside = containingDirectory(path_) + "\\" + std::string(kUninstallLogBesideName);
  bool written = false;
  {
    // Closed before the move: an open file cannot be moved on Windows.
    const std::unique_ptr<Stream> file = platform_->openFile(beside, OpenMode::Create);
    written = file && file->write(text.data(), text.size()) == text.size() && file->flush();
  }
  if (written && platform_->moveFile(beside, path_)) return true;
  platform_->deleteFile(beside);
  return false;
}

} // namespace kalvora
