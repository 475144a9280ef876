#include "script/SetupScript.h"

#include <cstdint>
#include <string_view>

#include "platform/Errors.h"

namespace kalvora {
namespace {

constexpr std::size_t kMaxValue = 1023;

int digitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9')
    v = c - '0';
  else if (c >= 'a' && c <= 'f')
    v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    v = c - 'A' + 10;
  return v < base ? v : -1;
}

// Digits only, no blanks; nullopt when empty, foreign or above limit.
std::optional<std::uint64_t> parseDigits(std::string_view digits, int base, std::uint64_t limit) {
  if (digits.empty()) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int d = digitValue(c, base);
    if (d < 0) return std::nullopt;
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
    if (value > limit) return std::nullopt;
  }
  return value;
}

} // namespace

std::optional<std::int32_t> parseScriptInteger(const std::string& text) {
  std::string_view s = text;
  if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) {
    // Hexadecimal gives the 32-bit pattern: 0xFFFFFFFF is -1.
    const auto v = parseDigits(s.substr(2), 16, 0xFFFFFFFFu);
    if (!v) return std::nullopt;
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(*v));
  }
  bool negative = false;
  if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
    negative = s[0] == '-';
    s.remove_prefix(1);
  }
  const std::uint64_t limit = negative ? 0x80000000u : 0x7FFFFFFFu;
  const auto v = parseDigits(s, 10, limit);
  if (!v) return std::nullopt;
  const auto signedValue = negative ? -static_cast<std::int64_t>(*v) : static_cast<std::int64_t>(*v);
  return static_cast<std::int32_t>(signedValue);
}

SetupScript::SetupScript(std::string path, Platform& platform) : path_(std::move(path)), platform_(platform) {}

std::unique_ptr<SetupScript> SetupScript::snapshot(std::string path, Platform& platform) {
  auto script = std::make_unique<SetupScript>(std::move(path), platform);
  script->takeSnapshot();
  return script;
}

void SetupScript::takeSnapshot() {
  snapshot_ = std::make_unique<IniSnapshot>(platform_.readFileText(path_).value_or(""));
}

std::string SetupScript::ReadString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue) const {
  const std::string sectionName(section), keyName(key), defaultText(defaultValue);
  std::string value = snapshot_ ? snapshot_->read(sectionName, keyName, defaultText)
                                : platform_.readProfileString(path_, sectionName, keyName, defaultText);
  if (value.size() > kMaxValue) value.resize(kMaxValue);
  return value;
}

std::int32_t SetupScript::ReadInteger(std::string_view section, std::string_view key, std::int32_t defaultValue) const {
  return parseScriptInteger(ReadString(section, key, "")).value_or(defaultValue);
}

bool SetupScript::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

Status SetupScript::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  // An entry is one line: a name with a line break could not be found again, and
  // a value's line break would write further entries. The value keeps what a
  // reader would see of it.
  const auto lineBreak = [](const std::string& s) { return s.find_first_of("\r\n"); };
  if (lineBreak(section) != std::string::npos || lineBreak(key) != std::string::npos) return EIniFileException(path_);
  if (!platform_.writeProfileString(path_, section, key, value.substr(0, lineBreak(value))))
    return EIniFileException(path_);
  if (snapshot_) takeSnapshot();
  return {};
}

Status SetupScript::WriteInteger(const std::string& section, const std::string& key, std::int32_t value) {
  return WriteString(section, key, std::to_string(value));
}

} // namespace kalvora
