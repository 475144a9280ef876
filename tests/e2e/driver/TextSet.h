#pragma once
// The builder's own text sets, so that a scenario compares what setup.exe shows
// with the set a project chose rather than with copies of its texts.
#include <map>
#include <string>

namespace kvdrive {

// texts LANGUAGE PRODUCT: the built-in set of that language ("french", ...) by
// key ("l17"), with {name} as PRODUCT, in Windows-1252 as setup.exe reads it
// from setup.inf (without the quotes that keep a last blank). Throws Failure
// for a language the builder does not know.
std::map<std::string, std::string> builtinTextSet(const std::string& language, const std::string& product);

// The word with every ${lN} replaced by that text of the set; Failure for a key the set lacks.
std::string expandTexts(std::string word, const std::map<std::string, std::string>& texts);

} // namespace kvdrive
