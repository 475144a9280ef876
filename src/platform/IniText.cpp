#include "platform/IniText.h"

#include <optional>
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

// What a write takes of its section, key and value. None when a name holds a
// line break: it would write a line that no reader finds. A line break in a
// value would write further entries: the value is kept up to it, as a reader would see it.
struct WriteParts {
  std::string_view section, key, value;
};
std::optional<WriteParts> writeParts(std::string_view section, std::string_view key, std::string_view value) {
  const std::string_view sec = trimLeft(cString(section)), name = trimLeft(cString(key));
  if (hasLineBreak(sec) || hasLineBreak(name)) return std::nullopt;
  const std::string_view val = trimLeft(cString(value));
  return WriteParts{sec, name, val.substr(0, val.find_first_of("\r\n"))};
}

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
  IniEditor editor(content);
  return editor.write(section, key, value) ? editor.text() : content;
}

IniEditor::IniEditor(const std::string& content) { load(content); }

void IniEditor::load(const std::string& content) {
  const std::string_view text = content;
  const std::vector<ini::Line> lines = splitLines(text);
  head_ = std::string(text.substr(0, bodyStart(text)));
  // Every line a write adds ends with this, so it stays the text's first line end.
  eol_ = std::string(lineEndOf(text, lines));
  blocks_.clear();
  blocks_.emplace_back();
  firstBlock_.clear();
  for (const ini::Line& line : lines) {
    const std::string_view body = text.substr(line.begin, line.end - line.begin);
    const ParsedLine parsed = parseLine(body);
    if (parsed.kind == LineKind::Section) {
      blocks_.emplace_back();
      // "" names the nameless section alone, as for a read.
      if (!parsed.name.empty()) firstBlock_.try_emplace(lowerCase(parsed.name), blocks_.size() - 1);
    }
    Block& block = blocks_.back();
    if (parsed.kind != LineKind::Blank) block.lastLine = block.lines.size();
    if (parsed.kind == LineKind::Entry) block.keys.try_emplace(lowerCase(parsed.name), block.lines.size());
    block.lines.push_back({std::string(body), std::string(text.substr(line.end, line.next - line.end))});
  }
}

std::string IniEditor::text() const {
  std::string out = head_;
  for (const Block& block : blocks_)
    for (const TextLine& line : block.lines)
      out.append(line.text).append(line.end);
  return out;
}

IniEditor::Block* IniEditor::blockOf(std::string_view section) {
  if (section.empty()) return &blocks_.front();
  const auto found = firstBlock_.find(lowerCase(section));
  return found == firstBlock_.end() ? nullptr : &blocks_[found->second];
}

bool IniEditor::write(std::string_view section, std::string_view key, std::string_view value) {
  const auto parts = writeParts(section, key, value);
  if (!parts) return false;
  const auto [sec, name, val] = *parts;
  std::string entry = std::string(name) + "=" + std::string(val);
  Block* block = blockOf(trimRight(sec));
  if (!block) {
    appendSection(sec, std::move(entry));
    return true;
  }
  const auto found = block->keys.find(lowerCase(trimRight(name)));
  if (found == block->keys.end()) {
    insertEntry(*block, std::move(entry));
    return true;
  }
  TextLine& line = block->lines[found->second];
  const ParsedLine parsed = parseLine(line.text);
  if (parsed.value && *parsed.value == val) return false;
  std::string replaced = std::string(parsed.name) + "=" + std::string(val);
  // A value written with trailing blanks reads without them: the line may stay as it was.
  if (replaced == line.text && !line.end.empty()) return false;
  line.text = std::move(replaced);
  if (line.end.empty()) line.end = eol_; // the last line gets its line end
  // A value with "]" after a name that begins with "[" turns the line into a header.
  if (parseLine(line.text).kind != LineKind::Entry) load(text());
  return true;
}

// A line added that does not read back as what it was meant to be (an entry
// named like a header, a section name holding "]") changes the text's
// structure: the text is taken apart again.
void IniEditor::insertEntry(Block& block, std::string entry) {
  // After the section's last entry, or at the start where the nameless section has none.
  const std::size_t at = block.lastLine ? *block.lastLine + 1 : 0;
  if (block.lastLine && block.lines[*block.lastLine].end.empty()) block.lines[*block.lastLine].end = eol_;
  block.lines.insert(block.lines.begin() + static_cast<std::ptrdiff_t>(at), TextLine{std::move(entry), eol_});
  const ParsedLine parsed = parseLine(block.lines[at].text);
  if (parsed.kind != LineKind::Entry) return load(text());
  block.keys.try_emplace(lowerCase(parsed.name), at);
  block.lastLine = at;
}

void IniEditor::appendSection(std::string_view section, std::string entry) {
  for (auto block = blocks_.rbegin(); block != blocks_.rend(); ++block) {
    if (block->lines.empty()) continue;
    if (block->lines.back().end.empty()) block->lines.back().end = eol_;
    break;
  }
  Block added;
  added.lines = {{"[" + std::string(section) + "]", eol_}, {std::move(entry), eol_}};
  const ParsedLine head = parseLine(added.lines[0].text), parsed = parseLine(added.lines[1].text);
  if (head.kind != LineKind::Section || !sameNoCase(head.name, trimRight(section)) || parsed.kind != LineKind::Entry) {
    blocks_.push_back(std::move(added));
    return load(text());
  }
  added.lastLine = 1;
  added.keys.emplace(lowerCase(parsed.name), 1);
  const std::string name = lowerCase(head.name);
  blocks_.push_back(std::move(added));
  firstBlock_.emplace(name, blocks_.size() - 1);
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

bool iniHasSection(const std::string& content, const std::string& section) {
  const std::string_view text = content;
  return locate(text, splitLines(text), trim(cString(section)), {}).sectionFound;
}

std::string iniDeleteEmptySection(const std::string& content, const std::string& section) {
  const std::string_view text = content, wanted = trim(cString(section));
  if (wanted.empty()) return content;
  std::optional<std::size_t> begin; // the header's offset
  for (const Line& line : splitLines(text)) {
    const ParsedLine parsed = parseLine(text.substr(line.begin, line.end - line.begin));
    if (parsed.kind == LineKind::Section) {
      if (begin) return std::string(text.substr(0, *begin)) + std::string(text.substr(line.begin));
      if (sameNoCase(parsed.name, wanted)) begin = line.begin;
    } else if (begin && parsed.kind == LineKind::Entry) {
      return content;
    }
  }
  return begin ? std::string(text.substr(0, *begin)) : content;
}

} // namespace kalvora
