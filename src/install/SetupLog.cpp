#include "install/SetupLog.h"

#include <cstdio>

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

void SetupLog::line(const std::string& kind, const std::string& what) {
  char time[16] = "--:--:--";
  if (platform_) {
    const DosTime now = platform_->localTime();
    std::snprintf(time, sizeof time, "%02d:%02d:%02d", now.hour % 100, now.minute % 100, now.second % 100);
  }
  std::string text = std::string(time) + " " + kind;
  if (!what.empty()) text += " " + what;
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
