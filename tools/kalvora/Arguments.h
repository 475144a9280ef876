#pragma once
// Command-line parsing shared by the archive commands: single-letter options,
// some taking a value ("-m LZH" or "-mLZH"), "--" ending the options.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kalvora::tool {

struct Arguments {
  std::map<char, std::string> options; // option letter -> value ("" for a flag)
  std::vector<std::string> operands;

  bool has(char option) const { return options.count(option) != 0; }
  std::string value(char option, const std::string& fallback = "") const {
    const auto it = options.find(option);
    return it == options.end() ? fallback : it->second;
  }
};

// withValue lists the letters that take a value, flags those that do not.
// Raises UsageError for an unknown, repeated or incomplete option.
Arguments parseArguments(const std::vector<std::string>& args, const std::string& withValue,
                         const std::string& flags = "");

// A lock key: a whole decimal number in the signed 32-bit range, not 0.
std::int32_t parseKey(const std::string& text);

} // namespace kalvora::tool
