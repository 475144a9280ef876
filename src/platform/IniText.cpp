#include "platform/IniText.h"

#include <string_view>

#include "platform/IniLines.h"
#include "platform/NoCase.h"

namespace kalvora {
namespace {

using namespace ini;

constexpr std::size_t kMaxValue = 1023;

// One pair of matching quotes around a value does not belong to it.
std::string_view unquote(std::string_view v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
    return v.substr(1, v.size() - 2);
  return v;
}

std::string cut(std::string_view v) { return std::string(v.substr(0, kMaxValue)); }

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

// New lines follow the file's own line ends.
std::string_view lineEndOf(std::string_view text, const std::vector<Line>& lines) {
  for (const Line& line : lines)
    if (line.next != line.end) return text.substr(line.end, line.next - line.end);
  return "\r\n";
}

std::string defaultOf(const std::string& defaultValue) {
  // The default loses its trailing blanks and its quotes, like a value.
  return cut(unquote(trimRight(cString(defaultValue))));
}

std::string insertAt(std::string_view text, std::size_t pos, std::string_view piece) {
  std::string out(text.substr(0, pos));
  out += piece;
  out += text.substr(pos);
  return out;
}

} // namespace

std::string iniRead(const std::string& content, const std::string& section, const std::string& key,
                    const std::string& defaultValue) {
  const std::vector<Line> lines = splitLines(content);
  const Spot spot = locate(content, lines, trim(cString(section)), trim(cString(key)));
  if (spot.entry) {
    const Line& line = lines[*spot.entry];
    const ParsedLine parsed = parseLine(std::string_view(content).substr(line.begin, line.end - line.begin));
    if (parsed.value) return cut(unquote(*parsed.value));
  }
  return defaultOf(defaultValue);
}

IniSnapshot::IniSnapshot(const std::string& content) {
  const std::string_view text = content;
  Entries* entries = &sections_[""]; // the lines before the first header
  for (const Line& line : splitLines(text)) {
    const ParsedLine parsed = parseLine(text.substr(line.begin, line.end - line.begin));
    if (parsed.kind == LineKind::Section) {
      // Only the first section of a name counts; "" names the nameless section alone.
      const std::string name = lowerCase(parsed.name);
      entries = name.empty() || sections_.contains(name) ? nullptr : &sections_[name];
    } else if (parsed.kind == LineKind::Entry && entries) {
      entries->try_emplace(lowerCase(parsed.name),
                           parsed.value ? std::optional<std::string>(*parsed.value) : std::nullopt);
    }
  }
}

std::string IniSnapshot::read(const std::string& section, const std::string& key,
                              const std::string& defaultValue) const {
  const auto found = sections_.find(lowerCase(trim(cString(section))));
  if (found != sections_.end()) {
    const auto entry = found->second.find(lowerCase(trim(cString(key))));
    if (entry != found->second.end() && entry->second) return cut(unquote(*entry->second));
  }
  return defaultOf(defaultValue);
}

std::string iniWrite(const std::string& content, const std::string& section, const std::string& key,
                     const std::string& value) {
  const std::string_view text = content;
  const std::string_view sec = trimLeft(cString(section)), name = trimLeft(cString(key));
  // A line break in a name would write a line that no reader finds; one in a
  // value would write further entries. The value is kept up to it, as a reader would see it.
  if (hasLineBreak(sec) || hasLineBreak(name)) return content;
  std::string_view val = trimLeft(cString(value));
  val = val.substr(0, val.find_first_of("\r\n"));

  const std::vector<Line> lines = splitLines(text);
  const std::string eol(lineEndOf(text, lines));
  const Spot spot = locate(text, lines, trimRight(sec), trimRight(name));
  if (spot.entry) {
    const Line& line = lines[*spot.entry];
    const ParsedLine parsed = parseLine(text.substr(line.begin, line.end - line.begin));
    if (parsed.value && *parsed.value == val) return content;
    std::string out(text.substr(0, line.begin));
    out.append(parsed.name).append("=").append(val);
    if (line.next == line.end) out += eol; // the last line gets its line end
    out += text.substr(line.end);
    return out;
  }
  const std::string entry = std::string(name) + "=" + std::string(val) + eol;
  if (spot.sectionFound) {
    if (!spot.lastLine) return insertAt(text, bodyStart(text), entry);
    const Line& last = lines[*spot.lastLine];
    return insertAt(text, last.next, last.next == last.end ? eol + entry : entry);
  }
  std::string out = content;
  if (text.size() > bodyStart(text) && text.back() != '\r' && text.back() != '\n') out += eol;
  out.append("[").append(sec).append("]").append(eol).append(entry);
  return out;
}

std::vector<std::string> iniKeys(const std::string& content, const std::string& section) {
  const std::string_view text = content;
  const std::string_view wanted = trim(cString(section));
  std::vector<std::string> keys;
  bool inSection = wanted.empty(); // the nameless section comes first
  for (const Line& line : splitLines(text)) {
    const ParsedLine parsed = parseLine(text.substr(line.begin, line.end - line.begin));
    if (parsed.kind == LineKind::Section) {
      // Only the first section of a name counts, as for a read.
      if (inSection) break;
      inSection = sameNoCase(parsed.name, wanted);
      continue;
    }
    if (inSection && parsed.kind == LineKind::Entry) keys.emplace_back(parsed.name);
  }
  return keys;
}

bool iniHasEntries(const std::string& content) {
  const std::string_view text = content;
  for (const Line& line : splitLines(text)) {
    const ParsedLine parsed = parseLine(text.substr(line.begin, line.end - line.begin));
    if (parsed.kind == LineKind::Entry && !parsed.name.empty() && parsed.name.front() != ';') return true;
  }
  return false;
}

std::string iniDelete(const std::string& content, const std::string& section, const std::string& key) {
  const std::string_view text = content;
  const std::vector<Line> lines = splitLines(text);
  const Spot spot = locate(text, lines, trim(cString(section)), trim(cString(key)));
  if (!spot.entry) return content;
  const Line& line = lines[*spot.entry];
  return std::string(text.substr(0, line.begin)) + std::string(text.substr(line.next));
}

} // namespace kalvora
