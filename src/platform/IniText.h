#pragma once
// The INI rules of GetPrivateProfileStringA / WritePrivateProfileStringA over
// the text of a file, for platforms that lack those calls.
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace kalvora {

// The value of key in section of the INI text, or defaultValue; at most 1023 characters.
std::string iniRead(const std::string& content, const std::string& section, const std::string& key,
                    const std::string& defaultValue);

// The INI text after writing key=value into section.
std::string iniWrite(const std::string& content, const std::string& section, const std::string& key,
                     const std::string& value);

// The names of the entries of a section, in file order (GetPrivateProfileStringA with no key).
std::vector<std::string> iniKeys(const std::string& content, const std::string& section);

// The INI text without the entry key of section (WritePrivateProfileStringA with no value).
std::string iniDelete(const std::string& content, const std::string& section, const std::string& key);

// Whether the INI text holds any entry (rather than only blank lines, comments and headers).
bool iniHasEntries(const std::string& content);
// An INI text parsed once for many reads: each read gives what iniRead gives
// on the same text, without going through the text again.
class IniSnapshot {
public:
  explicit IniSnapshot(const std::string& content);
  std::string read(const std::string& section, const std::string& key, const std::string& defaultValue) const;

private:
  // Key in lower case -> the value of its first entry (none for an entry without "=").
  using Entries = std::unordered_map<std::string, std::optional<std::string>>;
  // Section name in lower case -> its first occurrence's entries; "" is the nameless section.
  std::unordered_map<std::string, Entries> sections_;
};

} // namespace kalvora
