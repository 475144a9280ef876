#pragma once
// An INI text read line by line with the position of every entry, for files
// that people write by hand (the project file), and the writer of setup.inf.
#include <string>
#include <vector>

namespace kalvora::media {

struct IniEntry {
  std::string key;   // as written, trimmed
  std::string value; // the rest of the line after "=", trimmed
  int line = 0;
};

struct IniSection {
  std::string name; // as written in its first header, trimmed
  int line = 0;     // line of that first header
  std::vector<IniEntry> entries;
};

struct IniSyntaxError {
  int line = 0;
  std::string message;
};

// Sections with the same name (any letter case) are merged in order of
// appearance. Whole lines beginning with ";" or "#" are comments; there are no
// comments after a value, since the setup program's reader has none.
struct IniDocument {
  std::vector<IniSection> sections;
  std::vector<IniSyntaxError> errors;

  const IniSection* find(const std::string& name) const;
};

IniDocument parseIni(const std::string& text);

// Writes "[section]" and "key=value" lines with CRLF line ends and no blanks
// around "=", the form every INI reader takes alike.
class IniWriter {
public:
  void section(const std::string& name);
  void entry(const std::string& key, const std::string& value);
  const std::string& text() const { return text_; }

private:
  std::string text_;
};

} // namespace kalvora::media
