#include "app/AnswerFile.h"

#include <gtest/gtest.h>

#include "app/StartUp.h"
#include "app/UnattendedChoices.h"
#include "platform/MemoryPlatform.h"

namespace kalvora {
namespace {

const char* const kScript = "[kalvora]\nversion=220\n[directories]\nd0=C:\\Tool\n"
                            "[software]\nprggrp=Tool\no_standard=1\no_custom=1\nOpt1_name=Program\n"
                            "Opt2_name=Help\nOpt3_name=Samples\nOpt1_standard=1\nOpt2_standard=1\nOpt1_custom=1\n";

// Each row: an answer file and the command line beside it; the error's
// beginning, or the choices the run then makes (options 1..7 as 0/1).
TEST(AnswerFile, IsReadAndReplayedOrRefusedWithItsFault) {
  const struct {
    const char* file;
    const char* line;
    const char* error;
    const char* dir = "C:\\Tool";
    const char* group = "Tool";
    const char* chosen = "1100000";
    int oldCopyAnswer = -1; // the answer to the older-copy question: 0 No, 1 Yes, -1 not asked
  } rows[] = {
      {"", "", ""},
      {"[answers]\ndir=D:\\Apps\\Tool\ngroup=My Tools\nconfig=custom\noptions=program,Samples\n", "", "",
       "D:\\Apps\\Tool", "My_Tools", "1010000"},
      {"[answers]\noptions=3\nremoveold=1\n", "", "", "C:\\Tool", "Tool", "1010000"},
      {"[answers]\nremoveold=1\n", "", "", "C:\\Tool", "Tool", "1100000", 0}, // the user's No is saved
      {"", "", "", "C:\\Tool", "Tool", "1100000", 1},
      {"[answers]\ndir=D:\\FromFile\nconfig=custom\n", "/dir=E:\\FromLine /config=standard", "", "E:\\FromLine"},
      {"[other]\nkey=anything\n[answers]\nconfig=STANDARD\n", "", ""},
      {"[answers]\noptions=Program,Manual\n", "", "this setup has no option Manual"},
      {"[answers]\nconfig=full\n", "", "A:\\answers.ini: bad value of config: \"full\""},
      {"[answers]\noptions=1,,2\n", "", "A:\\answers.ini: bad value of options: \"1,,2\""},
      {"[answers]\nremoveold=yes\n", "", "A:\\answers.ini: bad value of removeold: \"yes\""},
      {"[answers]\ndir=\n", "", "A:\\answers.ini: bad value of dir: \"\""},
      {"[answers]\ntarget=C:\\X\n", "", "A:\\answers.ini: unknown key target in [answers]"},
      {nullptr, "", "the answer file A:\\answers.ini cannot be read"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.file ? row.file : "(no file)");
    MemoryPlatform platform;
    platform.setProgramPath("A:\\SETUP.EXE");
    platform.putFile("A:\\setup.inf", kScript);
    if (row.file) platform.putFile("A:\\answers.ini", row.file);
    for (const char drive : {'C', 'D', 'E'})
      platform.setFreeSpace(drive, 1000000);
    InstallState state;
    ASSERT_EQ(StartUp(platform, state).run(), StartUpOutcome::Continue);
    SetupSwitches switches = parseSetupCommandLine(row.line).switches;
    std::string error = loadAnswerFile(platform, "A:\\answers.ini", switches);
    if (error.empty()) error = applyUnattendedChoices(switches, state, platform).failure;
    EXPECT_EQ(error.substr(0, std::string(row.error).size()), row.error);
    EXPECT_EQ(error.empty(), std::string(row.error).empty()) << error;
    if (!error.empty()) continue;
    EXPECT_EQ(state.Choices.TargetDir, row.dir);
    EXPECT_EQ(state.Choices.ProgramGroup, row.group);
    std::string chosen;
    for (const bool c : state.Choices.OptionChosen)
      chosen += c ? '1' : '0';
    EXPECT_EQ(chosen, row.chosen);

    // The file saved after the run gives the same choices to the next one.
    if (row.oldCopyAnswer >= 0) state.Choices.RemoveOldCopy = row.oldCopyAnswer == 1;
    platform.putFile("A:\\saved.ini", answerFileText(state, switches));
    InstallState replay;
    ASSERT_EQ(StartUp(platform, replay).run(), StartUpOutcome::Continue);
    SetupSwitches again;
    ASSERT_EQ(loadAnswerFile(platform, "A:\\saved.ini", again), "");
    EXPECT_EQ(applyUnattendedChoices(again, replay, platform).failure, "");
    EXPECT_EQ(replay.Choices.TargetDir, state.Choices.TargetDir);
    EXPECT_EQ(replay.Choices.ProgramGroup, state.Choices.ProgramGroup);
    EXPECT_EQ(replay.Choices.OptionChosen, state.Choices.OptionChosen);
    EXPECT_EQ(again.removeOld, row.oldCopyAnswer < 0 ? switches.removeOld : row.oldCopyAnswer == 1);
  }
}

} // namespace
} // namespace kalvora
