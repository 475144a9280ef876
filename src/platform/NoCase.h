#pragma once
// Names compared as Windows compares them: file, directory, section, key and
// class names match without regard to letter case. The ASCII forms leave
// letters beyond ASCII alone; the ANSI forms fold the accented letters of
// the Windows code page 1252 as well.
#include <string>
#include <string_view>

namespace kalvora {

// ASCII letters in lower case.
std::string lowerCase(std::string_view text);
bool sameNoCase(std::string_view a, std::string_view b);
bool containsNoCase(std::string_view text, std::string_view word);
bool startsWithNoCase(std::string_view text, std::string_view start);
bool endsWithNoCase(std::string_view text, std::string_view end);

// Upper case by the rules of the Windows ANSI code page (1252): ASCII and the
// accented letters above 127.
std::string upperCaseAnsi(std::string_view text);
bool sameAnsiNoCase(std::string_view a, std::string_view b);

} // namespace kalvora
