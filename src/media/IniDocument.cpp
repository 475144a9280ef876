#include "media/IniDocument.h"

#include <string_view>

#include "media/AnsiText.h"
#include "platform/NoCase.h"

namespace kalvora::media {
namespace {

std::string_view trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r'))
    s.remove_suffix(1);
  return s;
}

} // namespace

const IniSection* IniDocument::find(const std::string& name) const {
  for (const auto& s : sections)
    if (sameNoCase(s.name, name)) return &s;
  return nullptr;
}

IniDocument parseIni(const std::string& text) {
  IniDocument doc;
  IniSection* current = nullptr;
  std::string_view rest = text;
  if (rest.starts_with("\xEF\xBB\xBF")) rest.remove_prefix(3); // a UTF-8 byte order mark
  int lineNo = 0;
  while (!rest.empty()) {
    const auto end = rest.find('\n');
    const std::string_view raw = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
    ++lineNo;
    const std::string_view line = trim(raw);
    if (line.empty() || line.front() == ';' || line.front() == '#') continue;
    if (line.front() == '[') {
      const auto close = line.find(']');
      if (close == std::string_view::npos || close + 1 != line.size()) {
        doc.errors.push_back({lineNo, "a section header must be \"[name]\" alone on its line"});
        current = nullptr;
        continue;
      }
      const std::string name(trim(line.substr(1, close - 1)));
      current = nullptr;
      for (auto& s : doc.sections)
        if (sameNoCase(s.name, name)) current = &s;
      if (current == nullptr) {
        doc.sections.push_back({name, lineNo, {}});
        current = &doc.sections.back();
      }
      continue;
    }
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) {
      doc.errors.push_back({lineNo, "expected \"key=value\", a \"[section]\" header or a \";\" comment"});
      continue;
    }
    const std::string key(trim(line.substr(0, eq)));
    if (key.empty()) {
      doc.errors.push_back({lineNo, "a key name is missing before \"=\""});
      continue;
    }
    if (current == nullptr) {
      doc.errors.push_back({lineNo, "\"" + key + "\" stands before any [section] header"});
      continue;
    }
    current->entries.push_back({key, std::string(trim(line.substr(eq + 1))), lineNo});
  }
  return doc;
}

void IniWriter::section(const std::string& name) {
  if (!text_.empty()) text_ += "\r\n";
  text_ += "[" + name + "]\r\n";
}

void IniWriter::entry(const std::string& key, const std::string& value) { text_ += key + "=" + value + "\r\n"; }

} // namespace kalvora::media
