#pragma once
// Splits a Windows command line into words: blanks and tabs separate them,
// double quotes group blanks into a word and are dropped ("/dir=C:\My Apps"
// and /dir="C:\My Apps" are the same word). Backslashes are plain characters,
// so paths need no doubling.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace kalvora {

struct CommandLineWord {
  std::string text;      // without its quotes
  std::size_t begin = 0; // where the word starts in the line
};

// Nothing when a quote is left open.
std::optional<std::vector<CommandLineWord>> splitCommandLine(const std::string& line);

} // namespace kalvora
