#include "app/CommandLine.h"

#include "app/ExitCodes.h"
#include "runtime/ProgramFault.h"

#include <gtest/gtest.h>

namespace kalvora {
namespace {

// Each row: a command line, and either the error's beginning or what it sets.
TEST(SetupCommandLine, ReadsSwitchesAndRefusesBadOnes) {
  const struct {
    const char* line;
    const char* error; // beginning of the error; empty for a good line
    UiMode mode = UiMode::Interactive;
    const char* dir = nullptr;
    const char* group = nullptr;
    std::optional<ConfigChoice> config{};
    std::vector<std::string> options{};
    bool noRestart = false;
  } rows[] = {
      {"", ""},
      {"   ", ""},
      {"/quiet", "", UiMode::Quiet},
      {"-PASSIVE", "", UiMode::Passive},
      {"/Quiet /dir=C:\\App /group=Tools /config=Custom /options=1,3 /norestart",
       "",
       UiMode::Quiet,
       "C:\\App",
       "Tools",
       ConfigChoice::Custom,
       {"1", "3"},
       true},
      {"/quiet /dir=\"C:\\Program Files\\App\" \"/group=My Tools\"", "", UiMode::Quiet, "C:\\Program Files\\App",
       "My Tools"},
      {"-dir=C:\\A\t-config=medium", "", UiMode::Interactive, "C:\\A", nullptr, ConfigChoice::Medium},
      {"/config=MINIMAL /options=7,2", "", UiMode::Interactive, nullptr, nullptr, ConfigChoice::Minimal, {"7", "2"}},
      {"\"/options=Program, System part\"", "", UiMode::Interactive, nullptr, nullptr, {}, {"Program", "System part"}},
      {"/silent", "", UiMode::Passive},
      {"/VERYSILENT /norestart", "", UiMode::Quiet, nullptr, nullptr, {}, {}, true},
      {"/S", "", UiMode::Quiet},
      {"-qn", "", UiMode::Quiet},
      {"/qn /silent", "/quiet and /passive exclude each other"},
      {"/S /quiet", "the switch /quiet is given twice"},
      {"/s=1", "the switch /quiet takes no value"},
      {"/silentx", "unknown switch /silentx"},
      {"setup /quiet", "unexpected argument \"setup\""},
      {"/dir", "the switch /dir needs a value"},
      {"/group=", "the switch /group needs a value"},
      {"/quiet=yes", "the switch /quiet takes no value"},
      {"/dir=C:\\A /DIR=C:\\B", "the switch /dir is given twice"},
      {"/quiet /passive", "/quiet and /passive exclude each other"},
      {"/config=full", "unknown configuration \"full\""},
      {"/options=1,,3", "bad option list"},
      {"/options=8", "bad option list"},
      {"/options=1,1", "bad option list"},
      {"/options=Help,2,HELP", "bad option list"},
      {"/options=07", "bad option list"},
      {"/options=1,", "bad option list"},
      {"/dir=\"C:\\A", "a quote is left open"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.line);
    const CommandLineResult result = parseSetupCommandLine(row.line);
    EXPECT_EQ(result.error.substr(0, std::string(row.error).size()), row.error);
    EXPECT_EQ(result.error.empty(), std::string(row.error).empty()) << result.error;
    if (!result.error.empty()) continue;
    const SetupSwitches& s = result.switches;
    EXPECT_EQ(s.mode, row.mode);
    EXPECT_EQ(s.dir.value_or("-"), row.dir ? row.dir : "-");
    EXPECT_EQ(s.group.value_or("-"), row.group ? row.group : "-");
    EXPECT_EQ(s.config, row.config);
    EXPECT_EQ(s.options.value_or(std::vector<std::string>{}), row.options);
    EXPECT_EQ(s.noRestart, row.noRestart);
  }
  const SetupSwitches upgrade = parseSetupCommandLine("/removeold -ALLOWDOWNGRADE").switches;
  EXPECT_TRUE(upgrade.removeOld && upgrade.allowDowngrade);
  EXPECT_FALSE(parseSetupCommandLine("/quiet").switches.removeOld);
  // The help names every exit code the program has.
  for (const int code :
       std::initializer_list<int>{kExitInstalled, kExitFailed, kExitBadValue, kExitInstalledCopy, kExitNoSpace,
                                  kExitVolumeMissing, kExitRestartRequired, kExitRestartStarted, kExitAnotherInstaller,
                                  kExitNewerInstalled, static_cast<int>(kExitProgramFault)})
    EXPECT_NE(setupUsageText().find(" " + std::to_string(code) + " "), std::string::npos) << code;
  EXPECT_TRUE(parseSetupCommandLine("/?").switches.help);
  EXPECT_TRUE(parseSetupCommandLine("-HELP").switches.help);
  EXPECT_EQ(parseSetupCommandLine("/log=\"C:\\my logs\\setup.txt\" /source=D:\\").switches.log,
            "C:\\my logs\\setup.txt");
}

} // namespace
} // namespace kalvora
