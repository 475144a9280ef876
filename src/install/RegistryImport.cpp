#include "install/RegistryImport.h"

#include "install/ScriptPaths.h"
#include "platform/NoCase.h"

namespace kalvora {
namespace {

// UTF-16 (little-endian, with its mark) as the ANSI text the rest reads;
// characters beyond Latin-1 cannot name anything this program writes.
std::string narrowed(const std::string& bytes) {
  if (bytes.size() < 2 || static_cast<unsigned char>(bytes[0]) != 0xFF || static_cast<unsigned char>(bytes[1]) != 0xFE)
    return bytes;
  std::string text;
  for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const unsigned c = static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8;
    text += c < 256 ? static_cast<char>(c) : '?';
  }
  return text;
}

// Logical lines: a line that ends in a backslash goes on in the next (hex data).
std::vector<std::string> logicalLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string line;
  bool continued = false;
  for (std::size_t at = 0; at <= text.size();) {
    std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    std::string part = text.substr(at, end - at);
    const std::size_t first = part.find_first_not_of(" \t");
    part = first == std::string::npos ? std::string() : part.substr(first);
    line = continued ? line + part : part;
    continued = !line.empty() && line.back() == '\\' && line.front() != '[';
    if (continued)
      line.pop_back();
    else
      lines.push_back(line);
    at = end + (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n' ? 2 : 1);
  }
  return lines;
}

int rootNumber(const std::string& root) {
  if (sameNoCase(root, "HKEY_CLASSES_ROOT")) return 1;
  if (sameNoCase(root, "HKEY_CURRENT_USER")) return 2;
  if (sameNoCase(root, "HKEY_LOCAL_MACHINE")) return 3;
  return 0;
}

// A quoted text from at (which holds the opening quote), with \\ and \" undone;
// at moves past the closing quote. None when it does not close.
std::optional<std::string> quoted(const std::string& line, std::size_t& at) {
  std::string text;
  for (++at; at < line.size(); ++at) {
    if (line[at] == '"') {
      ++at;
      return text;
    }
    if (line[at] == '\\' && at + 1 < line.size()) ++at;
    text += line[at];
  }
  return std::nullopt;
}

// One value line of the current key; none when it is not one.
std::optional<ImportedValue> valueLine(const std::string& line, const ImportedValue& key) {
  ImportedValue value = key;
  std::size_t at = 0;
  if (line[0] == '@') {
    at = 1;
  } else {
    const auto name = quoted(line, at);
    if (!name) return std::nullopt;
    value.name = *name;
  }
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
    ++at;
  if (at >= line.size() || line[at] != '=') return std::nullopt;
  ++at;
  while (at < line.size() && (line[at] == ' ' || line[at] == '\t'))
    ++at;
  if (at < line.size() && line[at] == '"') {
    const auto data = quoted(line, at);
    if (!data) return std::nullopt;
    value.kind = ImportedValue::Kind::Text;
    value.data = *data;
  } else if (line.compare(at, std::string::npos, "-") == 0) {
    value.kind = ImportedValue::Kind::Deleted;
  } else {
    value.kind = ImportedValue::Kind::Other; // dword:, hex:, hex(n):
  }
  return value;
}

const char* kindName(ImportedValue::Kind kind) {
  switch (kind) {
  case ImportedValue::Kind::Text: return "sz";
  case ImportedValue::Kind::Deleted: return "del";
  case ImportedValue::Kind::Other: return "other";
  case ImportedValue::Kind::KeyOnly: break;
  }
  return "";
}

// The outermost level of keyPath that is not there yet; empty when it all is.
std::string outermostMissing(Platform& platform, RegistryRoot root, const std::string& keyPath) {
  for (std::size_t end = keyPath.find('\\');; end = keyPath.find('\\', end + 1)) {
    const std::string level = keyPath.substr(0, end);
    if (!level.empty() && level.back() != '\\' && !platform.registryKeyExists(root, level)) return level;
    if (end == std::string::npos) return {};
  }
}

} // namespace

std::optional<std::vector<ImportedValue>> parseRegistryFile(const std::string& bytes, int& skipped) {
  const std::vector<std::string> lines = logicalLines(narrowed(bytes));
  skipped = 0;
  if (lines.empty() || (lines[0] != "REGEDIT4" && lines[0] != "Windows Registry Editor Version 5.00"))
    return std::nullopt;
  std::vector<ImportedValue> values;
  std::optional<ImportedValue> key; // none outside a key this program can record
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      key.reset();
      const std::size_t close = line.rfind(']');
      const std::string path = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
      const std::size_t slash = path.find('\\');
      const int root = rootNumber(path.substr(0, slash));
      if (close == std::string::npos || path.empty() || path[0] == '-' || root == 0 || slash == std::string::npos) {
        ++skipped;
        continue;
      }
      key = ImportedValue{root, path.substr(slash + 1), ImportedValue::Kind::KeyOnly, "", ""};
      values.push_back(*key);
    } else if (key) {
      if (auto value = valueLine(line, *key))
        values.push_back(*value);
      else
        ++skipped;
    }
  }
  return values;
}

bool logRegistryImport(RunContext& run, const std::vector<ImportedValue>& values) {
  std::int64_t n = 0;
  for (const ImportedValue& v : values) {
    ++n;
    const RegistryRoot root = v.root == 1   ? RegistryRoot::ClassesRoot
                              : v.root == 2 ? RegistryRoot::CurrentUser
                                            : RegistryRoot::LocalMachine;
    const std::string created = outermostMissing(run.platform, root, v.keyPath);
    if (!run.logInteger("import", numberedKey("k", n), v.root) || !run.log("import", numberedKey("p", n), v.keyPath) ||
        (!created.empty() && !run.log("import", numberedKey("new", n), created)))
      return false;
    if (v.kind == ImportedValue::Kind::KeyOnly) continue;
    const auto previous = run.platform.readRegistryString(root, v.keyPath, v.name);
    // A value of another type has no text to keep, but it was there.
    const bool had = previous || run.platform.registryValueExists(root, v.keyPath, v.name);
    if (!run.log("import", numberedKey("e", n), v.name) || !run.log("import", numberedKey("t", n), kindName(v.kind)) ||
        (v.kind == ImportedValue::Kind::Text && !run.log("import", numberedKey("b", n), v.data)) ||
        !run.logBool("import", numberedKey("had", n), had) ||
        (previous && !run.log("import", numberedKey("o", n), *previous)))
      return false;
  }
  return run.logInteger("import", "total", n);
}

} // namespace kalvora
