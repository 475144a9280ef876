#include "app/UnattendedChoices.h"

#include <gtest/gtest.h>

#include "app/ExitCodes.h"
#include "app/StartUp.h"
#include "platform/MemoryPlatform.h"
#include "wizard/Leader.h"

namespace kalvora {
namespace {

// A script with the standard, minimal and custom configurations; option 1
// locked, option 3 unnamed (hidden), 40 000 bytes for the standard set.
const char* const kScript = "[kalvora]\nversion=220\n"
                            "[language]\nl2=Bad characters\nl3=Try again.\nl4=No drive\nl6=Bad group\n"
                            "l13=Not enough space\nl16=is full\n"
                            "[directories]\nd0=C:\\Tool\n"
                            "[software]\nprggrp=Tool\no_standard=1\no_min=1\no_custom=1\n"
                            "Opt1_name=Program\nOpt2_name=Help\nOpt1_standard=1\nOpt2_standard=1\nOpt1_min=1\n"
                            "Opt1_custom=1\nOpt1_space=10000\nOpt2_space=30000\nOpt3_space=5\n";

struct StartingHost : LeaderHost {
  void showCancelDialog() override {}
  void showFolderDialog() override {}
  void hideWizard() override {}
  void showInformationDisplay() override {}
  void showInstallation() override { started = true; }
  bool started = false;
};

// The interactive run with the same switches: the wizard starts with them
// chosen, and Next alone, page after page, starts the installation with the
// quiet run's choices.
void expectWizardPreselects(const SetupSwitches& switches, MemoryPlatform& platform, const InstallState& quiet) {
  InstallState state;
  ASSERT_EQ(StartUp(platform, state).run(), StartUpOutcome::Continue);
  if (switches.dir) state.Choices.TargetDir = *switches.dir;
  if (switches.group) state.Choices.ProgramGroup = *switches.group;
  StartingHost host;
  Leader wizard(platform, state, host);
  ASSERT_TRUE(namedConfiguration(switches, state, wizard.configurations().preselection).ok());
  wizard.FormCreate();
  for (int page = 1; page <= 6 && !host.started; ++page)
    wizard.Btn_weiterClick();
  ASSERT_TRUE(host.started);
  EXPECT_EQ(state.Choices.OptionChosen, quiet.Choices.OptionChosen);
  EXPECT_EQ(state.Choices.TargetDir, quiet.Choices.TargetDir);
  EXPECT_EQ(state.Choices.ProgramGroup, quiet.Choices.ProgramGroup);
}

TEST(UnattendedChoices, PassTheWizardsRules) {
  const struct {
    const char* line;
    int exitCode;
    const char* failure;     // beginning of the failure text
    const char* chosen = ""; // options 1..7 as 0/1 when the choices stand
    const char* dir = "C:\\Tool";
    const char* group = "Tool";
  } rows[] = {
      {"", kExitInstalled, "", "1100000"},
      {"/config=minimal /dir=\"  d:\\My Tool \" /group=\"My Tool?\"", kExitInstalled, "", "1000000", "d:\\My_Tool",
       "My_Tool_"},
      {"/options=2", kExitInstalled, "", "1100000"}, // option 1 is locked
      {"/config=custom", kExitInstalled, "", "1000000"},
      {"/dir=C:\\a|b", kExitBadValue, "target directory: Bad characters ? * | \" < > Try again."},
      {"/dir=Tool", kExitBadValue, "target directory: No drive Try again."},
      {"/group=A-B", kExitBadValue, "program group: Bad group - / ( ) ; : , | \" < > Try again."},
      {"/config=medium", kExitBadValue, "this setup does not offer the medium configuration"},
      {"/config=standard /options=1", kExitBadValue, "/options applies to the custom configuration only"},
      {"/options=1,3", kExitBadValue, "this setup has no option 3"},
      {"/options=help", kExitInstalled, "", "1100000"},
      {"/config=minimal", kExitInstalled, "", "1000000"},
      {"/config=custom /options=Program,3", kExitBadValue, "this setup has no option 3"}, // hidden: unnamed
      {"\"/options=Program, Manual\"", kExitBadValue, "this setup has no option Manual"},
      {"/dir=E:\\Tool /config=minimal", kExitNoSpace, "E: is full: Not enough space"},
      {"/dir=D:\\Tool", kExitNoSpace, "D: is full: Not enough space"}, // the standard set does not fit
      {"/dir=D:\\Tool /config=custom /options=1,2", kExitNoSpace, "D: is full"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.line);
    MemoryPlatform platform;
    platform.setProgramPath("A:\\SETUP.EXE");
    platform.putFile("A:\\setup.inf", kScript);
    platform.setFreeSpace('C', 1000000);
    platform.setFreeSpace('D', 20000);
    platform.setFreeSpace('E', 5000);
    InstallState state;
    ASSERT_EQ(StartUp(platform, state).run(), StartUpOutcome::Continue);
    const CommandLineResult line = parseSetupCommandLine(row.line);
    ASSERT_EQ(line.error, "");
    const ChoiceOutcome outcome = applyUnattendedChoices(line.switches, state, platform);
    EXPECT_EQ(outcome.exitCode, row.exitCode);
    EXPECT_EQ(outcome.failure.substr(0, std::string(row.failure).size()), row.failure);
    EXPECT_TRUE(platform.shownBoxes().empty());
    if (!outcome.ok()) continue;
    std::string chosen;
    for (bool on : state.Choices.OptionChosen)
      chosen += on ? '1' : '0';
    EXPECT_EQ(chosen, row.chosen);
    EXPECT_EQ(state.Choices.TargetDir, row.dir);
    EXPECT_EQ(state.Choices.ProgramGroup, row.group);
    EXPECT_EQ(state.Choices.ProgressTotal, 1);
    expectWizardPreselects(line.switches, platform, state);
  }
}

} // namespace
} // namespace kalvora
