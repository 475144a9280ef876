#pragma once
// The switches of setup.exe for unattended installs. Without any, the program
// runs exactly as it always has. Switches start with "/" or "-", their names
// are case-insensitive, and values follow "=" (quoted when they hold blanks).
#include <optional>
#include <string>
#include <vector>

namespace kalvora {

enum class UiMode {
  Interactive, // the wizard and every question
  Passive,     // the background window and the installation dialog, no questions
  Quiet,       // no window at all
};

// The configurations a command line can name: the wizard's three radio buttons,
// the minimal one and the run from the medium sharing one.
enum class ConfigChoice { Standard, Minimal, Custom, Medium };

struct SetupSwitches {
  UiMode mode = UiMode::Interactive;
  std::optional<std::string> dir, group, log, source;
  std::optional<ConfigChoice> config;
  // Options by number (1 to 7) or by name, each once; names are matched with the script's later.
  std::optional<std::vector<std::string>> options;
  std::optional<std::string> saveInf, loadInf; // answer files
  bool noRestart = false;
  bool removeOld = false;      // an older copy that the script wants removed first is removed, quietly
  bool allowDowngrade = false; // a quiet or passive run may install over a newer version
  bool help = false;

  bool unattended() const { return mode != UiMode::Interactive; }
};

struct CommandLineResult {
  SetupSwitches switches;
  std::string error; // empty when the line is good
};

// The arguments after the program's name, as WinMain gets them.
CommandLineResult parseSetupCommandLine(const std::string& line);

// "1,3" or "Program,Help": the items of an option list; nothing for an empty
// item, a number other than 1 to 7, or an option given twice.
std::optional<std::vector<std::string>> optionList(const std::string& text);

// A configuration's name on the command line; nothing for another word.
std::optional<ConfigChoice> configNamed(const std::string& name);

// The text of the help box: every switch and the exit codes.
std::string setupUsageText();

} // namespace kalvora
