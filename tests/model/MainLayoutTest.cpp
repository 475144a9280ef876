#include "model/MainLayout.h"

#include <gtest/gtest.h>

#include "platform/MemoryPlatform.h"

namespace kalvora {
namespace {

class MainLayoutTest : public ::testing::Test {
protected:
  void SetUp() override {
    state.Setup.BackPicture = "C:\\m\\back.bmp";
    state.Setup.LogoPicture = "C:\\m\\logo.bmp";
    state.Setup.TitleLines[0] = "One"; // one by one: GCC 12 misreports the list assignment under -Wrestrict
    state.Setup.TitleLines[1] = "Two";
    state.Setup.TitleLines[2] = "Three";
    state.Setup.InfoText = "_";
    platform.setScreenSize(800, 600);
  }
  MainLayout laidOut() {
    MainLayout layout = MainLayout::design();
    layOutAtStartUp(layout, state, settings, platform);
    return layout;
  }
  MemoryPlatform platform;
  InstallState state;
  MainSettings settings;
};

TEST_F(MainLayoutTest, BackgroundFollowsStretchAndPictureTable) {
  // No picture: the gradient at once unstretched, after the first activation when stretched.
  EXPECT_TRUE(laidOut().i1.visible);
  EXPECT_FALSE(tilesBackground(settings, state, platform));
  settings.stretch = true;
  EXPECT_FALSE(laidOut().i1.visible);
  platform.putFile(state.Setup.BackPicture, "BM");
  EXPECT_TRUE(laidOut().i1.visible);
  EXPECT_FALSE(tilesBackground(settings, state, platform));
  settings.stretch = false;
  EXPECT_FALSE(laidOut().i1.visible);
  EXPECT_TRUE(tilesBackground(settings, state, platform));
}

TEST_F(MainLayoutTest, StretchedMissingPictureShowsGradientAfterFirstActivation) {
  settings.stretch = true;
  MainLayout layout = laidOut();
  EXPECT_FALSE(layout.i1.visible);
  layOutAtFirstActivation(layout, settings, {1024, 768});
  EXPECT_TRUE(layout.i1.visible);
  EXPECT_EQ(layout.i1.rect, (Rect{0, 0, 1022, 766}));
  EXPECT_EQ(layout.i2.rect, (Rect{-1, 0, 1022, 512}));
  EXPECT_EQ(layout.window, (Rect{0, 0, 1024, 768}));
  EXPECT_TRUE(layout.maximised);
}

TEST_F(MainLayoutTest, ShowFalseMinimises) {
  settings.show = false;
  MainLayout layout = laidOut();
  layOutAtFirstActivation(layout, settings, {640, 480});
  EXPECT_TRUE(layout.minimised);
  EXPECT_FALSE(layout.maximised);
}

TEST_F(MainLayoutTest, TitleLinesShadowsColoursAndLogo) {
  settings.titleColor[0] = 255;
  settings.caption = "Cap";
  MainLayout layout = laidOut();
  EXPECT_EQ(layout.caption, "Cap");
  EXPECT_EQ(layout.Lbl_1.color, 255u);
  EXPECT_EQ(layout.Lbl_2.color, kBlack); // the default replaces the design silver
  EXPECT_EQ(layout.Lbl1_shadow.color, kBlack);
  EXPECT_EQ(layout.Lbl_1.text, "One");
  EXPECT_EQ(layout.Lbl1_shadow.text, "One");
  EXPECT_EQ(layout.Lbl3_shadow.text, "Three");
  EXPECT_EQ(layout.Lbl_4.text, "_");
  // No logo: lines at the left edge, tops unchanged.
  EXPECT_EQ(layout.Lbl_1.rect, (Rect{13, 8, 630, 44}));
  EXPECT_EQ(layout.Lbl_2.rect.left, 14);
  EXPECT_EQ(layout.Lbl_3.rect.left, 14);
  EXPECT_EQ(layout.Lbl1_shadow.rect, (Rect{17, 12, 630, 45}));
  EXPECT_EQ(layout.Lbl2_shadow.rect.left, 16);
  EXPECT_EQ(layout.Lbl3_shadow.rect.left, 16);
  EXPECT_TRUE(layout.Lbl2_shadow.visible);
  EXPECT_EQ(layout.window.width, 800);
  EXPECT_EQ(layout.window.height, 600);

  platform.putFile(state.Setup.LogoPicture, "BM");
  settings.shadow = false;
  layout = laidOut();
  EXPECT_EQ(layout.Lbl_1.rect.left, 134);
  EXPECT_EQ(layout.Lbl3_shadow.rect.left, 138);
  EXPECT_FALSE(layout.Lbl1_shadow.visible || layout.Lbl2_shadow.visible || layout.Lbl3_shadow.visible);
  EXPECT_TRUE(layout.Lbl_1.visible);
}

TEST(MainLayout, InfoAreaIsTwoThirdsRounded) {
  EXPECT_EQ(infoAreaHeight(768), 512);
  EXPECT_EQ(infoAreaHeight(1000), 667);
  EXPECT_EQ(infoAreaHeight(600), 400);
  EXPECT_EQ(infoAreaHeight(1), 1);
}

TEST(MainLayout, TilesRowByRowAndSkipsTinyBitmaps) {
  EXPECT_TRUE(tilePositions(1, 100, {640, 480}).empty());
  EXPECT_TRUE(tilePositions(100, 1, {640, 480}).empty());
  const auto points = tilePositions(300, 250, {640, 480});
  EXPECT_EQ(points, (std::vector<Point>{{0, 0}, {300, 0}, {600, 0}, {0, 250}, {300, 250}, {600, 250}}));
  EXPECT_EQ(tilePositions(2, 2, {4, 2}).size(), 2u);
}

TEST(MainLayout, ReadsItsScriptKeys) {
  MemoryPlatform platform;
  platform.putFile("C:\\setup.inf",
                   "[main]\nstretch=1\nshadow=0\nshow=0\nl3_color=0x0000FF\n[language]\nl29=Window caption\n");
  const MainSettings settings = readMainSettings(SetupScript("C:\\setup.inf", platform));
  EXPECT_TRUE(settings.stretch);
  EXPECT_FALSE(settings.shadow);
  EXPECT_FALSE(settings.show);
  EXPECT_EQ(settings.titleColor[0], 0);
  EXPECT_EQ(settings.titleColor[2], 255);
  EXPECT_EQ(settings.caption, "Window caption");

  platform.putFile("C:\\empty.inf", "");
  const MainSettings defaults = readMainSettings(SetupScript("C:\\empty.inf", platform));
  EXPECT_FALSE(defaults.stretch);
  EXPECT_TRUE(defaults.shadow);
  EXPECT_TRUE(defaults.show);
}

} // namespace
} // namespace kalvora
