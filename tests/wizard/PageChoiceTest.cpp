// The page-choosing rules over every combination of offered configurations,
// with the default radio choice, and the option flags that need the group page.
#include <gtest/gtest.h>

#include "WizardFixture.h"

namespace kalvora {
namespace {

using testing::Wizard;
using C = LeaderControl;

struct Combination {
  bool standard, min, cd, custom;
  bool skipped;       // ConfigPageSkipped
  bool minimalFirst;  // cf_min is the initial choice
  int landing;        // page after Next on the directory page and Next until a page shows
  bool runFromMedium; // after settling with the initial choice
  bool stdConfig;
};

// Worked out by hand from the rules; no option has program items, so only a
// run from the medium needs the group page.
const Combination kCombinations[] = {
    // std   min    cd     custom  skip   minFirst page rfm    std
    {false, false, false, false, true, false, 6, false, true},
    {false, false, false, true, false, false, 6, false, true},
    {false, false, true, false, true, true, 5, true, false},
    {false, false, true, true, false, true, 5, true, false},
    {false, true, false, false, false, false, 6, false, true},
    {false, true, false, true, false, false, 6, false, true},
    {false, true, true, false, true, true, 5, true, false},
    {false, true, true, true, false, true, 5, true, false},
    {true, false, false, false, true, false, 6, false, true},
    {true, false, false, true, false, false, 6, false, true},
    {true, false, true, false, false, false, 6, false, true},
    {true, false, true, true, false, false, 6, false, true},
    {true, true, false, false, false, false, 6, false, true},
    {true, true, false, true, false, false, 6, false, true},
    {true, true, true, false, false, false, 6, false, true},
    {true, true, true, true, false, false, 6, false, true},
};

std::string scriptOf(const Combination& c) {
  auto flag = [](bool on) { return on ? "1" : "0"; };
  return std::string("o_standard=") + flag(c.standard) + "\no_min=" + flag(c.min) + "\no_cd=" + flag(c.cd) +
         "\no_custom=" + flag(c.custom) + "\nOpt1_locked=0\n";
}

TEST(PageChoice, EveryCombinationOfOfferedConfigurations) {
  for (const Combination& c : kCombinations) {
    const std::string script = scriptOf(c);
    SCOPED_TRACE(script);
    Wizard w(script);
    EXPECT_EQ(w->ConfigPageSkipped(), c.skipped);
    EXPECT_EQ(w[C::cf_min].checked, c.minimalFirst);
    EXPECT_EQ(w[C::cf_standard].checked, !c.minimalFirst);
    EXPECT_FALSE(w[C::cf_custom].checked);
    EXPECT_EQ(w[C::cf_standard].visible, c.standard);
    EXPECT_EQ(w[C::cfl_standard].visible, c.standard);
    EXPECT_EQ(w[C::cf_min].visible, c.min || c.cd);
    EXPECT_EQ(w[C::cfl_min].visible, c.min || c.cd);
    EXPECT_EQ(w[C::cf_custom].visible, c.custom);
    EXPECT_EQ(w[C::cfl_custom].visible, c.custom);

    w->Btn_weiterClick();
    w->Btn_weiterClick();
    if (!c.skipped) {
      EXPECT_EQ(w->WizardPage, 3);
      w->Btn_weiterClick();
    }
    EXPECT_EQ(w->WizardPage, c.landing);
    EXPECT_EQ(w.visiblePages(), std::vector<int>{c.landing});
    EXPECT_EQ(w.state.Choices.RunFromMedium, c.runFromMedium);
    EXPECT_EQ(w->configurations().flags.StdConfig, c.stdConfig);
    EXPECT_FALSE(w->configurations().flags.MinConfig);
    EXPECT_FALSE(w->configurations().flags.CustomConfig);
    EXPECT_EQ(w.boxes(), 0u);
  }
}

TEST(PageChoice, MinimalDescriptionPrefersCd) {
  EXPECT_EQ(Wizard("o_min=1\n")[C::cfl_min].text, "t45");
  EXPECT_EQ(Wizard("o_cd=1\n")[C::cfl_min].text, "t46");
  EXPECT_EQ(Wizard("o_min=1\no_cd=1\n")[C::cfl_min].text, "t46");
  Wizard w("o_standard=1\n");
  EXPECT_EQ(w[C::cf_standard].text, "t41");
  EXPECT_EQ(w[C::cf_min].text, "t42");
  EXPECT_EQ(w[C::cf_custom].text, "t43");
  EXPECT_EQ(w[C::cfl_standard].text, "t44");
  EXPECT_EQ(w[C::cfl_custom].text, "t47");
}

int landingAfterDefaults(const std::string& script) {
  Wizard w(script);
  for (int i = 0; i < 3 && w->WizardPage < 5; ++i)
    w->Btn_weiterClick();
  return w->WizardPage;
}

TEST(PageChoice, GroupPageNeededByChosenOptionsWithProgramItems) {
  // Chosen and with items: needed. With items but not chosen: not needed.
  EXPECT_EQ(landingAfterDefaults("o_standard=1\no_min=1\nOpt2_standard=1\nOpt2_prgitem=1\n"), 5);
  EXPECT_EQ(landingAfterDefaults("o_standard=1\no_custom=1\nOpt3_custom=1\nOpt3_prgitem=1\nOpt1_locked=0\n"), 6);
}

TEST(PageChoice, GroupPageNeededWithoutCustomForOption1UnderStandardAndOption2UnderMinimal) {
  // Without the custom configuration, option 1's items count under the standard
  // configuration even when option 1 is not part of it; likewise option 2 under minimal.
  EXPECT_EQ(landingAfterDefaults("o_standard=1\no_min=1\nOpt1_prgitem=1\n"), 5);
  EXPECT_EQ(landingAfterDefaults("o_standard=1\no_min=1\nOpt2_prgitem=1\n"), 6);
  EXPECT_EQ(landingAfterDefaults("o_standard=1\no_custom=1\nOpt1_prgitem=1\nOpt1_locked=0\n"), 6);

  Wizard minimal("o_standard=1\no_min=1\nOpt2_prgitem=1\n");
  minimal->Btn_weiterClick();
  minimal->Btn_weiterClick();
  minimal->cf_standardClick(Configuration::Minimal);
  minimal->Btn_weiterClick();
  EXPECT_TRUE(minimal->configurations().flags.MinConfig);
  EXPECT_EQ(minimal->WizardPage, 5);
}

TEST(PageChoice, CdWithCustomChosenInstallsTicksFromTheMedium) {
  Wizard w("o_cd=1\no_custom=1\nOpt1_custom=1\nOpt1_locked=0\n");
  w->Btn_weiterClick();
  w->Btn_weiterClick();
  ASSERT_EQ(w->WizardPage, 3);
  w->cf_standardClick(Configuration::Custom);
  w->Btn_weiterClick();
  ASSERT_EQ(w->WizardPage, 4);
  w->Btn_weiterClick();
  EXPECT_TRUE(w->configurations().flags.CustomConfig);
  EXPECT_FALSE(w->configurations().flags.StdConfig);
  EXPECT_TRUE(w.state.Choices.RunFromMedium);
  EXPECT_TRUE(w.state.Choices.OptionChosen[0]);
  EXPECT_EQ(w->WizardPage, 5);
}

} // namespace
} // namespace kalvora
