#include "uninstall/RemovalPaths.h"

#include <algorithm>
#include <cctype>

#include "install/ScriptPaths.h"
#include "platform/NoCase.h"

namespace kalvora {
namespace {

std::string folded(const std::string& path) {
  std::string out = lowerCase(withoutTrailingSeparators(path));
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

} // namespace

bool entryStaysBelow(const std::string& relative) {
  const std::string trimmed = withoutTrailingSeparators(relative);
  auto separator = [](char c) { return c == '\\' || c == '/'; };
  // Two separators in a row start a UNC path.
  const bool doubled = std::adjacent_find(trimmed.begin(), trimmed.end(), [&](char a, char b) {
                         return separator(a) && separator(b);
                       }) != trimmed.end();
  return staysBelowRoot(trimmed) && trimmed.size() > 1 && !doubled;
}

std::optional<std::string> partBelow(const std::string& path, const std::string& root) {
  const std::string p = folded(path), r = folded(root);
  if (r.empty() || p.size() <= r.size() || p.compare(0, r.size(), r) != 0 || p[r.size()] != '\\') return std::nullopt;
  const std::string rest = withoutTrailingSeparators(path).substr(r.size());
  if (!entryStaysBelow(rest)) return std::nullopt;
  return rest;
}

std::string withoutTrailingSeparators(std::string path) {
  while (path.size() > 1 && (path.back() == '\\' || path.back() == '/'))
    path.pop_back();
  return path;
}

bool samePath(const std::string& a, const std::string& b) { return folded(a) == folded(b); }

bool isDriveDirectory(const std::string& path) {
  const std::string p = withoutTrailingSeparators(path);
  return p.size() > 3 && std::isalpha(static_cast<unsigned char>(p[0])) && p[1] == ':' && p[2] == '\\' &&
         entryStaysBelow(p.substr(2));
}

} // namespace kalvora
