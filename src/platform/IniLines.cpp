#include "platform/IniLines.h"

#include "platform/NoCase.h"

namespace kalvora::ini {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

std::string_view trimLeft(std::string_view s) {
  while (!s.empty() && isBlank(s.front()))
    s.remove_prefix(1);
  return s;
}

std::string_view trimRight(std::string_view s) {
  while (!s.empty() && isBlank(s.back()))
    s.remove_suffix(1);
  return s;
}

std::string_view trim(std::string_view s) { return trimRight(trimLeft(s)); }

std::string_view cString(std::string_view s) { return s.substr(0, s.find('\0')); }

std::size_t bodyStart(std::string_view text) { return text.starts_with("\xEF\xBB\xBF") ? 3 : 0; }

std::vector<Line> splitLines(std::string_view text) {
  std::vector<Line> lines;
  std::size_t pos = bodyStart(text);
  while (pos < text.size()) {
    Line line{pos, pos, pos};
    const auto end = text.find_first_of("\r\n", pos);
    line.end = end == std::string_view::npos ? text.size() : end;
    line.next = line.end;
    if (line.next < text.size()) {
      const bool crlf = text[line.next] == '\r' && line.next + 1 < text.size() && text[line.next + 1] == '\n';
      line.next += crlf ? 2 : 1;
    }
    lines.push_back(line);
    pos = line.next;
  }
  return lines;
}

ParsedLine parseLine(std::string_view line) {
  ParsedLine parsed;
  const std::string_view t = trim(line);
  if (t.empty()) return parsed;
  // A header's name runs to the last "]"; text after it does not count.
  const auto close = t.front() == '[' ? t.rfind(']') : std::string_view::npos;
  if (close != std::string_view::npos) {
    parsed.kind = LineKind::Section;
    parsed.name = cString(trim(t.substr(1, close - 1)));
    return parsed;
  }
  parsed.kind = LineKind::Entry;
  const auto eq = t.find('=');
  if (eq == std::string_view::npos) {
    parsed.name = cString(t);
    return parsed;
  }
  parsed.name = cString(trimRight(t.substr(0, eq)));
  parsed.value = cString(trimLeft(t.substr(eq + 1)));
  return parsed;
}

Spot locate(std::string_view text, const std::vector<Line>& lines, std::string_view section, std::string_view key) {
  Spot spot;
  bool inSection = section.empty(); // the nameless section comes first
  spot.sectionFound = inSection;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const ParsedLine parsed = parseLine(text.substr(lines[i].begin, lines[i].end - lines[i].begin));
    if (parsed.kind == LineKind::Section) {
      if (inSection) break;
      if (!sameNoCase(parsed.name, section)) continue;
      spot.sectionFound = inSection = true;
      spot.lastLine = i;
      continue;
    }
    if (!inSection || parsed.kind == LineKind::Blank) continue;
    spot.lastLine = i;
    if (!spot.entry && sameNoCase(parsed.name, key)) spot.entry = i;
  }
  return spot;
}

} // namespace kalvora::ini
