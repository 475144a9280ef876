#include "install/ProgramGroup.h"

#include <gtest/gtest.h>

#include "InstallFixture.h"

namespace kalvora {
namespace {

using testing::InstallFixture;
constexpr GroupDelivery kShell = GroupDelivery::ProgramManager;

// A finished run whose program group stage is then run again with the log open.
struct Group : InstallFixture {
  explicit Group(const std::string& script) : InstallFixture(script) {
    state.Setup.TextTable[22] = "Program group";
    state.Setup.TextTable[23] = "Extensions";
    EXPECT_EQ(activate(), "");
    run().Log.open("C:\\App\\setup\\uninst.log", platform);
    view.item.clear();
    view.labels.clear();
  }
  std::vector<std::string> sent() { return platform.shellCommands(); }
};

TEST(ProgramGroup, ItemsOfChosenOptionsFollowTheGroupCommandOnTheFirstLine) {
  Group g("[software]\nname=Tool\n[prggrp]\nuninst=0\ntotal=3\n"
          "o1=2\np1=Other\n"
          "o2=1\nf2=2\nr2=-x\np2=Tool\n"
          "o3=9\np3=Nowhere\n"
          "[Option_1]\nf2=tool.exe\nd2=3\n[directories]\nd1_3=%SYSTEMROOT%\\SYSTEM\\\n");
  g.state.Choices.ProgramGroup = "Tools";
  EXPECT_TRUE(programGroupStage(g.run(), false, kShell));
  EXPECT_EQ(g.sent(),
            std::vector<std::string>{"[CreateGroup(Tools)][AddItem(C:\\WINDOWS\\SYSTEM\\tool.exe -x,Tool)]\r\n"});
  EXPECT_TRUE(g.state.Run.GroupItemsCreated);
  EXPECT_EQ(g.view.item, (std::vector<int>{0, 33, 67, 100}));
  EXPECT_EQ(g.log("uninstall", "prggrp"), "Tools");
}

TEST(ProgramGroup, TheGroupFolderGetsOneRightLinkPerItemRecordedForTheUninstaller) {
  Group g("[software]\nname=Tool\n[prggrp]\ntotal=1\no1=1\nr1=-x a\np1=Tool\n"
          "[Option_1]\nf1=tool.exe\nd1=1\n[directories]\nd1_1=%SystemRoot%\\SYSTEM\n");
  g.state.Choices.ProgramGroup = "Tools";
  g.platform.setProgramsFolders("C:\\All\\Programs", "C:\\Me\\Programs");
  // The shell made the group in the user's folder, with the uninstaller's link but not its argument.
  const std::string folder = "C:\\Me\\Programs\\Tools";
  g.platform.putDirectory(folder);
  g.platform.writeShellLink(folder + "\\Uninstall Tool.lnk", {"C:\\WINDOWS\\unkalvora.exe", "", ""});
  EXPECT_TRUE(programGroupStage(g.run(), false, kShell));

  EXPECT_EQ(g.log("prggrp", "folder"), folder);
  EXPECT_EQ(g.log("prggrp", "total"), "2");
  EXPECT_EQ(g.log("prggrp", "l1"), folder + "\\Uninstall Tool.lnk");
  EXPECT_EQ(g.log("prggrp", "l2"), folder + "\\Tool.lnk");
  EXPECT_EQ(g.file(folder + "\\Uninstall Tool.lnk"),
            "C:\\WINDOWS\\unkalvora.exe\nC:\\App\\setup\\uninst.log\nC:\\WINDOWS");
  EXPECT_EQ(g.file(folder + "\\Tool.lnk"), "C:\\WINDOWS\\SYSTEM\\tool.exe\n-x a\nC:\\WINDOWS\\SYSTEM");
  EXPECT_FALSE(g.platform.directoryExists("C:\\All\\Programs\\Tools"));
  std::string textLog;
  for (const std::string& line : g.run().TextLog.lines())
    textLog += line.substr(line.find(' ') + 1) + "|";
  EXPECT_NE(textLog.find("group Tools sent to the shell|group " + folder + "|item rewritten " + folder +
                         "\\Uninstall Tool.lnk|item made " + folder + "\\Tool.lnk|"),
            std::string::npos)
      << textLog;
}

// A run without windows writes the group itself: the same folder, links and
// records for the uninstaller as a run through the shell, and nothing sent.
TEST(ProgramGroup, WithoutTheShellTheSameFolderLinksAndRecords) {
  std::string logs[2];
  for (const GroupDelivery way : {kShell, GroupDelivery::LinksOnly}) {
    Group g("[software]\nname=Tool\n[prggrp]\ntotal=1\no1=1\np1=Tool\n[Option_1]\nf1=tool.exe\n");
    g.platform.setProgramsFolders("C:\\All\\Programs", "C:\\Me\\Programs");
    EXPECT_TRUE(programGroupStage(g.run(), false, way));
    EXPECT_EQ(g.sent().size(), way == kShell ? 1u : 0u);
    EXPECT_EQ(g.file("C:\\Me\\Programs\\Tool\\Tool.lnk"), "C:\\App\\tool.exe\n\nC:\\App");
    EXPECT_EQ(g.log("prggrp", "total"), "2");
    logs[way == kShell ? 0 : 1] = g.run().Log.text();
  }
  EXPECT_EQ(logs[0], logs[1]);
}

TEST(ProgramGroup, UninstallerItemAndDefaultsOfAnItem) {
  Group g("[prggrp]\n[Option_1]\n");
  EXPECT_TRUE(programGroupStage(g.run(), false, kShell));
  // No [software] name: group "_", caption without a name; item 1 of option 1
  // with no keys: the target's root directory and no file name.
  EXPECT_EQ(g.sent(), std::vector<std::string>{"[CreateGroup(_)][AddItem(C:\\WINDOWS\\unkalvora.exe "
                                               "C:\\App\\setup\\uninst.log,Uninstall)]\r\n"
                                               "[AddItem(C:\\App\\,[unbenannt_1])]\r\n"});
}

TEST(ProgramGroup, NothingIsSentWithoutItemsOrWhenStopped) {
  Group none("[software]\nname=Tool\n[prggrp]\nuninst=0\ntotal=1\no1=2\n");
  EXPECT_TRUE(programGroupStage(none.run(), false, kShell));
  EXPECT_TRUE(none.sent().empty());
  EXPECT_FALSE(none.state.Run.GroupItemsCreated);

  Group stopped("[software]\nname=Tool\n[prggrp]\ntotal=2\n");
  stopped.platform.quitAt = stopped.platform.messagesProcessed() + 1;
  EXPECT_FALSE(programGroupStage(stopped.run(), false, kShell));
  EXPECT_FALSE(stopped.run().Error);
  EXPECT_TRUE(stopped.sent().empty());
}

TEST(ProgramGroup, EightItemsStepTheBarByRoundedEighths) {
  Group g("[prggrp]\nuninst=0\ntotal=8\n");
  EXPECT_TRUE(programGroupStage(g.run(), false, kShell));
  EXPECT_EQ(g.view.item, (std::vector<int>{0, 12, 25, 38, 50, 62, 75, 88, 100}));
  EXPECT_EQ(g.sent().at(0).find("[CreateGroup(_)][AddItem("), 0u);
}

TEST(ProgramGroup, ARunFromTheMediumPointsItsItemsAtTheMediumsShare) {
  Group g("[software]\nname=A [beta]\n[prggrp_run]\nv1=\\bin\\tool.exe\np1=Tool\n");
  g.platform.setProgramPath("\\\\server\\share\\setup\\setup.exe");
  EXPECT_TRUE(programGroupStage(g.run(), true, kShell));
  EXPECT_EQ(g.sent(),
            std::vector<std::string>{
                "[CreateGroup(New)][AddItem(C:\\WINDOWS\\unkalvora.exe C:\\App\\setup\\uninst.log,Uninstall)]\r\n"
                "[AddItem(\\\\server\\share\\bin\\tool.exe,Tool)]\r\n"
                "[AddItem(\\\\server\\share_,noname2)]\r\n"});
  EXPECT_EQ(g.view.labels, (std::vector<std::string>{"Extensions", "Program group"}));
  EXPECT_EQ(g.log("extensions", "total"), "0");
  EXPECT_EQ(g.log("uninstall", "prggrp"), "New");
  EXPECT_EQ(driveOfPath("d:\\setup.exe"), "d:");
  EXPECT_EQ(driveOfPath("setup.exe"), "");
}

} // namespace
} // namespace kalvora
