#pragma once
// The INI rules of GetPrivateProfileStringA / WritePrivateProfileStringA over
// the text of a file, for platforms that lack those calls.
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvora {

// The value of key in section of the INI text, or defaultValue; at most 1023 characters.
std::string iniRead(const std::string& content, const std::string& section, const std::string& key,
                    const std::string& defaultValue);

// The INI text after writing key=value into section.
std::string iniWrite(const std::string& content, const std::string& section, const std::string& key,
                     const std::string& value);

// The names of the entries of a section, in file order (GetPrivateProfileStringA with no key).
std::vector<std::string> iniKeys(const std::string& content, const std::string& section);

// The INI text without the entry key of section (WritePrivateProfileStringA with no value).
std::string iniDelete(const std::string& content, const std::string& section, const std::string& key);

// Whether the INI text holds any entry (rather than only blank lines, comments and headers).
bool iniHasEntries(const std::string& content);
// Whether the INI text has a section of that name (the nameless one always counts).
bool iniHasSection(const std::string& content, const std::string& section);
// The INI text without the first section of that name when it holds nothing
// but blank lines; otherwise the text as it was.
std::string iniDeleteEmptySection(const std::string& content, const std::string& section);
// An INI text parsed once for many reads: each read gives what iniRead gives
// on the same text, without going through the text again.
class IniSnapshot {
public:
  explicit IniSnapshot(const std::string& content);
  std::string read(const std::string& section, const std::string& key, const std::string& defaultValue) const;

private:
  // Key in lower case -> the value of its first entry (none for an entry without "=").
  using Entries = std::map<std::string, std::optional<std::string>>;
  // Section name in lower case -> its first occurrence's entries; "" is the nameless section.
  std::map<std::string, Entries> sections_;
};

// An INI text kept in sections for many writes (iniWrite is one such write):
// a write goes through the lines of one section only, so that a log of
// thousands of entries is written in time that does not grow with it.
class IniEditor {
public:
  explicit IniEditor(const std::string& content);
  // Writes key=value into section; false when the text stays as it was.
  // Views: the uninstall log's sections and keys are mostly literals.
  bool write(std::string_view section, std::string_view key, std::string_view value);
  std::string text() const;

private:
  struct TextLine {
    std::string text, end; // the line and its terminator (none on a last line without one)
  };
  // The lines of one section, header first; block 0 holds the lines before the first header.
  struct Block {
    std::vector<TextLine> lines;
    std::optional<std::size_t> lastLine;     // last non-blank line
    std::map<std::string, std::size_t> keys; // key in lower case -> its first entry
  };
  void load(const std::string& content);
  Block* blockOf(std::string_view section);
  void insertEntry(Block& block, std::string entry);
  void appendSection(std::string_view section, std::string entry);

  std::string head_; // a byte order mark
  std::string eol_;  // the line end of new lines: the text's first
  std::vector<Block> blocks_;
  std::map<std::string, std::size_t> firstBlock_; // section name in lower case -> its first block
};

} // namespace kalvora
