// The Next table of the wizard, row by row.
#include <gtest/gtest.h>

#include "WizardFixture.h"

namespace kalvora {
namespace {

using testing::Wizard;
using C = LeaderControl;

const char* const kAllOffered = "o_standard=1\no_min=1\no_custom=1\nOpt1_name=Core\nOpt1_standard=1\nOpt1_min=1\n"
                                "Opt1_space=1000\nOpt2_name=Extra\nOpt2_standard=1\nOpt2_space=3000\nprggrp=Tool\n";

TEST(LeaderCreation, TextsDefaultsAndWelcomePage) {
  Wizard w(std::string(kAllOffered) + "[leader]\nLbl_2=Note\nLbl2_color=255\n");
  EXPECT_EQ(w->WizardPage, 1);
  EXPECT_EQ(w->controls().caption, "t30");
  EXPECT_EQ(w.visiblePages(), std::vector<int>{1});
  EXPECT_EQ(w[C::Btn_back].text, "t12");
  EXPECT_EQ(w[C::Btn_weiter].text, "t17");
  EXPECT_EQ(w[C::Btn_exit].text, "t11");
  EXPECT_FALSE(w[C::Btn_back].enabled);
  EXPECT_EQ(w[C::Lbl_1].text, "t36");
  EXPECT_EQ(w[C::Lbl_2].text, "Note");
  EXPECT_EQ(w[C::Lbl_2].color, 255u);
  EXPECT_EQ(w[C::Lbl_3].text, "t37");
  EXPECT_EQ(w[C::Edt_verz].text, "C:\\Apps\\Tool");
  EXPECT_EQ(w[C::Btn_folder].text, "t24");
  EXPECT_EQ(w[C::Lbl_6].text, "t38");
  EXPECT_EQ(w[C::Lbl_7].text, "t39");
  EXPECT_EQ(w[C::Lbl_4].text, "t40");
  EXPECT_EQ(w[C::Lbl_8].text, "t48");
  EXPECT_EQ(w[C::Lbl_9].text, "t49");
  EXPECT_EQ(w[C::Lbl_10].text, "t50");
  EXPECT_EQ(w[C::Edt_prggroup].text, "Tool");
  EXPECT_EQ(w[C::Lbl_11].text, "t51");
  EXPECT_EQ(w[C::Lbl_12].text, "t52");
  EXPECT_EQ(w[C::Lbl_14].text, "t54");
  for (C hidden : {C::Lbl_verz, C::Lbl_prggroup, C::Lbl_13})
    EXPECT_FALSE(w[hidden].visible);
  EXPECT_EQ(w[C::Lbl_verz].text, "t9");
  EXPECT_EQ(w[C::Lbl_prggroup].text, "t28");
  EXPECT_EQ(w[C::Lbl_13].text, "t53");
}

TEST(LeaderNext, Page1ShowsDirectoryPageWithBackDisabled) {
  Wizard w(kAllOffered);
  w->Btn_weiterClick();
  EXPECT_EQ(w->WizardPage, 2);
  EXPECT_EQ(w->controls().caption, "t31");
  EXPECT_EQ(w.visiblePages(), std::vector<int>{2});
  EXPECT_FALSE(w[C::Btn_back].enabled);
}

TEST(LeaderNext, Page2FaultStaysWithMessageAndBackDisabled) {
  Wizard w(kAllOffered);
  w->Btn_weiterClick();
  w->setEntryText(C::Edt_verz, "  Apps\\My Tool ");
  w->Btn_weiterClick();
  EXPECT_EQ(w->WizardPage, 2);
  EXPECT_EQ(w.visiblePages(), std::vector<int>{2});
  EXPECT_FALSE(w[C::Btn_back].enabled);
  ASSERT_EQ(w.boxes(), 1u);
  EXPECT_EQ(w.lastBox().text, "t4\rt3");
  EXPECT_EQ(w.lastBox().caption, "kalvora");
  EXPECT_EQ(w.lastBox().icon, MessageIcon::Information);
  EXPECT_EQ(w[C::Edt_verz].text, "Apps\\My_Tool"); // cleaned even though the drive failed

  w->setEntryText(C::Edt_verz, "C:\\a <b>");
  w->Btn_weiterClick();
  EXPECT_EQ(w.lastBox().text, "t2\r? * | \" < >\rt3");
  EXPECT_EQ(w[C::Edt_verz].text, "C:\\a <b>"); // as typed

  w->setEntryText(C::Edt_verz, "\\\\srv\\share\\x");
  w->Btn_weiterClick();
  EXPECT_EQ(w.lastBox().text, "t5\rt3");
  EXPECT_EQ(w->TargetDrive, "\\\\SRV\\SHARE");
  EXPECT_EQ(w->TargetDriveNumber, 0);
  EXPECT_EQ(w->WizardPage, 2);
}

TEST(LeaderNext, Page2SpaceCheckAgainstMinimalTotalExactlyAndOneShort) {
  Wizard w(kAllOffered); // TotalMin 1000
  w->Btn_weiterClick();
  w->setEntryText(C::Edt_verz, "d:\\tool");
  w.platform.setFreeSpace('D', 999);
  w->Btn_weiterClick();
  EXPECT_EQ(w->WizardPage, 2);
  EXPECT_FALSE(w[C::Btn_back].enabled);
  ASSERT_EQ(w.boxes(), 1u);
  EXPECT_EQ(w.lastBox().text, "t13");
  EXPECT_EQ(w.lastBox().caption, "D: t16");
  EXPECT_EQ(w.lastBox().icon, MessageIcon::Exclamation);
  EXPECT_EQ(w.lastBox().buttons, MessageButtons::Ok);
  EXPECT_EQ(w->TargetDriveNumber, 4);

  w.platform.setFreeSpace('D', 1000);
  w->Btn_weiterClick();
  EXPECT_EQ(w.boxes(), 1u);
  EXPECT_EQ(w->WizardPage, 3);
  EXPECT_EQ(w->controls().caption, "t32");
  EXPECT_EQ(w.visiblePages(), std::vector<int>{3});
  EXPECT_TRUE(w[C::Btn_back].enabled);
}

TEST(LeaderNext, Page2FailedSpaceQueryCountsAsShort) {
  Wizard w(kAllOffered);
  w.platform.setFreeSpace('C', -1);
  w->Btn_weiterClick();
  w->Btn_weiterClick();
  EXPECT_EQ(w->WizardPage, 2);
  EXPECT_EQ(w.lastBox().text, "t13");
}

TEST(LeaderNext, Page3StandardShortAsksAndCancelOpensConfirmation) {
  Wizard w(kAllOffered); // TotalStandard 4000
  w->Btn_weiterClick();
  w.platform.setFreeSpace('C', 3999);
  w->Btn_weiterClick();
  ASSERT_EQ(w->WizardPage, 3);
  w->Btn_weiterClick();
  EXPECT_EQ(w->WizardPage, 3);
  ASSERT_EQ(w.boxes(), 1u);
  EXPECT_EQ(w.lastBox().caption, "C: t16");
  EXPECT_EQ(w.lastBox().buttons, MessageButtons::OkCancel);
  EXPECT_TRUE(w.host.calls.empty());

  w.platform.answerNextBox(MessageResult::Cancel);
  w->Btn_weiterClick();
  EXPECT_EQ(w->WizardPage, 3);
  EXPECT_EQ(w.host.calls, std::vector<std::string>{"cancel"});

  w.platform.setFreeSpace('C', 4000);
  w->Btn_weiterClick();
  EXPECT_EQ(w.boxes(), 2u);
  EXPECT_EQ(w->WizardPage, 6); // standard, no program items: the group page is not needed
}

TEST(LeaderNext, Page3MinimalContinuesAndCustomShowsComponents) {
  Wizard w(kAllOffered);
  w->Btn_weiterClick();
  w->Btn_weiterClick();
  w->cf_standardClick(Configuration::Custom);
  w->Btn_weiterClick();
  EXPECT_EQ(w->WizardPage, 4);
  EXPECT_EQ(w->controls().caption, "t33");
  EXPECT_EQ(w.visiblePages(), std::vector<int>{4});

  Wizard m(kAllOffered);
  m->Btn_weiterClick();
  m->Btn_weiterClick();
  m->cf_standardClick(Configuration::Minimal);
  m->Btn_weiterClick();
  EXPECT_EQ(m->WizardPage, 6);
  EXPECT_EQ(m.visiblePages(), std::vector<int>{6});
  EXPECT_EQ(m->controls().caption, "t35");
}

TEST(LeaderNext, Page4ToGroupPageWhenNeeded) {
  Wizard w(std::string(kAllOffered) + "Opt2_prgitem=1\n");
  w->Btn_weiterClick();
  w->Btn_weiterClick();
  w->cf_standardClick(Configuration::Custom);
  w->Btn_weiterClick();
  w->Opt_1Click(2, true);
  w->Btn_weiterClick();
  EXPECT_EQ(w->WizardPage, 5);
  EXPECT_EQ(w->controls().caption, "t34");
  EXPECT_EQ(w.visiblePages(), std::vector<int>{5});
}

TEST(LeaderNext, Page5FaultStaysThenCleanedNameGoesToStartPage) {
  Wizard w(std::string(kAllOffered) + "Opt1_prgitem=1\n");
  w->Btn_weiterClick();
  w->Btn_weiterClick();
  w->Btn_weiterClick();
  ASSERT_EQ(w->WizardPage, 5);
  w->setEntryText(C::Edt_prggroup, "My-Tool");
  w->Btn_weiterClick();
  EXPECT_EQ(w->WizardPage, 5);
  EXPECT_EQ(w.lastBox().text, "t6\r- / ( ) ; : , | \" < >\rt3");
  EXPECT_EQ(w[C::Edt_prggroup].text, "My-Tool");
  w->setEntryText(C::Edt_prggroup, " My Tool* ");
  w->Btn_weiterClick();
  EXPECT_EQ(w->WizardPage, 6);
  EXPECT_EQ(w->controls().caption, "t35");
  EXPECT_EQ(w.visiblePages(), std::vector<int>{6});
  EXPECT_EQ(w[C::Edt_prggroup].text, "My_Tool_");
}

TEST(LeaderNext, ScriptGroupNameBreakingRulesShowsTheGroupPage) {
  // The group page is not needed, but the script's name must be corrected.
  Wizard w("o_standard=1\nOpt1_standard=1\nprggrp=Tool (new)\n");
  w->Btn_weiterClick();
  w->Btn_weiterClick();
  EXPECT_EQ(w->WizardPage, 5);
  EXPECT_EQ(w.visiblePages(), std::vector<int>{5});
  EXPECT_EQ(w->controls().caption, "t34");
  EXPECT_EQ(w.lastBox().text, "t6\r- / ( ) ; : , | \" < >\rt3");
  w->setEntryText(C::Edt_prggroup, "Tool new");
  w->Btn_weiterClick();
  EXPECT_EQ(w->WizardPage, 6);
  EXPECT_EQ(w[C::Edt_prggroup].text, "Tool_new");
}

TEST(LeaderNext, ScriptGroupNameCheckedAndCleanedWithoutGroupPage) {
  Wizard w("o_standard=1\nprggrp= My Tool \n");
  w->Btn_weiterClick();
  w->Btn_weiterClick();
  EXPECT_EQ(w->WizardPage, 6);
  EXPECT_EQ(w[C::Edt_prggroup].text, "My_Tool");
  EXPECT_EQ(w.boxes(), 0u);
}

TEST(LeaderNext, Page6StartsTheInstallation) {
  Wizard w(std::string(kAllOffered) + "[compression]\nmode=1\n");
  w->Btn_weiterClick();
  w->setEntryText(C::Edt_verz, "C:\\Other Dir");
  w->Btn_weiterClick();
  w->Btn_weiterClick();
  ASSERT_EQ(w->WizardPage, 6);
  w->Btn_weiterClick();
  EXPECT_EQ(w.host.calls, (std::vector<std::string>{"hide", "information", "installation"}));
  EXPECT_EQ(w.state.Choices.TargetDir, "C:\\Other_Dir");
  EXPECT_EQ(w.state.Choices.ProgramGroup, "Tool");
  EXPECT_EQ(w.state.Choices.ProgressTotal, 1);
}

} // namespace
} // namespace kalvora
