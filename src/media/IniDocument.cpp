#include "media/IniDocument.h"

#include <string_view>

#include "platform/IniLines.h"
#include "platform/NoCase.h"

namespace kalvora::media {

const IniSection* IniDocument::find(const std::string& name) const {
  for (const auto& s : sections)
    if (sameNoCase(s.name, name)) return &s;
  return nullptr;
}

namespace {

// Lines are split and parsed as the setup program's INI reader parses them;
// a document adds comments, merges sections of one name and names the lines
// that the reader would pass over.
class DocumentReader {
public:
  void line(int number, std::string_view raw) {
    const std::string_view text = ini::trim(raw);
    if (text.empty() || text.front() == ';' || text.front() == '#') return;
    const ini::ParsedLine parsed = ini::parseLine(raw);
    if (text.front() == '[')
      header(number, text, parsed);
    else
      entry(number, parsed);
  }

  IniDocument take() { return std::move(doc_); }

private:
  void header(int number, std::string_view text, const ini::ParsedLine& parsed) {
    current_ = nullptr;
    if (parsed.kind != ini::LineKind::Section || text.back() != ']' ||
        parsed.name.find(']') != std::string_view::npos) {
      doc_.errors.push_back({number, "a section header must be \"[name]\" alone on its line"});
      return;
    }
    for (auto& s : doc_.sections)
      if (sameNoCase(s.name, parsed.name)) current_ = &s;
    if (current_ == nullptr) current_ = &doc_.sections.emplace_back(IniSection{std::string(parsed.name), number, {}});
  }

  void entry(int number, const ini::ParsedLine& parsed) {
    const std::string key(parsed.name);
    if (!parsed.value)
      doc_.errors.push_back({number, "expected \"key=value\", a \"[section]\" header or a \";\" comment"});
    else if (key.empty())
      doc_.errors.push_back({number, "a key name is missing before \"=\""});
    else if (current_ == nullptr)
      doc_.errors.push_back({number, "\"" + key + "\" stands before any [section] header"});
    else
      current_->entries.push_back({key, std::string(*parsed.value), number});
  }

  IniDocument doc_;
  IniSection* current_ = nullptr;
};

} // namespace

IniDocument parseIni(const std::string& text) {
  DocumentReader reader;
  int number = 0;
  for (const ini::Line& line : ini::splitLines(text))
    reader.line(++number, std::string_view(text).substr(line.begin, line.end - line.begin));
  return reader.take();
}

void IniWriter::section(const std::string& name) {
  if (!text_.empty()) text_ += "\r\n";
  text_ += "[" + name + "]\r\n";
}

void IniWriter::entry(const std::string& key, const std::string& value) { text_ += key + "=" + value + "\r\n"; }

} // namespace kalvora::media
