#include "Registry.h"

#include <windows.h>

#include <cstring>

#include "Failure.h"

namespace kvdrive {
namespace {

HKEY rootOf(std::string& key) {
  const std::pair<const char*, HKEY> roots[] = {
      {"HKLM\\", HKEY_LOCAL_MACHINE}, {"HKCU\\", HKEY_CURRENT_USER}, {"HKCR\\", HKEY_CLASSES_ROOT}};
  for (const auto& [prefix, root] : roots)
    if (key.rfind(prefix, 0) == 0) {
      key.erase(0, std::string(prefix).size());
      return root;
    }
  throw Failure("registry key must start with HKLM\\, HKCU\\ or HKCR\\: " + key);
}

} // namespace

void regSet(std::string key, const std::string& name, const std::string& value) {
  HKEY root = rootOf(key), h = nullptr;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS)
    throw Failure("cannot create key " + key);
  RegSetValueExA(h, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(h);
}

std::string regGet(std::string key, const std::string& name) {
  HKEY root = rootOf(key), h = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return "(missing)";
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
  HKEY root = rootOf(key);
  RegDeleteKeyA(root, key.c_str()); // a missing key is already deleted
}

} // namespace kvdrive
