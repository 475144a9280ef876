// Check boxes, figures, space checks, settling and the progress divisor.
#include <gtest/gtest.h>

#include "WizardFixture.h"

namespace kalvora {
namespace {

using testing::Wizard;
using C = LeaderControl;

// Sizes in bytes chosen so that each total shows a distinct kilobyte figure.
const char* const kOptions = "o_standard=1\no_min=1\no_custom=1\n"
                             "Opt1_name=Core\nOpt1_space=10240\nOpt1_standard=1\nOpt1_min=1\n"
                             "Opt2_name=Extra\nOpt2_space=20480\nOpt2_standard=1\nOpt2_custom=1\n"
                             "Opt3_space=40960\nOpt3_custom=1\n"
                             "Opt4_name=Help\nOpt4_space=81920\n";

void toConfigurationPage(Wizard& w) {
  w->Btn_weiterClick();
  w->Btn_weiterClick();
  ASSERT_EQ(w->WizardPage, 3);
}

TEST(OptionBoxes, CaptionsVisibilityAndCustomDefaults) {
  Wizard w(std::string(kOptions) + "Opt1_locked=0\n");
  EXPECT_EQ(w[C::Opt_1].text, "Core");
  EXPECT_TRUE(w[C::Opt_2].visible);
  EXPECT_FALSE(w[C::Opt_3].visible); // no name
  EXPECT_TRUE(w[C::Opt_4].visible);
  for (C hidden : {C::Opt_5, C::Opt_6, C::Opt_7})
    EXPECT_FALSE(w[hidden].visible);
  EXPECT_FALSE(w[C::Opt_1].checked);
  EXPECT_TRUE(w[C::Opt_2].checked);
  EXPECT_TRUE(w[C::Opt_3].checked);
  // Opt_1 and Opt_2 show even without a name.
  Wizard unnamed("o_custom=1\n");
  EXPECT_TRUE(unnamed[C::Opt_1].visible);
  EXPECT_TRUE(unnamed[C::Opt_2].visible);
  EXPECT_FALSE(unnamed[C::Opt_3].visible);
}

TEST(Figures, DashesUntilFirstSetAndKilobyteUnits) {
  Wizard w("o_standard=1\no_min=1\nOpt1_standard=1\nOpt1_space=1536\n");
  for (C figure : {C::Lbl_need2z, C::Lbl_needz, C::Lbl_free2z, C::Lbl_freez})
    EXPECT_EQ(w[figure].text, "---");
  for (C unit : {C::Mb1, C::Mb2, C::Mb3, C::mb4})
    EXPECT_EQ(w[unit].text, "kB");
  EXPECT_EQ(w[C::Lbl_need2].text, "t25");
  EXPECT_EQ(w[C::Lbl_free].text, "t26");
  EXPECT_TRUE(w[C::Lbl_need2z].alignRight);
}

TEST(Figures, ALargeDiskShowsInMegabytesBesideKilobytesNeeded) {
  Wizard w("o_standard=1\no_min=1\nOpt1_standard=1\nOpt1_space=3584\n");
  w.platform.setFreeSpace('C', std::int64_t{76} << 30);
  toConfigurationPage(w);
  EXPECT_EQ(w[C::Lbl_free2z].text, "77824");
  EXPECT_EQ(w[C::mb4].text, "MB");
  EXPECT_EQ(w[C::Lbl_freez].text, "77824");
  EXPECT_EQ(w[C::Mb2].text, "MB");
  EXPECT_EQ(w[C::Lbl_need2z].text, "4");
  EXPECT_EQ(w[C::Mb3].text, "kB");
}

TEST(Figures, EntryShowsStandardTotalEvenWithMinimalChosenAndFreeSpaceOnce) {
  Wizard w("o_min=1\no_cd=1\no_custom=1\nOpt1_locked=0\nOpt1_min=1\nOpt2_min=1\nOpt2_space=3584\n");
  w.platform.setFreeSpace('C', 5120);
  ASSERT_TRUE(w[C::cf_min].checked);
  toConfigurationPage(w);
  EXPECT_EQ(w[C::Lbl_need2z].text, "0"); // TotalStandard, not the minimal 4 kB
  EXPECT_EQ(w[C::Lbl_needz].text, "0");
  EXPECT_EQ(w[C::Lbl_free2z].text, "5");
  EXPECT_EQ(w[C::Lbl_freez].text, "5");
  w.platform.setFreeSpace('C', 1 << 20);
  w->cf_standardClick(Configuration::Minimal);
  EXPECT_EQ(w[C::Lbl_need2z].text, "4");
  EXPECT_EQ(w[C::Lbl_free2z].text, "5"); // not refreshed
}

TEST(Figures, RadioClicksShowTheirTotals) {
  Wizard w(std::string(kOptions) + "Opt1_locked=0\n");
  toConfigurationPage(w);
  EXPECT_EQ(w[C::Lbl_need2z].text, "30"); // standard: 10 + 20 kB
  w->cf_standardClick(Configuration::Minimal);
  EXPECT_EQ(w[C::Lbl_need2z].text, "10");
  EXPECT_EQ(w[C::Lbl_needz].text, "30"); // only the configuration page's figure
  w->cf_standardClick(Configuration::Custom);
  EXPECT_EQ(w[C::Lbl_need2z].text, "60");
  EXPECT_EQ(w[C::Lbl_needz].text, "60");
  w->cf_standardClick(Configuration::Standard);
  EXPECT_EQ(w[C::Lbl_need2z].text, "30");
}

TEST(Figures, BoxClicksCountHiddenOptionsAndCompressionSizeWhateverTheMode) {
  Wizard w(std::string(kOptions) + "Opt1_locked=0\n[compression]\nmode=0\nsize=1024\n");
  toConfigurationPage(w);
  w->cf_standardClick(Configuration::Custom);
  w->Btn_weiterClick();
  ASSERT_EQ(w->WizardPage, 4);
  w->Opt_1Click(4, true);
  // 1 kB compression + Extra 20 + hidden option 3 at 40 + Help 80.
  EXPECT_EQ(w[C::Lbl_needz].text, "141");
  EXPECT_EQ(w[C::Lbl_need2z].text, "141");
  w->Btn_weiterClick();
  EXPECT_TRUE(w.state.Choices.OptionChosen[2]); // the hidden option is installed
  EXPECT_TRUE(w.state.Choices.OptionChosen[3]);
  EXPECT_FALSE(w.state.Choices.OptionChosen[0]);
}

TEST(Figures, LockedFirstOptionTicksItselfAgain) {
  Wizard w(kOptions);               // Opt1_locked defaults to on
  EXPECT_TRUE(w[C::Opt_1].checked); // locked although not a custom default
  toConfigurationPage(w);
  w->cf_standardClick(Configuration::Custom);
  w->Btn_weiterClick();
  w->Opt_1Click(1, false);
  EXPECT_TRUE(w[C::Opt_1].checked);
  EXPECT_EQ(w[C::Lbl_needz].text, "70"); // 10 + 20 + 40
  w->Btn_weiterClick();
  EXPECT_TRUE(w.state.Choices.OptionChosen[0]);
}

TEST(Figures, FreeSpaceBeyondTwoGigabytes) {
  Wizard w("o_standard=1\no_min=1\nOpt1_standard=1\nOpt1_space=2147483647\n");
  w.platform.setFreeSpace('C', std::int64_t{6} << 30);
  toConfigurationPage(w);
  // Seven digits of kilobytes would not fit the labels: megabytes.
  EXPECT_EQ(w[C::Lbl_free2z].text, "6144");
  EXPECT_EQ(w[C::mb4].text, "MB");
  EXPECT_EQ(w[C::Lbl_need2z].text, "2048");
  EXPECT_EQ(w[C::Mb3].text, "MB");
  w->Btn_weiterClick();
  EXPECT_EQ(w->WizardPage, 6);
  EXPECT_EQ(w.boxes(), 0u);
}

TEST(Presets, ConfigurationPresetsReplaceTheUsersTicks) {
  Wizard w(std::string(kOptions) + "Opt1_locked=0\n");
  toConfigurationPage(w);
  w->cf_standardClick(Configuration::Custom);
  w->Btn_weiterClick();
  w->Opt_1Click(4, true);
  w->Btn_backClick();
  w->cf_standardClick(Configuration::Standard);
  w->Btn_weiterClick();
  EXPECT_TRUE(w[C::Opt_1].checked);
  EXPECT_TRUE(w[C::Opt_2].checked);
  EXPECT_FALSE(w[C::Opt_3].checked);
  EXPECT_FALSE(w[C::Opt_4].checked);
  EXPECT_EQ(w[C::Lbl_needz].text, "30");
}

TEST(Presets, PreselectedChoicesStartTheWizardAndStayTheUsersToChange) {
  Wizard w(std::string(kOptions) + "Opt1_locked=1\n", "",
           {Configuration::Custom, std::array<bool, kOptionCount>{false, false, false, true}});
  EXPECT_TRUE(w[C::cf_custom].checked);
  EXPECT_FALSE(w[C::cf_standard].checked);
  toConfigurationPage(w);
  w->cf_standardClick(Configuration::Standard);
  w->Btn_weiterClick(); // the standard preset replaces the preselection
  EXPECT_EQ(w.state.Choices.OptionChosen, (std::array<bool, kOptionCount>{true, true}));
  w->Btn_backClick();
  w->cf_standardClick(Configuration::Custom);
  EXPECT_EQ(w[C::Lbl_need2z].text, "90"); // the preselected boxes with the locked option 1
  w->Btn_weiterClick();                   // the custom preset is the preselection again, option 1 locked
  EXPECT_EQ(w->WizardPage, 4);
  w->Opt_1Click(2, true);
  w->Btn_weiterClick();
  EXPECT_EQ(w.state.Choices.OptionChosen, (std::array<bool, kOptionCount>{true, true, false, true}));
}

TEST(Settling, StandardHiddenButChosenInstallsTheEmptyStandardSet) {
  Wizard w("o_min=1\no_custom=1\nOpt1_locked=0\nOpt1_min=1\nOpt2_custom=1\n");
  EXPECT_FALSE(w[C::cf_standard].visible);
  EXPECT_TRUE(w[C::cf_standard].checked);
  toConfigurationPage(w);
  w->Btn_weiterClick();
  EXPECT_TRUE(w->configurations().flags.StdConfig);
  EXPECT_EQ(w.state.Choices.OptionChosen, (std::array<bool, kOptionCount>{}));
  EXPECT_EQ(w->WizardPage, 6);
}

TEST(Settling, CustomWithoutCdAlsoSetsStandard) {
  Wizard w(std::string(kOptions) + "Opt1_locked=0\n");
  toConfigurationPage(w);
  w->cf_standardClick(Configuration::Custom);
  w->Btn_weiterClick();
  w->Btn_weiterClick();
  const ConfigFlags& f = w->configurations().flags;
  EXPECT_TRUE(f.CustomConfig);
  EXPECT_TRUE(f.StdConfig);
  EXPECT_FALSE(f.MinConfig);
  EXPECT_FALSE(w.state.Choices.RunFromMedium);
  EXPECT_EQ(w.state.Choices.OptionChosen, (std::array<bool, kOptionCount>{false, true, true}));
}

TEST(Settling, CdKeepsThePreviousOptionChoice) {
  // CD and standard: the CD (minimal) button sets no option set, so the choice
  // of an earlier pass through the settling stays.
  Wizard w("o_standard=1\no_cd=1\nOpt1_standard=1\nOpt1_prgitem=1\n");
  toConfigurationPage(w);
  w->Btn_weiterClick();
  ASSERT_EQ(w->WizardPage, 5);
  EXPECT_TRUE(w.state.Choices.OptionChosen[0]);
  EXPECT_FALSE(w.state.Choices.RunFromMedium);
  w->Btn_backClick();
  w->cf_standardClick(Configuration::Minimal);
  w->Btn_weiterClick();
  EXPECT_TRUE(w.state.Choices.RunFromMedium);
  EXPECT_FALSE(w->configurations().flags.StdConfig);
  EXPECT_TRUE(w.state.Choices.OptionChosen[0]);
}

TEST(SpaceWait, MinimalShortGivesNoPage3MessageButWaitsUntilSpaceAppears) {
  Wizard w("o_standard=1\no_min=1\nOpt1_min=1\nOpt1_space=5000\n[compression]\nsize=100\n");
  w.platform.setFreeSpace('C', 5000); // enough for TotalMin (mode 0: no size), not for the settling
  toConfigurationPage(w);
  w->cf_standardClick(Configuration::Minimal);
  w.platform.whileBoxShows = [&](int shown) {
    if (shown == 3) w.platform.setFreeSpace('C', 5100);
  };
  w->Btn_weiterClick();
  ASSERT_EQ(w.boxes(), 3u);
  for (const auto& box : w.platform.shownBoxes()) {
    EXPECT_EQ(box.text, "t13");
    EXPECT_EQ(box.caption, "C:t16"); // no blank here
    EXPECT_EQ(box.buttons, MessageButtons::Ok);
    EXPECT_EQ(box.icon, MessageIcon::Exclamation);
  }
  EXPECT_EQ(w->WizardPage, 6);
}

TEST(SpaceWait, ExactlyEnoughPassesAndEndingProgramLeaves) {
  Wizard w("o_standard=1\nOpt1_standard=1\nOpt1_space=7000\n");
  w.platform.setFreeSpace('C', 7000);
  w->Btn_weiterClick();
  w->Btn_weiterClick();
  EXPECT_EQ(w.boxes(), 0u);
  EXPECT_EQ(w->WizardPage, 6);

  Wizard ending("o_standard=1\nOpt1_standard=1\nOpt1_space=7000\n");
  ending.platform.setFreeSpace('C', 6999);
  ending.platform.whileBoxShows = [&](int) { ending.platform.requestQuit(); };
  ending->Btn_weiterClick();
  ending->Btn_weiterClick();
  EXPECT_EQ(ending.boxes(), 1u);
  EXPECT_EQ(ending->WizardPage, 4);
}

TEST(ProgressTotal, StoredSizesOfChosenOptionsWhenCompressed) {
  const std::string sizes = "Opt1_cs=100\nOpt2_cs=20\nOpt5_cs=5\nOpt6_cs=6000\nOpt7_cs=70000\n";
  const std::string options = "o_standard=1\nOpt1_standard=1\nOpt6_standard=1\nOpt7_standard=1\n";
  Wizard w(options + sizes, "[compression]\nmode=1\n");
  w->Btn_weiterClick();
  w->Btn_weiterClick();
  w->Btn_weiterClick();
  EXPECT_EQ(w.state.Choices.ProgressTotal, 1 + 100 + 6000 + 70000);

  Wizard plain(options + sizes, "[compression]\nmode=2\n");
  plain->Btn_weiterClick();
  plain->Btn_weiterClick();
  plain->Btn_weiterClick();
  EXPECT_EQ(plain.state.Choices.ProgressTotal, 1);
}

TEST(ProgressTotal, NeverBelowOneAndNoOverflow) {
  Wizard negative("o_standard=1\nOpt1_standard=1\nOpt1_cs=-50\n", "[compression]\nmode=1\n");
  negative->Btn_weiterClick();
  negative->Btn_weiterClick();
  negative->Btn_weiterClick();
  EXPECT_EQ(negative.state.Choices.ProgressTotal, 1);

  std::string all = "o_standard=1\n";
  for (int n = 1; n <= 7; ++n)
    for (const char* suffix : {"_standard=1\n", "_cs=2147483647\n"}) {
      all += "Opt";
      all += std::to_string(n);
      all += suffix;
    }
  Wizard big(all, "[compression]\nmode=1\n");
  big->Btn_weiterClick();
  big->Btn_weiterClick();
  big->Btn_weiterClick();
  EXPECT_EQ(big.state.Choices.ProgressTotal, 1 + 7 * std::int64_t{2147483647});
}

} // namespace
} // namespace kalvora
