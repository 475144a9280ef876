#pragma once
// The line structure of INI text as the platform's profile calls see it: any
// CR, LF or CRLF ends a line, blanks around names and values do not count, a
// "[" line with a "]" is a section header, any other line is an entry (with or
// without "="). Lines before the first header form a nameless section.
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace kalvora::ini {

// One line: its text is [begin, end), its terminator [end, next).
struct Line {
  std::size_t begin = 0, end = 0, next = 0;
};

enum class LineKind { Blank, Section, Entry };

struct ParsedLine {
  LineKind kind = LineKind::Blank;
  std::string_view name;                 // section name or entry key, trimmed
  std::optional<std::string_view> value; // entry value after "=", trimmed; none without "="
};

bool isBlank(char c);
std::string_view trim(std::string_view s);
std::string_view trimLeft(std::string_view s);
std::string_view trimRight(std::string_view s);
// The text up to the first NUL, as the C interface passes it.
std::string_view cString(std::string_view s);

// Offset where the lines start: after a UTF-8 byte order mark, if any.
std::size_t bodyStart(std::string_view text);
std::vector<Line> splitLines(std::string_view text);
ParsedLine parseLine(std::string_view line);

// Where a section and a key are in the text. The nameless section ("") is
// always present; otherwise only the first section of a name counts, and in it
// the first entry of a key.
struct Spot {
  bool sectionFound = false;
  std::optional<std::size_t> entry;    // index of the key's line
  std::optional<std::size_t> lastLine; // last non-blank line of the section, header included
};
Spot locate(std::string_view text, const std::vector<Line>& lines, std::string_view section, std::string_view key);

} // namespace kalvora::ini
