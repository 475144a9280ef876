#include "app/StartUp.h"

#include <gtest/gtest.h>

#include "app/QuietSetup.h"
#include "platform/MemoryPlatform.h"

namespace kalvora {
namespace {

const char* const kKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tool";

class StartUpTest : public ::testing::Test {
protected:
  void SetUp() override { platform.setProgramPath("D:\\DISK1\\SETUP.EXE"); }
  void script(const std::string& text) { platform.putFile("D:\\DISK1\\setup.inf", text); }
  StartUpOutcome run() { return StartUp(platform, state).run(); }
  void installed(const std::string& uninstall, const std::string& version) {
    platform.putRegistryString(RegistryRoot::LocalMachine, kKey, "UninstallString", uninstall);
    platform.putRegistryString(RegistryRoot::LocalMachine, kKey, "version", version);
  }
  std::vector<std::string> boxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : platform.shownBoxes())
      texts.push_back(box.text);
    return texts;
  }

  MemoryPlatform platform;
  InstallState state;
};

const std::string kTexts =
    "[kalvora]\nversion=220\n[language]\nl63=newer\nl64=same\nl65=remove old?\nl66=must remove\n";
const std::string kHead = kTexts + "[software]\nname=Tool\n";

TEST(SourceDir, CutsAfterLastSeparatorAndEndsInOneBackslash) {
  EXPECT_EQ(sourceDirOf("A:\\SETUP.EXE"), "A:\\");
  EXPECT_EQ(sourceDirOf("D:\\DISK1\\SETUP.EXE"), "D:\\DISK1\\");
  EXPECT_EQ(sourceDirOf("A:SETUP.EXE"), "A:\\");
  EXPECT_EQ(sourceDirOf("\\\\srv\\share\\setup.exe"), "\\\\srv\\share\\");
  EXPECT_EQ(sourceDirOf("C:\\a\\\\setup.exe"), "C:\\a\\\\");
}

TEST(InstalledVersion, DecimalHexAndNonNumbers) {
  EXPECT_EQ(installedVersionFrom(std::nullopt), -1);
  EXPECT_EQ(installedVersionFrom("12"), 12);
  EXPECT_EQ(installedVersionFrom("0x1F"), 31);
  EXPECT_EQ(installedVersionFrom("0X10"), 16);
  EXPECT_EQ(installedVersionFrom("0x"), -1);
  EXPECT_EQ(installedVersionFrom("abc"), -1);
  EXPECT_EQ(installedVersionFrom(""), -1);
}

TEST(TargetDirFromUninstall, DropsCommandAndLogSuffix) {
  EXPECT_EQ(targetDirFromUninstallString("C:\\WINDOWS\\unkalvora.exe C:\\APPS\\TOOL\\setup\\uninst.log"),
            "C:\\APPS\\TOOL");
  EXPECT_EQ(targetDirFromUninstallString("C:\\APPS\\TOOL\\setup\\uninst.log"), "C:\\APPS\\TOOL");
  EXPECT_EQ(targetDirFromUninstallString("x \\setup\\uninst.log"), "");
  EXPECT_EQ(targetDirFromUninstallString("short"), "");
  EXPECT_EQ(targetDirFromUninstallString(""), "");
}

TEST_F(StartUpTest, MissingScriptShowsErrorAndEnds) {
  EXPECT_EQ(run(), StartUpOutcome::EndProgram);
  ASSERT_EQ(platform.shownBoxes().size(), 1u);
  const auto& box = platform.shownBoxes()[0];
  EXPECT_EQ(box.text, "File setup.inf not found.\rAsk your software-distributor for help.");
  EXPECT_EQ(box.caption, "Error");
  EXPECT_EQ(box.icon, MessageIcon::Error);
  EXPECT_EQ(state.Setup.SourceDir, "D:\\DISK1\\");
  EXPECT_FALSE(state.Run.Pending);
}

TEST_F(StartUpTest, OtherFormatVersionWarnsAndGoesOn) {
  script("[kalvora]\nversion=0x0DC\n");
  EXPECT_EQ(run(), StartUpOutcome::Continue);
  EXPECT_TRUE(platform.shownBoxes().empty()); // 0x0DC is 220

  MemoryPlatform other;
  other.setProgramPath("C:\\SETUP.EXE");
  other.putFile("C:\\setup.inf", "[software]\nname=x\n");
  InstallState s;
  EXPECT_EQ(StartUp(other, s).run(), StartUpOutcome::Continue);
  ASSERT_EQ(other.shownBoxes().size(), 1u);
  EXPECT_EQ(other.shownBoxes()[0].text, "There is a conflict with setup.inf.\rOperation may fail.");
  EXPECT_EQ(other.shownBoxes()[0].caption, "kalvora");
  EXPECT_EQ(other.shownBoxes()[0].icon, MessageIcon::None);
  EXPECT_TRUE(s.Run.Pending);
  EXPECT_FALSE(s.LayoutDone);
}

TEST_F(StartUpTest, ReadsTextsPicturesAndDefaults) {
  script(kTexts + "l1=Product\nl28=g\nl29=caption\nl48=c\nl54=s\n[software]\nname=Tool\n[main]\nback=b.bmp\nl2=Two\n"
                  "[leader]\nLbl2_color=255\n");
  ASSERT_EQ(run(), StartUpOutcome::Continue);
  EXPECT_EQ(state.Setup.TextTable[1], "Product");
  EXPECT_EQ(state.Setup.TextTable[28], "g");
  EXPECT_EQ(state.Setup.TextTable[29], ""); // read where it is used
  EXPECT_EQ(state.Setup.TextTable[48], "c");
  EXPECT_EQ(state.Setup.TextTable[54], "s");
  EXPECT_EQ(state.Setup.TextTable[63], "");
  EXPECT_EQ(state.Setup.BackPicture, "D:\\DISK1\\b.bmp");
  EXPECT_EQ(state.Setup.InfoPicture, "D:\\DISK1\\_");
  EXPECT_EQ(state.Setup.WizardPicture, "D:\\DISK1\\_");
  EXPECT_EQ(state.Setup.InfoText, "_");
  EXPECT_EQ(state.Setup.TitleLines[0], "");
  EXPECT_EQ(state.Setup.TitleLines[1], "Two");
  EXPECT_EQ(state.Setup.WelcomeNoteColor, 255);
  EXPECT_EQ(state.Setup.InstalledVersion, -1);
  EXPECT_EQ(state.Setup.InstalledUninstallString, "");
}

TEST_F(StartUpTest, NoInstalledCopyShowsNothingForVersionZeroButSameForMinusOne) {
  script(kHead);
  run();
  EXPECT_TRUE(platform.shownBoxes().empty());

  script(kHead + "[vercheck]\nversion=-1\n");
  InstallState again;
  StartUp(platform, again).run();
  EXPECT_EQ(boxTexts(), std::vector<std::string>{"same"});
}

TEST_F(StartUpTest, InstalledNewerOrSameCopyInformsOnly) {
  installed("C:\\WINDOWS\\unkalvora.exe C:\\APPS\\TOOL\\setup\\uninst.log", "0x10");
  script(kHead + "[vercheck]\nversion=5\nold=2\n");
  EXPECT_EQ(run(), StartUpOutcome::Continue);
  EXPECT_EQ(state.Setup.InstalledVersion, 16);
  EXPECT_EQ(boxTexts(), std::vector<std::string>{"newer"});
  EXPECT_EQ(state.Choices.TargetDir, "C:\\APPS\\TOOL");

  installed("C:\\WINDOWS\\unkalvora.exe C:\\APPS\\TOOL\\setup\\uninst.log", "16");
  script(kHead + "[vercheck]\nversion=16\nold=2\n");
  InstallState again;
  EXPECT_EQ(StartUp(platform, again).run(), StartUpOutcome::Continue);
  EXPECT_EQ(boxTexts(), (std::vector<std::string>{"newer", "same"}));
  EXPECT_TRUE(platform.startedPrograms().empty());
}

TEST_F(StartUpTest, OldOneAsksAndStartsUninstallerOnYesOnly) {
  installed("C:\\WINDOWS\\unkalvora.exe C:\\APPS\\TOOL\\setup\\uninst.log", "3");
  script(kHead + "[vercheck]\nversion=4\nold=1\n");
  platform.answerNextBox(MessageResult::No);
  EXPECT_EQ(run(), StartUpOutcome::Continue);
  EXPECT_TRUE(platform.startedPrograms().empty());
  EXPECT_EQ(platform.shownBoxes().back().buttons, MessageButtons::YesNo);
  EXPECT_EQ(state.Choices.RemoveOldCopy, false); // the answer, for an answer file

  platform.answerNextBox(MessageResult::Yes);
  InstallState again;
  EXPECT_EQ(StartUp(platform, again).run(), StartUpOutcome::Continue);
  EXPECT_EQ(again.Choices.RemoveOldCopy, true);
  EXPECT_EQ(platform.startedPrograms(),
            std::vector<std::string>{"C:\\WINDOWS\\unkalvora.exe C:\\APPS\\TOOL\\setup\\uninst.log"});
}

TEST_F(StartUpTest, OldTwoEndsWhateverTheAnswer) {
  installed("u.exe C:\\X\\setup\\uninst.log", "3");
  script(kHead + "[vercheck]\nversion=4\nold=2\n");
  platform.answerNextBox(MessageResult::Cancel);
  EXPECT_EQ(run(), StartUpOutcome::EndProgram);
  EXPECT_TRUE(platform.startedPrograms().empty());
  EXPECT_EQ(platform.shownBoxes().back().text, "must remove");
  EXPECT_EQ(platform.shownBoxes().back().buttons, MessageButtons::OkCancel);

  platform.answerNextBox(MessageResult::Ok);
  InstallState again;
  EXPECT_EQ(StartUp(platform, again).run(), StartUpOutcome::EndProgram);
  EXPECT_EQ(platform.startedPrograms(), std::vector<std::string>{"u.exe C:\\X\\setup\\uninst.log"});
}

// /removeold: the question is not asked; the copy's uninstaller runs quietly
// and the start-up goes on only when it removed everything.
TEST_F(StartUpTest, UnattendedRunRemovesTheOlderCopyFirstOrStops) {
  installed("u.exe C:\\X\\setup\\uninst.log", "3");
  script(kTexts + "[software]\nname=Tool\nprggrp=Tools\n[vercheck]\nversion=4\nold=2\n");
  SetupSwitches switches;
  switches.mode = UiMode::Quiet;
  switches.removeOld = true;
  SetupLog log;
  for (const bool removed : {true, false}) {
    std::vector<std::string> commands;
    InstallState fresh;
    StartUp startUp(platform, fresh);
    startUp.removeOldCopyWith([&](const std::string& command) {
      commands.push_back(command);
      return removed;
    });
    EXPECT_EQ(startUp.run(), removed ? StartUpOutcome::Continue : StartUpOutcome::EndProgram);
    EXPECT_EQ(commands, std::vector<std::string>{"u.exe C:\\X\\setup\\uninst.log"});
    EXPECT_EQ(fresh.Choices.ProgramGroup, removed ? "Tools" : "");
    EXPECT_EQ(startUpExit(!removed, fresh, false, switches, log), removed ? std::nullopt : std::optional<int>(3));
  }
  EXPECT_TRUE(platform.shownBoxes().empty());
  EXPECT_TRUE(oldCopyRemover(platform, switches, log)("u.exe C:\\X\\setup\\uninst.log"));
  EXPECT_EQ(platform.hiddenPrograms(), std::vector<std::string>{"u.exe C:\\X\\setup\\uninst.log /quiet"});
  EXPECT_FALSE(oldCopyRemover(platform, SetupSwitches{}, log)); // an interactive run asks

  // A newer version installed: an unattended run stops unless /allowdowngrade.
  InstallState newer;
  newer.Setup.SetupScript = std::make_unique<SetupScript>("D:\\DISK1\\setup.inf", platform);
  newer.Setup.InstalledVersion = 5;
  newer.Setup.NewVersion = 4;
  EXPECT_EQ(startUpExit(false, newer, false, switches, log), 1638);
  EXPECT_EQ(startUpExit(false, newer, false, SetupSwitches{}, log), std::nullopt);
  switches.allowDowngrade = true;
  EXPECT_EQ(startUpExit(false, newer, false, switches, log), std::nullopt);
}

TEST_F(StartUpTest, OldIgnoredWithoutUninstallStringOrRefusedKey) {
  platform.putRegistryString(RegistryRoot::LocalMachine, kKey, "version", "1");
  script(kHead + "[vercheck]\nversion=4\nold=2\n[directories]\nd0=C:\\NEW\n");
  EXPECT_EQ(run(), StartUpOutcome::Continue);
  EXPECT_EQ(state.Setup.InstalledVersion, 1);
  EXPECT_EQ(state.Choices.TargetDir, "C:\\NEW");

  installed("u.exe C:\\X\\setup\\uninst.log", "1");
  platform.refuseRegistryKey(RegistryRoot::LocalMachine, kKey);
  InstallState again;
  EXPECT_EQ(StartUp(platform, again).run(), StartUpOutcome::Continue);
  EXPECT_EQ(again.Setup.InstalledVersion, -1);
  EXPECT_EQ(again.Setup.InstalledUninstallString, "");
}

TEST_F(StartUpTest, TargetDirDefaultsDependOnTake) {
  script(kHead + "[vercheck]\ntake=0\n");
  run();
  EXPECT_EQ(state.Choices.TargetDir, "_");
  script(kHead);
  InstallState again;
  StartUp(platform, again).run();
  EXPECT_EQ(again.Choices.TargetDir, "");

  installed("u.exe C:\\X\\setup\\uninst.log", "1");
  script(kHead + "[vercheck]\ntake=0\n[directories]\nd0=C:\\D0\n");
  InstallState third;
  StartUp(platform, third).run();
  EXPECT_EQ(third.Choices.TargetDir, "C:\\D0");
}

TEST_F(StartUpTest, OptionsReadOnlyForOfferedConfigurations) {
  script(kTexts + "[software]\nname=Tool\no_min=1\nOpt1_custom=1\nOpt1_locked=1\nOpt1_min=1\nOpt3_min=1\n"
                  "Opt1_standard=1\nOpt2_prgitem=1\nOpt1_space=100\nOpt3_space=50\nOpt7_name=Seven\n");
  run();
  EXPECT_TRUE(state.Setup.MinimalOffered);
  EXPECT_FALSE(state.Setup.CustomOffered);
  EXPECT_FALSE(state.Setup.FirstOptionLocked);
  EXPECT_FALSE(state.Setup.OptionInCustom[0]);
  EXPECT_FALSE(state.Setup.OptionInStandard[0]);
  EXPECT_TRUE(state.Setup.OptionInMinimal[2]);
  EXPECT_TRUE(state.Setup.OptionGroupItem[1]);
  EXPECT_EQ(state.Setup.OptionName[6], "Seven");
  EXPECT_EQ(state.Setup.TotalMin, 150);
  EXPECT_EQ(state.Setup.TotalStandard, 0);
}

TEST_F(StartUpTest, CompressionSizeAddsToEveryTotalAndSumsWrap) {
  script(kTexts + "[software]\nname=Tool\no_custom=1\no_standard=1\nOpt1_custom=1\nOpt2_custom=1\n"
                  "Opt1_standard=1\nOpt1_space=2147483647\nOpt2_space=1\n[compression]\nmode=1\nsize=500\n");
  run();
  EXPECT_TRUE(state.Setup.FirstOptionLocked); // default true when custom is offered
  EXPECT_EQ(state.Setup.TotalMin, 500);
  EXPECT_EQ(state.Setup.TotalStandard, static_cast<std::int32_t>(2147483647u + 500u));
  EXPECT_EQ(state.Setup.TotalCustom, static_cast<std::int32_t>(2147483648u + 500u));
  EXPECT_EQ(state.Setup.CompressionMode, 1);
}

} // namespace
} // namespace kalvora
