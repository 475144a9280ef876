#include "install/ScriptPaths.h"

#include <algorithm>
#include <cctype>
#include <iterator>
#include <string_view>

#include "platform/NoCase.h"
#include "platform/Paths.h"

namespace kalvora {

EUnsafeScriptPath::EUnsafeScriptPath(const std::string& path) : Exception("Ungültiger Pfad in setup.inf: " + path) {}

bool staysBelowRoot(const std::string& relative) {
  return !relative.empty() && (relative[0] == '\\' || relative[0] == '/') && staysInsideRoot(relative);
}

void requireBelowRoot(const std::string& relative) {
  if (!staysBelowRoot(relative)) throw EUnsafeScriptPath(relative);
}

EInvalidScriptValue::EInvalidScriptValue(const std::string& what)
    : Exception("Ungültiger Wert in setup.inf: " + what) {}

namespace {

bool isDeviceName(const std::string& name) {
  std::string base = name.substr(0, name.find('.'));
  while (!base.empty() && base.back() == ' ')
    base.pop_back();
  for (char& c : base)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  static const char* const kDevices[] = {"CON", "PRN", "AUX", "NUL", "CLOCK$"};
  if (std::find(std::begin(kDevices), std::end(kDevices), base) != std::end(kDevices)) return true;
  return base.size() == 4 && (base.compare(0, 3, "COM") == 0 || base.compare(0, 3, "LPT") == 0) && base[3] >= '1' &&
         base[3] <= '9';
}

} // namespace

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

std::string numberedKey(const std::string& prefix, std::int64_t number) {
  std::string key = prefix;
  key += std::to_string(number);
  return key;
}

bool isRegistrableExtension(const std::string& extension) {
  return !extension.empty() && extension.find('\\') == std::string::npos;
}

} // namespace kalvora
