// The Back table of the wizard, row by row, and Back keeping every choice.
#include <gtest/gtest.h>

#include "WizardFixture.h"

namespace kalvora {
namespace {

using testing::Wizard;
using C = LeaderControl;

const char* const kAllOffered = "o_standard=1\no_min=1\no_custom=1\nOpt1_name=Core\nOpt1_standard=1\nOpt1_min=1\n"
                                "Opt1_locked=0\nOpt2_name=Extra\nOpt2_standard=1\nOpt3_name=Help\nprggrp=Tool\n";

void next(Wizard& w, int times) {
  for (int i = 0; i < times; ++i)
    w->Btn_weiterClick();
}

TEST(LeaderBack, NothingOnPages1And2) {
  Wizard w(kAllOffered);
  w->Btn_backClick();
  EXPECT_EQ(w->WizardPage, 1);
  EXPECT_EQ(w.visiblePages(), std::vector<int>{1});
  next(w, 1);
  w[C::Btn_back].enabled = true; // even if the button were enabled
  w->Btn_backClick();
  EXPECT_EQ(w->WizardPage, 2);
  EXPECT_EQ(w.visiblePages(), std::vector<int>{2});
}

TEST(LeaderBack, Page3ReturnsToDirectoryPageWithBackDisabled) {
  Wizard w(kAllOffered);
  next(w, 2);
  w->Btn_backClick();
  EXPECT_EQ(w->WizardPage, 2);
  EXPECT_EQ(w->controls().caption, "t31");
  EXPECT_EQ(w.visiblePages(), std::vector<int>{2});
  EXPECT_FALSE(w[C::Btn_back].enabled);
}

TEST(LeaderBack, Page4ReturnsToConfigurationPage) {
  Wizard w(kAllOffered);
  next(w, 2);
  w->cf_standardClick(Configuration::Custom);
  next(w, 1);
  ASSERT_EQ(w->WizardPage, 4);
  w->Btn_backClick();
  EXPECT_EQ(w->WizardPage, 3);
  EXPECT_EQ(w->controls().caption, "t32");
  EXPECT_EQ(w.visiblePages(), std::vector<int>{3});
  EXPECT_TRUE(w[C::Btn_back].enabled);
  EXPECT_TRUE(w[C::cf_custom].checked);
}

TEST(LeaderBack, Page5AfterCustomReturnsToComponentsWithBoxesUnchanged) {
  Wizard w(std::string(kAllOffered) + "Opt3_prgitem=1\n");
  next(w, 2);
  w->cf_standardClick(Configuration::Custom);
  next(w, 1);
  w->Opt_1Click(3, true);
  w->Opt_1Click(1, true);
  next(w, 1);
  ASSERT_EQ(w->WizardPage, 5);
  w->Btn_backClick();
  EXPECT_EQ(w->WizardPage, 4);
  EXPECT_EQ(w->controls().caption, "t33");
  EXPECT_EQ(w.visiblePages(), std::vector<int>{4});
  EXPECT_TRUE(w[C::Opt_1].checked);
  EXPECT_FALSE(w[C::Opt_2].checked);
  EXPECT_TRUE(w[C::Opt_3].checked);
  EXPECT_TRUE(w[C::cf_custom].checked);
}

TEST(LeaderBack, Page5ReturnsToConfigurationPageOrDirectoryPageWhenSkipped) {
  Wizard w(std::string(kAllOffered) + "Opt1_prgitem=1\n");
  next(w, 3);
  ASSERT_EQ(w->WizardPage, 5);
  w->setEntryText(C::Edt_prggroup, "Typed");
  w->Btn_backClick();
  EXPECT_EQ(w->WizardPage, 3);
  EXPECT_EQ(w->controls().caption, "t32");
  EXPECT_EQ(w.visiblePages(), std::vector<int>{3});
  EXPECT_EQ(w[C::Edt_prggroup].text, "Typed");

  Wizard skipped("o_standard=1\nOpt1_standard=1\nOpt1_prgitem=1\n");
  next(skipped, 2);
  ASSERT_EQ(skipped->WizardPage, 5);
  skipped->Btn_backClick();
  EXPECT_EQ(skipped->WizardPage, 2);
  EXPECT_EQ(skipped->controls().caption, "t31");
  EXPECT_EQ(skipped.visiblePages(), std::vector<int>{2});
  EXPECT_FALSE(skipped[C::Btn_back].enabled);
}

TEST(LeaderBack, Page6ToGroupPageWhenNeeded) {
  Wizard w(std::string(kAllOffered) + "Opt2_prgitem=1\n");
  next(w, 4);
  ASSERT_EQ(w->WizardPage, 6);
  w->Btn_backClick();
  EXPECT_EQ(w->WizardPage, 5);
  EXPECT_EQ(w->controls().caption, "t34");
  EXPECT_EQ(w.visiblePages(), std::vector<int>{5});
}

TEST(LeaderBack, Page6WithOnlyStandardReturnsToDirectoryPage) {
  Wizard w("o_standard=1\nOpt1_standard=1\n");
  next(w, 2);
  ASSERT_EQ(w->WizardPage, 6);
  w->Btn_backClick();
  EXPECT_EQ(w->WizardPage, 2);
  EXPECT_EQ(w.visiblePages(), std::vector<int>{2});
  EXPECT_FALSE(w[C::Btn_back].enabled);
}

TEST(LeaderBack, Page6OtherwiseReturnsToConfigurationPage) {
  Wizard w(kAllOffered);
  next(w, 3);
  ASSERT_EQ(w->WizardPage, 6);
  w->Btn_backClick();
  EXPECT_EQ(w->WizardPage, 3);
  EXPECT_EQ(w->controls().caption, "t32");
  EXPECT_EQ(w.visiblePages(), std::vector<int>{3});
  EXPECT_TRUE(w[C::Btn_back].enabled);
}

TEST(LeaderBack, CdOnlyGoesThroughGroupPageBothWays) {
  // The configuration page is skipped; minimal under CD runs from the medium,
  // which makes the group page needed.
  Wizard w("o_cd=1\no_min=1\n");
  next(w, 2);
  ASSERT_EQ(w->WizardPage, 5);
  EXPECT_TRUE(w.state.Choices.RunFromMedium);
  next(w, 1);
  w->Btn_backClick();
  EXPECT_EQ(w->WizardPage, 5);
  w->Btn_backClick();
  EXPECT_EQ(w->WizardPage, 2);
  EXPECT_FALSE(w[C::Btn_back].enabled);
}

TEST(LeaderBack, Page6RowWithoutGroupPageUnderCdOnlyDisablesBack) {
  // The row's case where the group page is not needed: reached here by clearing
  // the run-from-medium flag that the CD settling always sets.
  Wizard w("o_cd=1\n");
  next(w, 3);
  ASSERT_EQ(w->WizardPage, 6);
  w.state.Choices.RunFromMedium = false;
  w->Btn_backClick();
  EXPECT_EQ(w->WizardPage, 3);
  EXPECT_EQ(w.visiblePages(), std::vector<int>{3});
  EXPECT_FALSE(w[C::Btn_back].enabled);
}

TEST(LeaderBack, BackThenNextKeepsTheRadioChoiceAndEntries) {
  Wizard w(kAllOffered);
  next(w, 2);
  w->cf_standardClick(Configuration::Minimal);
  w->Btn_backClick();
  w->setEntryText(C::Edt_verz, "C:\\Elsewhere");
  next(w, 1);
  EXPECT_EQ(w->WizardPage, 3);
  EXPECT_TRUE(w[C::cf_min].checked);
  EXPECT_FALSE(w[C::cf_standard].checked);
  EXPECT_EQ(w[C::Edt_verz].text, "C:\\Elsewhere");
}

} // namespace
} // namespace kalvora
