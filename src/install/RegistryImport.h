#pragma once
// The medium's registry file zsys.re_, in the registry editor's import format
// ("REGEDIT4" or "Windows Registry Editor Version 5.00", the latter also as
// UTF-16): what it will touch, read before the editor runs so that each key
// and value is recorded in the uninstall log with what was there before.
#include <optional>
#include <string>
#include <vector>

#include "install/RunContext.h"

namespace kalvora {

struct ImportedValue {
  enum class Kind { KeyOnly, Text, Deleted, Other };
  int root = 0; // 1 classes root, 2 current user, 3 local machine
  std::string keyPath;
  Kind kind = Kind::KeyOnly;
  std::string name, data; // name "" is the default value (@); data for Text only
};

// The keys and values of an import file, in file order; none when the text is
// not such a file. Keys of other roots and key deletions ("[-...]") are left out
// and counted in skipped.
std::optional<std::vector<ImportedValue>> parseRegistryFile(const std::string& bytes, int& skipped);

// Records in [import] what the import will touch, with what was there before:
// k<n>, p<n> (root and key), new<n> (the outermost key made), e<n> and t<n>
// (the value's name and kind: sz, del or other), b<n> (text data), had<n> and
// o<n> (the value there before, o<n> when it was text).
[[nodiscard]] bool logRegistryImport(RunContext& run, const std::vector<ImportedValue>& values);

} // namespace kalvora
