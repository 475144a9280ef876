#include "Registry.h"

#include <windows.h>

#include <cstring>

#include "Failure.h"

namespace kvdrive {
namespace {

struct Root {
  HKEY key;
  REGSAM view; // 0: this program's own
};

Root rootOf(std::string& key) {
  const std::pair<const char*, HKEY> roots[] = {
      {"HKLM", HKEY_LOCAL_MACHINE}, {"HKCU", HKEY_CURRENT_USER}, {"HKCR", HKEY_CLASSES_ROOT}};
  for (const auto& [prefix, root] : roots)
    for (const bool wide : {false, true}) {
      const std::string start = std::string(prefix) + (wide ? "64\\" : "\\");
      if (key.rfind(start, 0) != 0) continue;
      key.erase(0, start.size());
      return {root, wide ? static_cast<REGSAM>(KEY_WOW64_64KEY) : 0};
    }
  throw Failure("registry key must start with HKLM\\, HKCU\\ or HKCR\\ (or HKLM64\\...): " + key);
}

} // namespace

void regSet(std::string key, const std::string& name, const std::string& value) {
  const Root root = rootOf(key);
  HKEY h = nullptr;
  if (RegCreateKeyExA(root.key, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | root.view, nullptr, &h, nullptr) !=
      ERROR_SUCCESS)
    throw Failure("cannot create key " + key);
  RegSetValueExA(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(h);
}

std::string regGet(std::string key, const std::string& name) {
  const Root root = rootOf(key);
  HKEY h = nullptr;
  if (RegOpenKeyExA(root.key, key.c_str(), 0, KEY_READ | root.view, &h) != ERROR_SUCCESS) return "(missing)";
  char data[1024] = "";
  DWORD size = sizeof data - 1, type = 0;
  const LONG result = RegQueryValueExA(h, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(h);
  if (result != ERROR_SUCCESS) return "(missing)";
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD number = 0;
    std::memcpy(&number, data, sizeof number);
    return "dword:" + std::to_string(number);
  }
  return std::string(data, strnlen(data, size));
}

void regDelete(std::string key) {
  const Root root = rootOf(key);
  // A missing key is already deleted.
  if (root.view)
    RegDeleteKeyExA(root.key, key.c_str(), root.view, 0);
  else
    RegDeleteKeyA(root.key, key.c_str());
}

} // namespace kvdrive
