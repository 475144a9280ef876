// Escape and F4 on the wizard, the tab order, and the background's switch to
// its information display.
#include <gtest/gtest.h>

#include "WizardFixture.h"
#include "wizard/InformationDisplay.h"

namespace kalvora {
namespace {

using testing::Wizard;
using C = LeaderControl;

TEST(LeaderKeys, EscapeAndF4OnHandledControlsOpenTheCancelDialog) {
  Wizard w("o_custom=1\n");
  const std::vector<std::optional<C>> handled = {std::nullopt, C::Btn_back,     C::Btn_weiter, C::Btn_exit,
                                                 C::Edt_verz,  C::Edt_prggroup, C::Opt_1,      C::Opt_7};
  for (const auto& control : handled) {
    EXPECT_TRUE(w->Btn_weiterKeyDown(control, kKeyEscape));
    EXPECT_TRUE(w->Btn_weiterKeyDown(control, kKeyF4));
  }
  EXPECT_EQ(w.host.calls.size(), 2 * handled.size());
  for (C other : {C::cf_standard, C::cf_min, C::cf_custom, C::Btn_folder})
    EXPECT_FALSE(w->Btn_weiterKeyDown(other, kKeyEscape));
  for (int key : {13, 9, 114, 116})
    EXPECT_FALSE(w->Btn_weiterKeyDown(C::Btn_weiter, key));
  EXPECT_EQ(w.host.calls.size(), 2 * handled.size());
  EXPECT_EQ(w->WizardPage, 1);
}

TEST(LeaderKeys, ExitAndBrowseOpenTheirDialogs) {
  Wizard w("");
  w->Btn_exitClick();
  w->Btn_folderClick();
  EXPECT_EQ(w.host.calls, (std::vector<std::string>{"cancel", "folder"}));
}

TEST(LeaderTabOrder, ButtonsThenTheShownPage) {
  Wizard w("o_standard=1\no_min=1\no_custom=1\nOpt1_locked=0\nOpt4_name=Four\n");
  EXPECT_EQ(w->controls().tabOrder(), (std::vector<C>{C::Btn_weiter, C::Btn_exit}));
  w->Btn_weiterClick();
  EXPECT_EQ(w->controls().tabOrder(), (std::vector<C>{C::Btn_weiter, C::Btn_exit, C::Edt_verz, C::Btn_folder}));
  w->Btn_weiterClick();
  EXPECT_EQ(w->controls().tabOrder(), (std::vector<C>{C::Btn_back, C::Btn_weiter, C::Btn_exit, C::cf_standard}));
  w->cf_standardClick(Configuration::Custom);
  w->Btn_weiterClick();
  EXPECT_EQ(w->controls().tabOrder(),
            (std::vector<C>{C::Btn_back, C::Btn_weiter, C::Btn_exit, C::Opt_1, C::Opt_2, C::Opt_4}));
  const LeaderControls& c = w->controls();
  EXPECT_EQ(c.nextInTabOrder(C::Opt_4, false), C::Btn_back);
  EXPECT_EQ(c.nextInTabOrder(C::Btn_back, true), C::Opt_4);
  EXPECT_EQ(c.nextInTabOrder(C::Opt_1, false), C::Opt_2);
  EXPECT_EQ(c.nextInTabOrder(C::Edt_verz, false), C::Btn_back); // not shown: to the first
}

TEST(LeaderControls, NamesPositionsAndFrame) {
  LeaderControls c;
  EXPECT_STREQ(c[optionBox(3)].name, "Opt_3");
  EXPECT_EQ(c[optionBox(7)].rect, (Rect{6, 3 + 18 * 6, 262, 17}));
  EXPECT_EQ(c[C::Opt_7].parent, C::Group);
  EXPECT_STREQ(c[pagePanel(5)].name, "Ebn_prggroup");
  EXPECT_EQ(optionOfBox(C::Opt_5), 5);
  EXPECT_EQ(optionOfBox(C::Group), 0);
  EXPECT_EQ(optionOfBox(C::Lbl_need), 0);
  LeaderLayout layout;
  narrowWithoutWizardPicture(layout);
  c.takeFrame(layout);
  EXPECT_EQ(c[C::Btn_back].rect.left, 20);
  EXPECT_EQ(c[C::Ebn_start].rect.left, 4);
}

MainLayout titleDisplay() {
  MainLayout layout = MainLayout::design();
  layout.i2.visible = layout.i4.visible = layout.Lbl_4.visible = false;
  for (ControlState* c : {&layout.i3, &layout.Lbl_1, &layout.Lbl_2, &layout.Lbl_3, &layout.Lbl1_shadow,
                          &layout.Lbl2_shadow, &layout.Lbl3_shadow})
    c->visible = true;
  return layout;
}

void expectTitlesHidden(const MainLayout& l) {
  for (const ControlState* c : {&l.i3, &l.Lbl_1, &l.Lbl_2, &l.Lbl_3, &l.Lbl1_shadow, &l.Lbl2_shadow, &l.Lbl3_shadow})
    EXPECT_FALSE(c->visible);
}

TEST(InformationDisplay, PictureWithoutTextGoesWide) {
  InstallState state;
  state.Setup.InfoText = std::string("_");
  MainLayout layout = titleDisplay();
  switchToInformationDisplay(layout, state, true);
  EXPECT_TRUE(layout.i2.visible);
  EXPECT_FALSE(layout.i4.visible);
  EXPECT_FALSE(layout.Lbl_4.visible);
  expectTitlesHidden(layout);
}

TEST(InformationDisplay, PictureWithTextSitsBesideIt) {
  InstallState state;
  state.Setup.InfoText = std::string("Please wait");
  MainLayout layout = titleDisplay();
  switchToInformationDisplay(layout, state, true);
  EXPECT_FALSE(layout.i2.visible);
  EXPECT_TRUE(layout.i4.visible);
  EXPECT_TRUE(layout.Lbl_4.visible);
  expectTitlesHidden(layout);
}

TEST(InformationDisplay, TextAloneOrNothing) {
  InstallState state;
  state.Setup.InfoText = std::string("Please wait");
  MainLayout layout = titleDisplay();
  switchToInformationDisplay(layout, state, false);
  EXPECT_FALSE(layout.i2.visible);
  EXPECT_FALSE(layout.i4.visible);
  EXPECT_TRUE(layout.Lbl_4.visible);
  expectTitlesHidden(layout);

  state.Setup.InfoText = std::string("_");
  MainLayout unchanged = titleDisplay();
  switchToInformationDisplay(unchanged, state, false);
  EXPECT_TRUE(unchanged.i3.visible);
  EXPECT_TRUE(unchanged.Lbl_1.visible);
  EXPECT_TRUE(unchanged.Lbl3_shadow.visible);
  EXPECT_FALSE(unchanged.Lbl_4.visible);
  EXPECT_FALSE(unchanged.i2.visible);
}

} // namespace
} // namespace kalvora
