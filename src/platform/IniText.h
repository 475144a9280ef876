#pragma once
// The INI rules of GetPrivateProfileStringA / WritePrivateProfileStringA over
// the text of a file, for platforms that lack those calls.
#include <string>

namespace kalvora {

// The value of key in section of the INI text, or defaultValue; at most 1023 characters.
std::string iniRead(const std::string& content, const std::string& section, const std::string& key,
                    const std::string& defaultValue);

// The INI text after writing key=value into section.
std::string iniWrite(const std::string& content, const std::string& section, const std::string& key,
                     const std::string& value);

} // namespace kalvora
