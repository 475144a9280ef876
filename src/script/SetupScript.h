#pragma once
// SetupScript: read and write access to one INI file by section, key and
// default. Every access goes to the file through the platform; nothing is
// cached, except in a snapshot.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Errors.h"
#include "platform/IniText.h"
#include "platform/Platform.h"

namespace kalvora {

class SetupScript {
public:
  explicit SetupScript(std::string path, Platform& platform = systemPlatform());
  // The file read once, now (a missing file reads as empty): later reads come
  // from that text, for a file that nothing else changes meanwhile. Writes go
  // to the file, and the text is read anew after each.
  static std::unique_ptr<SetupScript> snapshot(std::string path, Platform& platform);
  // A snapshot of this script's file, through the same platform.
  std::unique_ptr<SetupScript> readOnce() const { return snapshot(path_, platform_); }

  const std::string& path() const { return path_; }

  // The reads take views: most callers name section, key and default as
  // literals, which then become strings once, here, rather than at every call.
  // The value (at most 1023 characters), or the default when key or section is missing.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  // Decimal, or hexadecimal after "0x"/"0X" when longer than 2 characters; the default when empty or malformed.
  std::int32_t ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const;
  // Read as an integer with default 1 or 0; true when non-zero.
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  // A refused write gives EIniFileException ("Kann nicht nach %s schreiben"), and so
  // does a section or key with a line break (nothing is written then); a value is
  // written up to its first line break.
  Status WriteString(const std::string& section, const std::string& key, const std::string& value);
  Status WriteInteger(const std::string& section, const std::string& key, std::int32_t value);

private:
  void takeSnapshot();

  std::string path_;
  Platform& platform_;
  std::unique_ptr<IniSnapshot> snapshot_;
};

// The integer rule of the script: decimal, or hexadecimal after "0x" when longer than 2 characters.
std::optional<std::int32_t> parseScriptInteger(const std::string& text);

} // namespace kalvora
