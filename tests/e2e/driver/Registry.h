#pragma once
// Registry keys named with their root: "HKLM\\...", "HKCU\\..." or "HKCR\\..."
// in the view of this 32-bit program (as setup.exe sees them), or "HKLM64\\...",
// "HKCU64\\..." or "HKCR64\\..." in the 64-bit view of a 64-bit Windows (a
// 32-bit one has only the one view).
#include <string>

namespace kvdrive {

void regSet(std::string key, const std::string& name, const std::string& value);
// A string value, or "(missing)" when the key or value is missing.
std::string regGet(std::string key, const std::string& name);
// A missing key is already deleted.
void regDelete(std::string key);

} // namespace kvdrive
