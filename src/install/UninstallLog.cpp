#include "install/UninstallLog.h"

#include "platform/Errors.h"
#include "platform/IniText.h"

namespace kalvora {

void UninstallLog::open(const std::string& path, Platform& platform) {
  platform_ = &platform;
  path_ = path;
  file_.reset();
  onDisk_ = platform.readFileText(path).value_or("");
  editor_ = IniEditor(onDisk_);
  held_ = unwritten_ = false;
}

void UninstallLog::close() {
  if (!platform_) return;
  held_ = false;
  // Records still unwritten here were refused when they were offered, and that was given then.
  static_cast<void>(flush());
  file_.reset();
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
  std::string text = editor_.text();
  if (!rewrite(text)) {
    // A full disk refuses the growth, not the bytes already there: putting those
    // back keeps every earlier record for the rollback.
    rewrite(onDisk_);
    return EIniFileException(path_);
  }
  onDisk_ = std::move(text);
  unwritten_ = false;
  return {};
}

bool UninstallLog::rewrite(const std::string& text) {
  // Opened once, at the first write, and kept open until the log is closed: the
  // run flushes for every file. Opened without truncating, so that a refused
  // write leaves the earlier log readable.
  if (!file_) file_ = platform_->openFile(path_, OpenMode::ReadWrite);
  if (!file_) file_ = platform_->openFile(path_, OpenMode::Create);
  if (!file_) return false;
  file_->seek(0);
  if (file_->write(text.data(), text.size()) != text.size()) return false;
  return file_->size() == static_cast<std::int64_t>(text.size()) || file_->truncate();
}

} // namespace kalvora
