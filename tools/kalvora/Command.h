#pragma once
// The tool's subcommands. Each command lives in a file of its own and registers
// itself with KALVORA_COMMAND; main() only looks it up and reports errors.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace kalvora::tool {

struct Command {
  std::string name;
  std::string summary; // one line for `kalvora --help`
  std::string help;    // the whole text of `kalvora NAME --help`
  // Returns the exit status. Throws UsageError (exit 2) or kalvora::Exception (exit 1).
  std::function<int(const std::vector<std::string>& args)> run;
};

// A command line the command cannot accept; reported with a hint to --help.
class UsageError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

bool registerCommand(Command command);
const std::vector<Command>& commands();

} // namespace kalvora::tool

#define KALVORA_COMMAND_CONCAT2(a, b) a##b
#define KALVORA_COMMAND_CONCAT(a, b) KALVORA_COMMAND_CONCAT2(a, b)
// Registers a Command at start-up: KALVORA_COMMAND({"name", "summary", "help", runFunction});
#define KALVORA_COMMAND(...)                                                                                           \
  static const bool KALVORA_COMMAND_CONCAT(kalvoraCommandRegistered, __LINE__) =                                       \
      ::kalvora::tool::registerCommand(::kalvora::tool::Command __VA_ARGS__)
