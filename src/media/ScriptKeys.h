#pragma once
// The index of setup.inf: which sections and keys the setup program reads, and
// the canonical spelling and order in which the builder writes the sections.
#include <optional>
#include <string>
#include <vector>

namespace kalvora::media {

enum class KeyStatus {
  Known,     // a key the setup program reads
  Unknown,   // not read by this version (kept, with a warning)
  BadOption, // names an option outside 1 to 7
};

// The canonical name of a setup.inf section ("Option_3" for "option_3"), or
// nullopt when the setup program does not read it.
std::optional<std::string> canonicalSection(const std::string& name);

// Whether the setup program reads this key of that (canonical) section.
KeyStatus classifyKey(const std::string& section, const std::string& key);

// An option number 1 to 7 named by a section such as "Option_3" or "files_3",
// given its prefix; -1 when the name has another form, 0 or 8+ when out of range.
int numberedSection(const std::string& name, const std::string& prefix);

// "12" for "12" (a decimal number without sign or leading zero), else nullopt.
std::optional<long> plainNumber(const std::string& text);

// prefix, the decimal n and suffix: "Opt" 3 "_space" gives "Opt3_space". Built by
// appending, which GCC 12 does not misreport under -Wrestrict as it does `"x" + s`.
std::string numberedKey(const char* prefix, long long n, const char* suffix = "");

// Sections in the order the builder writes them.
const std::vector<std::string>& sectionOrder();

} // namespace kalvora::media
