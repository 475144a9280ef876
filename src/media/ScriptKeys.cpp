#include "media/ScriptKeys.h"

#include <array>
#include <regex>
#include <vector>

#include "media/AnsiText.h"
#include "platform/NoCase.h"

namespace kalvora::media {
namespace {

struct SectionKeys {
  const char* section;
  const char* pattern; // the keys, as an anchored regular expression (case-insensitive)
};

// Numbers in keys are plain decimals: the setup program forms key names with
// its integer-to-text conversion, so "d01" is a different key from "d1".
#define N "[1-9][0-9]*"
const std::array<SectionKeys, 16> kKeys = {{
    {"kalvora", "version|versionname"},
    {"software", "name|name_display|prggrp|o_standard|o_min|o_cd|o_custom|opt[1-7]_(name|standard|min|custom|"
                 "prgitem|space|cs)|opt1_locked|msg1|msg1t|msg2|msg2t|readme|readmedir|readmestart|reboot|run|"
                 "uniyes|medium|cp|publisher|helplink"},
    {"language", "l([1-9]|[1-5][0-9]|6[013-6])"},
    {"main", "back|info|logo|text|l[1-3]|l[1-3]_color|stretch|shadow|show"},
    {"leader", "image|lbl_2|lbl2_color"},
    {"vercheck", "version|take|old|files"},
    {"compression", "mode|size"},
    {"directories", "d0|total|d[1-7]_" N},
    {"Option_", "[fdspzc]" N},
    {"extensions", "total|[enof]" N},
    {"prggrp", "total|uninst|[ofpr]" N},
    {"prggrp_run", "total|[pv]" N},
    {"dos", "[ac][1-5]|bkp_a|bkp_c"},
    {"ini_", "name|bkp|[skv][0-9]"},
    {"sysreg", "total|remove|[kpeb]" N},
    {"uninst", "ask"},
}};
#undef N

// The patterns compiled once: a regular expression takes far longer to compile than to match.
struct Patterns {
  std::vector<std::regex> keys; // kKeys' patterns, in their order
  std::regex optionKey{"opt([0-9]+)_.*", std::regex::icase};
  std::regex directoryKey{"d[0-9]+_.*", std::regex::icase};

  Patterns() {
    for (const SectionKeys& sk : kKeys)
      keys.emplace_back(sk.pattern, std::regex::icase | std::regex::ECMAScript);
  }
};

const Patterns& patterns() {
  static const Patterns compiled;
  return compiled;
}

} // namespace

std::string numberedKey(const char* prefix, long long n, const char* suffix) {
  std::string key = prefix;
  key += std::to_string(n);
  key += suffix;
  return key;
}

std::optional<long> plainNumber(const std::string& text) {
  if (text.empty() || text.size() > 9 || (text.size() > 1 && text[0] == '0')) return std::nullopt;
  long n = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

int numberedSection(const std::string& name, const std::string& prefix) {
  if (name.size() <= prefix.size() || !sameNoCase(name.substr(0, prefix.size()), prefix)) return -1;
  const auto n = plainNumber(name.substr(prefix.size()));
  if (!n) return -1;
  return *n > 7 ? 8 : static_cast<int>(*n);
}

const std::vector<std::string>& sectionOrder() {
  static const std::vector<std::string> order = [] {
    std::vector<std::string> v = {"kalvora", "software", "language",    "main",
                                  "leader",  "vercheck", "compression", "directories"};
    for (int k = 1; k <= 7; ++k)
      v.push_back(numberedKey("Option_", k));
    for (const char* s : {"prggrp", "prggrp_run", "extensions", "dos"})
      v.emplace_back(s);
    for (int i = 1; i <= 4; ++i)
      v.push_back(numberedKey("ini_", i));
    v.emplace_back("sysreg");
    v.emplace_back("uninst");
    return v;
  }();
  return order;
}

std::optional<std::string> canonicalSection(const std::string& name) {
  for (const auto& s : sectionOrder())
    if (sameNoCase(s, name)) return s;
  return std::nullopt;
}

KeyStatus classifyKey(const std::string& section, const std::string& key) {
  // Option numbers beyond 7 are a fault, not a key of another version.
  const Patterns& p = patterns();
  if (std::regex_match(key, p.optionKey)) {
    const auto n = plainNumber(key.substr(3, key.find('_') - 3));
    if (sameNoCase(section, "software") && (!n || *n < 1 || *n > 7)) return KeyStatus::BadOption;
  }
  if (sameNoCase(section, "directories") && std::regex_match(key, p.directoryKey)) {
    const auto n = plainNumber(key.substr(1, key.find('_') - 1));
    if (!n || *n < 1 || *n > 7) return KeyStatus::BadOption;
  }
  std::string family = section;
  if (numberedSection(section, "Option_") >= 1) family = "Option_";
  if (numberedSection(section, "ini_") >= 1) family = "ini_";
  for (std::size_t i = 0; i < kKeys.size(); ++i)
    if (sameNoCase(kKeys[i].section, family))
      return std::regex_match(key, p.keys[i]) ? KeyStatus::Known : KeyStatus::Unknown;
  return KeyStatus::Unknown;
}

} // namespace kalvora::media
