#pragma once
// Registry keys named with their root: "HKLM\\...", "HKCU\\..." or "HKCR\\...".
#include <string>

namespace kvdrive {

void regSet(std::string key, const std::string& name, const std::string& value);
// A string value, or "(missing)" when the key or value is missing.
std::string regGet(std::string key, const std::string& name);
// A missing key is already deleted.
void regDelete(std::string key);

} // namespace kvdrive
