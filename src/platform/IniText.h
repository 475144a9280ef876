#pragma once
// The INI rules of GetPrivateProfileStringA / WritePrivateProfileStringA over
// the text of a file, for platforms that lack those calls.
#include <string>
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

} // namespace kalvora
