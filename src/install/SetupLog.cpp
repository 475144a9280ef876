#include "install/SetupLog.h"

#include "platform/DosTimeText.h"

namespace kalvora {

void SetupLog::open(const std::string& path, Platform& platform) {
  platform_ = &platform;
  file_ = platform.openFile(path, OpenMode::ReadWrite);
  if (!file_) file_ = platform.openFile(path, OpenMode::Create);
  if (!file_) return;
  file_->seek(file_->size());
  for (const std::string& text : lines_)
    put(text);
}

void SetupLog::line(std::string_view kind, std::string_view what) {
  std::string text = platform_ ? clockText(platform_->localTime()) : "--:--:--";
  text.append(" ").append(kind);
  if (!what.empty()) text.append(" ").append(what);
  lines_.push_back(text);
  put(text);
  const std::string record = text + "\r\n";
  if (copy_ && copy_->write(record.data(), record.size()) != record.size()) copy_.reset();
}

void SetupLog::put(const std::string& text) {
  // A write refused on the way (a full disk) closes the file: later lines are only held.
  if (!file_) return;
  const std::string record = text + "\r\n";
  if (file_->write(record.data(), record.size()) != record.size()) file_.reset();
}

} // namespace kalvora
