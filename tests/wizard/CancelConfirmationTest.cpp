#include "wizard/CancelConfirmation.h"

#include <gtest/gtest.h>

#include "WizardFixture.h"

namespace kalvora {
namespace {

class ClosingHost : public DialogHost {
public:
  void closeDialog() override { ++closed; }
  int closed = 0;
};

TEST(DecliningCaption, GermanNoForAnyJ) {
  EXPECT_EQ(decliningCaption("&Ja"), "&nein");
  EXPECT_EQ(decliningCaption("&Yes"), "&no");
  EXPECT_EQ(decliningCaption("ok, jetzt"), "&nein");
  EXPECT_EQ(decliningCaption(""), "&no");
  EXPECT_EQ(decliningCaption("Abbrechen"), "&no");
}

struct Dialog {
  explicit Dialog(const std::string& l15) {
    wizard.state.Setup.TextTable[15] = l15;
    dialog.FormCreate();
  }
  testing::Wizard wizard{""};
  ClosingHost host;
  CancelConfirmation dialog{wizard.platform, wizard.state, host};
};

TEST(CancelConfirmation, CreationSetsCaptionsAndClearsCancelled) {
  testing::Wizard w("");
  w.state.Run.Cancelled = true;
  ClosingHost host;
  CancelConfirmation dialog(w.platform, w.state, host);
  dialog.FormCreate();
  EXPECT_FALSE(w.state.Run.Cancelled);
  EXPECT_EQ(dialog.caption, "Kalvora");
  EXPECT_EQ(dialog.Btn_terminate, "t15");
  EXPECT_EQ(dialog.Lbl_15, "t27");
  EXPECT_EQ(dialog.Btn_cancel, "&no");
}

TEST(CancelConfirmation, ConfirmingBeforeTheRunDeletesOnlyThePicture) {
  testing::Wizard w("");
  w.state.Choices.TargetDir = "C:\\Tool";
  w.platform.putFile(kTempPicture, "BM");
  w.platform.putFile("C:\\Tool\\setup\\setup.tmp", "x");
  w.platform.putFile("C:\\Tool\\setup\\compress.tmp", "x");
  ClosingHost host;
  CancelConfirmation dialog(w.platform, w.state, host);
  dialog.FormCreate();
  dialog.Btn_terminateClick();
  EXPECT_FALSE(w.platform.fileExists(kTempPicture));
  EXPECT_TRUE(w.platform.fileExists("C:\\Tool\\setup\\setup.tmp"));
  EXPECT_TRUE(w.platform.fileExists("C:\\Tool\\setup\\compress.tmp"));
  EXPECT_FALSE(w.state.Run.Cancelled);
  EXPECT_EQ(dialog.Lbl_15, "t27");
  EXPECT_TRUE(w.platform.terminated());
  EXPECT_EQ(host.closed, 0); // the quit request ends the modal show
}

TEST(CancelConfirmation, ConfirmingDuringTheRunMarksItAndDeletesWorkFiles) {
  testing::Wizard w("");
  w.state.Choices.TargetDir = "C:\\Tool";
  w.state.Run.ReadmePath = "C:\\Tool\\doc\\readme.txt";
  w.state.Run.Started = true;
  for (const char* path : {kTempPicture, "C:\\Tool\\setup\\setup.tmp", "C:\\Tool\\setup\\compress.tmp",
                           "C:\\Tool\\doc\\readme.txt", "C:\\Tool\\setup\\uninst.log", "C:\\Tool\\tool.exe"})
    w.platform.putFile(path, "x");
  ClosingHost host;
  CancelConfirmation dialog(w.platform, w.state, host);
  dialog.FormCreate();
  const int processedBefore = w.platform.messagesProcessed();
  dialog.Btn_terminateClick();
  EXPECT_TRUE(w.state.Run.Cancelled);
  EXPECT_EQ(dialog.Lbl_15, "t10");
  for (const char* gone :
       {kTempPicture, "C:\\Tool\\setup\\setup.tmp", "C:\\Tool\\setup\\compress.tmp", "C:\\Tool\\doc\\readme.txt"})
    EXPECT_FALSE(w.platform.fileExists(gone)) << gone;
  // The log and the installed files stay for the uninstaller.
  EXPECT_TRUE(w.platform.fileExists("C:\\Tool\\setup\\uninst.log"));
  EXPECT_TRUE(w.platform.fileExists("C:\\Tool\\tool.exe"));
  EXPECT_GT(w.platform.messagesProcessed(), processedBefore);
  EXPECT_TRUE(w.platform.terminated());
  EXPECT_TRUE(w.platform.shownBoxes().empty());
}

TEST(CancelConfirmation, KeysAndDeclining) {
  Dialog german("&Ja");
  EXPECT_EQ(german.dialog.Btn_cancel, "&nein");
  EXPECT_TRUE(german.dialog.Btn_terminateKeyDown(kKeyEscape));
  EXPECT_EQ(german.host.closed, 1);
  EXPECT_FALSE(german.wizard.platform.terminated());
  EXPECT_FALSE(german.dialog.Btn_terminateKeyDown(13));
  EXPECT_FALSE(german.dialog.Btn_terminateKeyDown(114)); // F3
  german.dialog.Btn_cancelClick();
  EXPECT_EQ(german.host.closed, 2);
  EXPECT_FALSE(german.wizard.platform.terminated());

  Dialog english("&Yes");
  EXPECT_EQ(english.dialog.Btn_cancel, "&no");
  EXPECT_TRUE(english.dialog.Btn_terminateKeyDown(kKeyF4));
  EXPECT_TRUE(english.wizard.platform.terminated());
  EXPECT_EQ(english.host.closed, 0);
}

} // namespace
} // namespace kalvora
