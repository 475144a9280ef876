#include "install/ScriptPaths.h"

#include <algorithm>
#include <string_view>

#include "platform/NoCase.h"
#include "platform/Paths.h"

namespace kalvora {

EUnsafeScriptPath::EUnsafeScriptPath(const std::string& path) : Exception("Ungültiger Pfad in setup.inf: " + path) {}

bool staysBelowRoot(const std::string& relative) {
  return !relative.empty() && (relative[0] == '\\' || relative[0] == '/') && staysInsideRoot(relative);
}

Status requireBelowRoot(const std::string& relative) {
  if (!staysBelowRoot(relative)) return EUnsafeScriptPath(relative);
  return {};
}

EInvalidScriptValue::EInvalidScriptValue(const std::string& what)
    : Exception("Ungültiger Wert in setup.inf: " + what) {}

bool isPlainFileName(const std::string& name) {
  if (name.empty() || name.find_first_not_of(". ") == std::string::npos) return false;
  for (unsigned char c : name)
    if (c < 0x20 || std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) return false;
  return !isDeviceName(name);
}

bool isPlainDirectoryValue(const std::string& relative) {
  if (!staysBelowRoot(relative)) return false;
  std::size_t begin = 1;
  while (begin < relative.size()) {
    const std::size_t end = std::min(relative.find_first_of("\\/", begin), relative.size());
    const std::string part = relative.substr(begin, end - begin);
    if (part != "." && !isPlainFileName(part)) return false;
    begin = end + 1;
  }
  return true;
}

bool isDosBackupName(const std::string& name) {
  return isPlainFileName(name) && !containsNoCase(name, "autoexec.bat") && !containsNoCase(name, "config.sys");
}

std::string fileNamePart(const std::string& path) {
  const auto cut = path.find_last_of("\\:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string containingDirectory(const std::string& path) {
  const auto cut = path.find_last_of("\\:");
  return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

std::string numberedKey(std::string_view prefix, std::int64_t number) {
  std::string key(prefix);
  key += std::to_string(number);
  return key;
}

bool isRegistrableExtension(const std::string& extension) {
  return !extension.empty() && extension.find('\\') == std::string::npos;
}

} // namespace kalvora
