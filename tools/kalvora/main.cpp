// kalvora: the distributor's command-line tool.
#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

#include "Command.h"
#include "EnglishText.h"

namespace kalvora::tool {

std::vector<Command>& registry() {
  static std::vector<Command> all;
  return all;
}

bool registerCommand(Command command) {
  auto& all = registry();
  all.push_back(std::move(command));
  std::sort(all.begin(), all.end(), [](const Command& a, const Command& b) { return a.name < b.name; });
  return true;
}

const std::vector<Command>& commands() { return registry(); }

namespace {

void printOverview(std::FILE* to) {
  std::fprintf(to, "usage: kalvora COMMAND [OPTIONS] [ARGS]\n\n"
                   "Packs archives and builds distribution media for the kalvora setup program.\n\n"
                   "Commands:\n");
  for (const auto& c : commands())
    std::fprintf(to, "  %-8s %s\n", c.name.c_str(), c.summary.c_str());
  std::fprintf(to, "\n`kalvora COMMAND --help` (or -h) describes a command; `kalvora --version` gives the\n"
                   "version. Exit status: 0 done, 1 faults found, 2 a command line the tool cannot accept.\n");
}

// An option before any "--": a file after "--" may have its name.
bool asksFor(const std::vector<std::string>& args, const char* longForm, const char* shortForm) {
  for (const auto& a : args) {
    if (a == "--") return false;
    if (a == longForm || a == shortForm) return true;
  }
  return false;
}

int printVersion() {
  std::printf("kalvora %s\n", KALVORA_VERSION);
  return 0;
}

} // namespace
} // namespace kalvora::tool

int main(int argc, char** argv) {
  using namespace kalvora::tool;
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) {
    printOverview(stderr);
    return 2;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    printOverview(stdout);
    return 0;
  }
  if (args[0] == "--version" || args[0] == "-V") return printVersion();
  const auto& all = commands();
  const auto it = std::find_if(all.begin(), all.end(), [&](const Command& c) { return c.name == args[0]; });
  if (it == all.end()) {
    std::fprintf(stderr, "kalvora: unknown command '%s'; `kalvora --help` lists the commands\n", args[0].c_str());
    return 2;
  }
  const std::vector<std::string> rest(args.begin() + 1, args.end());
  if (asksFor(rest, "--version", "-V")) return printVersion();
  if (asksFor(rest, "--help", "-h")) {
    std::fputs(it->help.c_str(), stdout);
    return 0;
  }
  try {
    return it->run(rest);
  } catch (const UsageError& e) {
    std::fprintf(stderr, "kalvora %s: %s\n`kalvora %s --help` shows the usage\n", it->name.c_str(), e.what(),
                 it->name.c_str());
    return 2;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "kalvora: %s\n", inEnglish(e.what()).c_str());
    return 1;
  }
}
