#pragma once
// The uninstall log uninst.log: an INI file that records what the run creates.
// Every write is a no-op while the log is not open (the script's uniyes=0).
// The log is kept in memory and written whole to its file, at once after each
// record, or, while records are held (the file stage), at each flush: the run
// flushes wherever it may stop and before each file's data are written.
// Each write goes to a file beside the log (kUninstallLogBesideName), is flushed
// to the disk and then moved over the log, so that a power cut or a kill leaves
// the previous log or the new one, whole, never a torn one.
// A refused write gives EIniFileException; the log on disk then stays as it was.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/Errors.h"
#include "platform/IniText.h"
#include "platform/Platform.h"

namespace kalvora {

class UninstallLog {
public:
  // Takes up what a log already there holds: keys the run does not write keep their values.
  void open(const std::string& path, Platform& platform);
  // Writes what is unwritten, then closes; records are offered to the file (and
  // a refusal given) when written or when released from hold, not here.
  void close();
  bool isOpen() const { return platform_ != nullptr; }

  // Views: most sections and keys are literals, made into strings only where a write needs them.
  Status write(std::string_view section, std::string_view key, std::string_view value);
  Status writeInteger(std::string_view section, std::string_view key, std::int64_t value);
  Status writeBool(std::string_view section, std::string_view key, bool value);

  // While held, records stay in memory until the next flush; releasing flushes.
  Status hold(bool held);
  // Writes the log to its file when it holds records the file lacks.
  Status flush();
  // The log as its file holds it after the next flush.
  std::string text() const { return editor_.text(); }

private:
  // Puts text in place of the log's file, durably; false when that is refused.
  bool replace(const std::string& text);

  Platform* platform_ = nullptr;
  std::string path_;
  IniEditor editor_{std::string()};
  bool held_ = false, unwritten_ = false;
};

} // namespace kalvora
