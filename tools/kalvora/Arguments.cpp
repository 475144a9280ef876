#include "Arguments.h"

#include <cerrno>
#include <cstdlib>
#include <limits>

#include "Command.h"

namespace kalvora::tool {

Arguments parseArguments(const std::vector<std::string>& args, const std::string& withValue, const std::string& flags) {
  Arguments parsed;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      parsed.operands.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const char letter = arg[1];
    const bool takesValue = withValue.find(letter) != std::string::npos;
    if (letter == '-' || (!takesValue && flags.find(letter) == std::string::npos))
      throw UsageError("unknown option '" + arg + "'");
    if (parsed.has(letter)) throw UsageError(std::string("option -") + letter + " given twice");
    if (!takesValue) {
      if (arg.size() > 2) throw UsageError("unknown option '" + arg + "'");
      parsed.options[letter] = "";
    } else if (arg.size() > 2) {
      parsed.options[letter] = arg.substr(2);
    } else if (i + 1 < args.size()) {
      parsed.options[letter] = args[++i];
    } else {
      throw UsageError(std::string("option -") + letter + " needs a value");
    }
  }
  return parsed;
}

std::int32_t parseKey(const std::string& text) {
  const std::string range = "the key must be a whole number from -2147483648 to 2147483647";
  if (text.empty() || text.find_first_not_of("+-0123456789") != std::string::npos) throw UsageError(range);
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || value < std::numeric_limits<std::int32_t>::min() ||
      value > std::numeric_limits<std::int32_t>::max())
    throw UsageError(range);
  if (value == 0) throw UsageError("key 0 means no key; choose another");
  return static_cast<std::int32_t>(value);
}

} // namespace kalvora::tool
