// Arbitrary bytes as an INI file, read and written through the portable INI
// code and through SetupScript over the in-memory platform.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/Errors.h"
#include "platform/IniLines.h"
#include "platform/IniText.h"
#include "platform/MemoryPlatform.h"
#include "platform/NoCase.h"
#include "script/SetupScript.h"
#include "script/TextTable.h"

namespace {

using namespace kalvora;

void check(bool ok) {
  if (!ok) std::abort();
}

bool contains(const std::string& s, std::string_view chars) {
  return s.find_first_of(chars.data(), 0, chars.size()) != std::string::npos;
}

// A name that a write makes findable again: one line, no "=" in a key, no key
// that would read as a section header or, at the top of a file, as a byte order mark.
bool writableName(const std::string& name, bool isKey) {
  if (contains(name, std::string_view("\r\n\0", 3))) return false;
  if (!isKey) return true;
  const std::string_view start = ini::trimLeft(name);
  return !contains(name, "=") && !start.starts_with("[") && !start.starts_with("\xEF\xBB\xBF");
}

// A value that reads back unchanged: one line, within the cut, no outer blanks or quotes.
bool roundTripValue(const std::string& v) {
  if (v.size() > 1023 || contains(v, std::string_view("\r\n\0", 3))) return false;
  if (v.empty()) return true;
  const auto outer = [](char c) { return ini::isBlank(c) || c == '"' || c == '\''; };
  return !outer(v.front()) && !outer(v.back());
}

bool sameEntry(const std::string& s1, const std::string& k1, const std::string& s2, const std::string& k2) {
  const auto norm = [](const std::string& s) { return ini::trim(ini::cString(s)); };
  return sameNoCase(norm(s1), norm(s2)) && sameNoCase(norm(k1), norm(k2));
}

void fuzzIniText(FuzzedDataProvider& in, const std::string& content) {
  const std::string section = in.ConsumeRandomLengthString(16), key = in.ConsumeRandomLengthString(16);
  const std::string value = in.ConsumeRandomLengthString(1200);
  const std::string otherSection = in.ConsumeRandomLengthString(16), otherKey = in.ConsumeRandomLengthString(16);

  check(iniRead(content, section, key, value).size() <= 1023);
  const std::string otherBefore = iniRead(content, otherSection, otherKey, "\x01");
  const std::string after = iniWrite(content, section, key, value);
  check(iniRead(after, section, key, "x").size() <= 1023);
  if (!writableName(section, false) || !writableName(key, true)) return;
  if (roundTripValue(value)) check(iniRead(after, section, key, "\x01") == value);
  // A write changes no other entry.
  if (!sameEntry(section, key, otherSection, otherKey))
    check(iniRead(after, otherSection, otherKey, "\x01") == otherBefore);
}

void fuzzSetupScript(FuzzedDataProvider& in, const std::string& content) {
  MemoryPlatform fs;
  const std::string path = "C:\\src\\setup.inf";
  fs.putFile(path, content);
  SetupScript script(path, fs);
  const std::string section = in.ConsumeRandomLengthString(16), key = in.ConsumeRandomLengthString(16);
  const auto n = in.ConsumeIntegral<std::int32_t>();

  const std::string text = script.ReadString(section, key, "");
  check(text.size() <= 1023);
  const auto parsed = parseScriptInteger(text);
  if (parsed) check(parseScriptInteger(std::to_string(*parsed)) == parsed);
  check(script.ReadInteger(section, key, n) == parsed.value_or(n));
  check(script.ReadBool(section, key, true) == (parsed.value_or(1) != 0));
  check(TextTable(script).text(key).size() <= 1023);

  if (const Status written = script.WriteInteger(section, key, n); !written.ok()) {
    check(std::string(written.error().what()) == EIniFileException(path).what());
    check(contains(section, "\r\n") || contains(key, "\r\n"));
    return;
  }
  if (writableName(section, false) && writableName(key, true)) check(script.ReadInteger(section, key, ~n) == n);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const bool viaScript = in.ConsumeBool();
  const std::string content = in.ConsumeRandomLengthString(size);
  if (viaScript)
    fuzzSetupScript(in, content);
  else
    fuzzIniText(in, content);
  return 0;
}
