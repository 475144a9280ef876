#pragma once
// The scenario language: one command per line, words separated by blanks,
// "double quotes" around words with blanks (escapes \r \n \t \" \\; any other
// backslash is kept), # comments.
#include <string>
#include <vector>

namespace kvdrive {

struct Command {
  int line = 0;
  std::vector<std::string> words;
};

// Parses a scenario; throws std::runtime_error naming the line on an unclosed quote.
std::vector<Command> parseScenario(const std::string& text);

// Whether text matches pattern, where "*" stands for any run of characters.
bool matches(const std::string& pattern, const std::string& text);

} // namespace kvdrive
