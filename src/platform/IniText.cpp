#include "platform/IniText.h"

#include <cctype>
#include <string_view>
#include <vector>

namespace kalvora {
namespace {

constexpr std::size_t kMaxValue = 1023;

std::string_view trim(std::string_view s) {
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
    s.remove_prefix(1);
  while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
    s.remove_suffix(1);
  return s;
}

bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

std::vector<std::string_view> splitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The section name of a "[name]" line, if it is one.
bool sectionHeader(std::string_view line, std::string_view& name) {
  line = trim(line);
  if (line.empty() || line.front() != '[') return false;
  const auto close = line.find(']');
  name = trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  return true;
}

} // namespace

std::string iniRead(const std::string& content, const std::string& section, const std::string& key,
                    const std::string& defaultValue) {
  bool inSection = false;
  for (std::string_view line : splitLines(content)) {
    std::string_view name;
    if (sectionHeader(line, name)) {
      inSection = sameName(name, trim(section));
      continue;
    }
    if (!inSection) continue;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos || !sameName(trim(line.substr(0, eq)), trim(key))) continue;
    std::string_view value = trim(line.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
      value = value.substr(1, value.size() - 2);
    return std::string(value.substr(0, kMaxValue));
  }
  return defaultValue.substr(0, kMaxValue);
}

std::string iniWrite(const std::string& content, const std::string& section, const std::string& key,
                     const std::string& value) {
  std::string out;
  bool inSection = false, done = false, sawSection = false;
  for (std::string_view line : splitLines(content)) {
    std::string_view name;
    if (sectionHeader(line, name)) {
      if (inSection && !done) {
        out += key + "=" + value + "\r\n";
        done = true;
      }
      inSection = !done && sameName(name, trim(section));
      sawSection = sawSection || inSection;
    } else if (inSection && !done) {
      const auto eq = line.find('=');
      if (eq != std::string_view::npos && sameName(trim(line.substr(0, eq)), trim(key))) {
        out += std::string(trim(line.substr(0, eq))) + "=" + value + "\r\n";
        done = true;
        continue;
      }
    }
    out += std::string(line) + "\r\n";
  }
  if (!done) {
    if (!sawSection) out += "[" + section + "]\r\n";
    out += key + "=" + value + "\r\n";
  }
  return out;
}

} // namespace kalvora
