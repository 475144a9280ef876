#include "install/UninstallLog.h"

namespace kalvora {

void UninstallLog::open(const std::string& path, Platform& platform) {
  file_ = std::make_unique<SetupScript>(path, platform);
}

void UninstallLog::write(const std::string& section, const std::string& key, const std::string& value) {
  if (file_) file_->WriteString(section, key, value);
}

void UninstallLog::writeInteger(const std::string& section, const std::string& key, std::int64_t value) {
  write(section, key, std::to_string(value));
}

void UninstallLog::writeBool(const std::string& section, const std::string& key, bool value) {
  write(section, key, value ? "1" : "0");
}

} // namespace kalvora
