#include "install/ProgramGroup.h"

#include <gtest/gtest.h>

#include "InstallFixture.h"

namespace kalvora {
namespace {

using testing::InstallFixture;

// A finished run whose program group stage is then run again with the log open.
struct Group : InstallFixture {
  explicit Group(const std::string& script) : InstallFixture(script) {
    state.TextTable[22] = "Program group";
    state.TextTable[23] = "Extensions";
    activate();
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
  g.state.ProgramGroup = "Tools";
  programGroupStage(g.run(), false);
  EXPECT_EQ(g.sent(),
            std::vector<std::string>{"[CreateGroup(Tools)][AddItem(C:\\WINDOWS\\SYSTEM\\tool.exe -x,Tool)]\r\n"});
  EXPECT_TRUE(g.state.GroupItemsCreated);
  EXPECT_EQ(g.view.item, (std::vector<int>{0, 33, 67, 100}));
  EXPECT_EQ(g.log("uninstall", "prggrp"), "Tools");
}

TEST(ProgramGroup, UninstallerItemAndDefaultsOfAnItem) {
  Group g("[prggrp]\n[Option_1]\n");
  programGroupStage(g.run(), false);
  // No [software] name: group "_", caption without a name; item 1 of option 1
  // with no keys: the target's root directory and no file name.
  EXPECT_EQ(g.sent(), std::vector<std::string>{"[CreateGroup(_)][AddItem(C:\\WINDOWS\\unkalvora.exe "
                                               "C:\\App\\setup\\uninst.log,Uninstall)]\r\n"
                                               "[AddItem(C:\\App\\,[unbenannt_1])]\r\n"});
}

TEST(ProgramGroup, NothingIsSentWithoutItemsOrWhenStopped) {
  Group none("[software]\nname=Tool\n[prggrp]\nuninst=0\ntotal=1\no1=2\n");
  programGroupStage(none.run(), false);
  EXPECT_TRUE(none.sent().empty());
  EXPECT_FALSE(none.state.GroupItemsCreated);

  Group stopped("[software]\nname=Tool\n[prggrp]\ntotal=2\n");
  stopped.platform.quitAt = stopped.platform.messagesProcessed() + 1;
  EXPECT_THROW(programGroupStage(stopped.run(), false), RunStopped);
  EXPECT_TRUE(stopped.sent().empty());
}

TEST(ProgramGroup, EightItemsStepTheBarByRoundedEighths) {
  Group g("[prggrp]\nuninst=0\ntotal=8\n");
  programGroupStage(g.run(), false);
  EXPECT_EQ(g.view.item, (std::vector<int>{0, 12, 25, 38, 50, 62, 75, 88, 100}));
  EXPECT_EQ(g.sent().at(0).find("[CreateGroup(_)][AddItem("), 0u);
}

TEST(ProgramGroup, ARunFromTheMediumPointsItsItemsAtTheMediumsShare) {
  Group g("[software]\nname=A [beta]\n[prggrp_run]\nv1=\\bin\\tool.exe\np1=Tool\n");
  g.platform.setProgramPath("\\\\server\\share\\setup\\setup.exe");
  programGroupStage(g.run(), true);
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
