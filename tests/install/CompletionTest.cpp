#include "install/Completion.h"

#include <gtest/gtest.h>

#include "platform/MemoryPlatform.h"

namespace kalvora {
namespace {

struct RecordingHost : CompletionHost {
  void closeDialog() override { ++closed; }
  void bringApplicationToFront() override { ++broughtToFront; }
  int closed = 0, broughtToFront = 0;
};

struct CompletionFixture {
  explicit CompletionFixture(const std::string& software) {
    platform.putFile("C:\\App\\setup\\setup.tmp", "[software]\n" + software);
    platform.putFile("C:\\App\\setup\\compress.tmp", "x");
    platform.putFile(kTempPicture, "x");
    state.Choices.TargetDir = "C:\\App";
    state.Choices.ProgramGroup = "Tools";
    state.Run.ReadmePath = "C:\\App\\doc\\readme.txt";
    state.Setup.TextTable[7] = "Restart now?";
    state.Setup.TextTable[8] = "Please restart later.";
    state.Setup.TextTable[21] = "Done.";
    setupCopy = std::make_unique<SetupScript>("C:\\App\\setup\\setup.tmp", platform);
    logic.FormCreate();
  }
  void show() { logic.FormShow(setupCopy); }
  std::vector<std::string> boxTexts() const {
    std::vector<std::string> texts;
    for (const auto& box : platform.shownBoxes())
      texts.push_back(box.caption + ": " + box.text);
    return texts;
  }

  MemoryPlatform platform;
  InstallState state;
  RecordingHost host;
  std::unique_ptr<SetupScript> setupCopy;
  Completion logic{platform, state, host};
};

TEST(Completion, TitleMatchesOnlyAPrefixOfItsFirst19Characters) {
  EXPECT_TRUE(titleShowsGroup("tools - manager", "Tools"));
  EXPECT_FALSE(titleShowsGroup("Tool", "Tools"));
  EXPECT_FALSE(titleShowsGroup("Program Manager", ""));
  EXPECT_TRUE(titleShowsGroup("A group of 19 chars", "A group of 19 chars"));
  EXPECT_FALSE(titleShowsGroup("A group of twenty ch", "A group of twenty ch"));
}

TEST(Completion, WaitsForTheGroupWindowOnlyAfterItemsWereCreated) {
  CompletionFixture none("");
  none.platform.setForegroundWindowTitle("Tools");
  none.show();
  EXPECT_EQ(none.platform.messagesProcessed(), 0);
  EXPECT_EQ(none.host.broughtToFront, 0);
  EXPECT_EQ(none.logic.Lbl_complete, "Done. ");

  CompletionFixture found("");
  found.state.Run.GroupItemsCreated = true;
  found.platform.setForegroundWindowTitle("TOOLS");
  found.show();
  EXPECT_TRUE(found.state.Run.GroupItemsCreated);
  EXPECT_EQ(found.host.broughtToFront, 1);
}

TEST(Completion, GivesUpAfterMoreThanSixSeconds) {
  CompletionFixture f("");
  f.state.Run.GroupItemsCreated = true;
  f.state.Choices.ProgramGroup = "";
  f.platform.setForegroundWindowTitle("Program Manager");
  f.show(); // the memory clock moves one second per delivery of messages
  EXPECT_EQ(f.platform.messagesProcessed(), 7);
  EXPECT_FALSE(f.state.Run.GroupItemsCreated);
  EXPECT_EQ(f.host.broughtToFront, 0);
}

TEST(Completion, ShowsTheClosingMessageAndPlacesTheButtons) {
  CompletionFixture f("msg2=Enjoy\nmsg2t=Hello\nreadmestart=2\n");
  f.platform.putFile(f.state.Run.ReadmePath, "read me");
  f.show();
  EXPECT_EQ(f.boxTexts(), std::vector<std::string>{"Hello: Enjoy"});
  EXPECT_EQ(f.platform.shownBoxes()[0].icon, MessageIcon::Information);
  EXPECT_TRUE(f.logic.readmeVisible);
  EXPECT_EQ(f.logic.completeLeft, kCompleteButtonLeft);
  EXPECT_TRUE(f.platform.startedPrograms().empty());

  CompletionFixture missing("msg2=Enjoy\nreadmestart=2\n");
  missing.show();
  EXPECT_EQ(missing.boxTexts(), std::vector<std::string>{"kalvora: Enjoy"});
  EXPECT_FALSE(missing.logic.readmeVisible);
  EXPECT_EQ(missing.logic.completeLeft, kCompleteButtonCentred);
}

TEST(Completion, OpensTheReadmeAtOnceFallingBackToNotepad) {
  CompletionFixture f("readmestart=1\n");
  f.platform.putFile(f.state.Run.ReadmePath, "read me");
  f.platform.failStartOf("write ");
  f.show();
  EXPECT_EQ(f.platform.startedPrograms(),
            (std::vector<std::string>{"write C:\\App\\doc\\readme.txt", "notepad C:\\App\\doc\\readme.txt"}));
  EXPECT_FALSE(f.logic.readmeVisible);
  EXPECT_EQ(f.logic.completeLeft, kCompleteButtonCentred);
}

TEST(Completion, AReadmePathWithBlanksReachesTheViewerWhole) {
  CompletionFixture f("readmestart=1\n");
  f.state.Run.ReadmePath = "C:\\My App\\doc\\read me.txt";
  f.platform.putFile(f.state.Run.ReadmePath, "read me");
  f.platform.failStartOf("write ");
  f.show();
  EXPECT_EQ(f.platform.startedPrograms(), (std::vector<std::string>{"write \"C:\\My App\\doc\\read me.txt\"",
                                                                    "notepad \"C:\\My App\\doc\\read me.txt\""}));
}

TEST(Completion, OkStartsTheProgramRemovesWorkFilesAndEndsOnce) {
  CompletionFixture f("run=bin\\tool.exe\n");
  f.show();
  f.logic.Btn_completeClick();
  f.logic.Btn_completeClick();
  EXPECT_EQ(f.platform.startedPrograms(), std::vector<std::string>{"C:\\App\\bin\\tool.exe"});
  EXPECT_FALSE(f.setupCopy);
  EXPECT_FALSE(f.platform.fileExists("C:\\App\\setup\\setup.tmp"));
  EXPECT_FALSE(f.platform.fileExists("C:\\App\\setup\\compress.tmp"));
  EXPECT_FALSE(f.platform.fileExists(kTempPicture));
  EXPECT_TRUE(f.platform.terminated());
  EXPECT_EQ(f.host.closed, 1);
  EXPECT_TRUE(f.platform.shownBoxes().empty());
  EXPECT_TRUE(f.platform.sessionEnds().empty());

  CompletionFixture empty("");
  empty.show();
  empty.logic.Btn_completeClick();
  EXPECT_TRUE(empty.platform.startedPrograms().empty());
}

TEST(Completion, KeysAndTheReadmeButtonEndLikeOk) {
  CompletionFixture f("run=a.exe\nreadmestart=2\n");
  f.platform.putFile(f.state.Run.ReadmePath, "read me");
  f.show();
  EXPECT_FALSE(f.logic.Btn_completeKeyDown('A'));
  EXPECT_EQ(f.host.closed, 0);
  EXPECT_TRUE(f.logic.Btn_completeKeyDown(115)); // F4
  EXPECT_EQ(f.host.closed, 1);

  CompletionFixture readme("run=a.exe\nreadmestart=2\n");
  readme.platform.putFile(readme.state.Run.ReadmePath, "read me");
  readme.show();
  readme.logic.Btn_readmeClick();
  EXPECT_EQ(readme.platform.startedPrograms(),
            (std::vector<std::string>{"write C:\\App\\doc\\readme.txt", "C:\\App\\a.exe"}));
  EXPECT_FALSE(readme.logic.readmeEnabled);
  EXPECT_EQ(readme.host.closed, 1);
}

struct RebootCase {
  const char* reboot;
  MessageResult answer;
  bool refuse;
  std::vector<SessionEnd> ends;
  std::vector<std::string> boxes;
  bool due = false;  // restartDue afterwards
  bool offer = true; // offerRestart (false under /norestart)
};

TEST(Completion, AsksBeforeRestartingOrLoggingOff) {
  const std::string ask = "kalvora: Restart now?", later = "Setup: Please restart later.";
  const std::vector<RebootCase> cases = {
      {"1", MessageResult::Ok, false, {SessionEnd::Restart}, {ask}},
      {"1", MessageResult::Ok, true, {SessionEnd::Restart}, {ask, later}, true},
      {"1", MessageResult::Cancel, false, {}, {ask, later}, true},
      {"2", MessageResult::Ok, true, {SessionEnd::LogOff}, {ask}, true},
      {"3", MessageResult::Ok, false, {}, {ask}},
      {"0", MessageResult::Ok, false, {}, {}},
      // /norestart: nothing asked, nothing ended, and a restart or log-off stays due.
      {"1", MessageResult::Ok, false, {}, {}, true, false},
      {"2", MessageResult::Ok, false, {}, {}, true, false},
      {"3", MessageResult::Ok, false, {}, {}, false, false},
  };
  for (const RebootCase& c : cases) {
    SCOPED_TRACE(std::string("reboot=") + c.reboot);
    CompletionFixture f(std::string("reboot=") + c.reboot + "\n");
    f.platform.answerNextBox(c.answer);
    if (c.refuse) f.platform.refuseSessionEnd();
    f.logic.offerRestart = c.offer;
    f.show();
    f.logic.Btn_completeClick();
    EXPECT_EQ(f.logic.restartDue, c.due);
    EXPECT_EQ(f.logic.sessionEnded, !c.ends.empty() && !c.refuse);
    EXPECT_EQ(f.platform.sessionEnds(), c.ends);
    EXPECT_EQ(f.boxTexts(), c.boxes);
    EXPECT_TRUE(f.platform.terminated());
    if (!c.boxes.empty()) {
      EXPECT_EQ(f.platform.shownBoxes()[0].buttons, MessageButtons::OkCancel);
    }
  }
}

} // namespace
} // namespace kalvora
