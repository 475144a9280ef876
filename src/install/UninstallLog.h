#pragma once
// The uninstall log uninst.log: an INI file that records what the run creates.
// Every write is a no-op while the log is not open (the script's uniyes=0);
// a refused write raises EIniFileException.
#include <cstdint>
#include <memory>
#include <string>

#include "script/SetupScript.h"

namespace kalvora {

class UninstallLog {
public:
  void open(const std::string& path, Platform& platform);
  void close() { file_.reset(); }
  bool isOpen() const { return file_ != nullptr; }

  void write(const std::string& section, const std::string& key, const std::string& value);
  void writeInteger(const std::string& section, const std::string& key, std::int64_t value);
  void writeBool(const std::string& section, const std::string& key, bool value);

private:
  std::unique_ptr<SetupScript> file_;
};

} // namespace kalvora
