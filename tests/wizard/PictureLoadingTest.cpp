#include "wizard/PictureLoading.h"

#include <gtest/gtest.h>

#include "platform/MemoryPlatform.h"

namespace kalvora {
namespace {

// Records what the creation does to the windows.
class RecordingView : public PictureLoadingView {
public:
  void setHourglass(bool on) { events.push_back(on ? "hourglass" : "arrow"); }
  void setLoadingPosition(int position) { bar.push_back(position); }
  void hideLoadingScreen() { events.push_back("hide"); }
  void sizeInfoArea(int width, int height) {
    events.push_back("i2 " + std::to_string(width) + "x" + std::to_string(height));
  }
  bool loadPicture(PictureControl control, const std::string& path) {
    loaded.emplace_back(control, path);
    return path.find("broken") == std::string::npos;
  }
  std::vector<std::string> events;
  std::vector<int> bar;
  std::vector<std::pair<PictureControl, std::string>> loaded;
};

// Expands a "packed" file by writing its member to the path OnCheckFile gives,
// reporting progress 0, 50 and 100 on the way; a "broken" one fails its checksum.
class FakeExpander : public PictureExpander {
public:
  explicit FakeExpander(MemoryPlatform& platform) : platform_(platform) {}
  Status ExpandFile(std::string& FileName, const std::string& ArchiveName) override {
    calls.emplace_back(FileName, ArchiveName);
    if (ArchiveName.find("broken") != std::string::npos) return EBadChecksum();
    if (ArchiveName.find("empty") != std::string::npos) {
      FileName.clear();
      return {};
    }
    std::string path = FileName;
    OnCheckFile(path, TCProcessMode::cmExpand);
    for (std::int32_t p : {0, 50, 100})
      OnShowProgress(p);
    platform_.putFile(path, "BM " + ArchiveName);
    FileName = path;
    return {};
  }
  std::vector<std::pair<std::string, std::string>> calls;

private:
  MemoryPlatform& platform_;
};

class PictureLoadingTest : public ::testing::Test {
protected:
  void SetUp() override {
    platform.setScreenSize(1000, 700);
    platform.putFile("D:\\setup.inf", "[software]\nname=x\n");
    state.Setup.SetupScript = std::make_unique<SetupScript>("D:\\setup.inf", platform);
    state.Setup.WizardPicture = "D:\\wiz.bm_";
    state.Setup.InfoPicture = "D:\\info.bm_";
    state.Setup.LogoPicture = "D:\\logo.bm_";
    state.Setup.BackPicture = "D:\\back.bm_";
    state.Setup.InfoText = "_";
  }
  void run() {
    PictureLoading loading(platform, state, view, expander);
    status = loading.run(layout);
    infoLoaded = loading.InfoPictureLoaded;
  }
  MemoryPlatform platform;
  InstallState state;
  RecordingView view;
  FakeExpander expander{platform};
  LeaderLayout layout;
  bool infoLoaded = false;
  Status status;
};

TEST(LoadingPosition, FollowsPhaseRangesWithHalvesToEven) {
  EXPECT_EQ(loadingPositionFor(4, 0), 0);
  EXPECT_EQ(loadingPositionFor(4, 100), 15);
  EXPECT_EQ(loadingPositionFor(4, 10), 2); // 1.5 -> 2
  EXPECT_EQ(loadingPositionFor(4, 30), 4); // 4.5 -> 4
  EXPECT_EQ(loadingPositionFor(4, 3), 0);  // 0.45
  EXPECT_EQ(loadingPositionFor(2, 50), 25);
  EXPECT_EQ(loadingPositionFor(2, 100), 35);
  EXPECT_EQ(loadingPositionFor(3, 5), 36); // 36.5 to the even 36
  EXPECT_EQ(loadingPositionFor(3, 100), 65);
  EXPECT_EQ(loadingPositionFor(1, 2), 66); // 65.5 to the even 66
  EXPECT_EQ(loadingPositionFor(1, 100), 90);
  EXPECT_EQ(loadingPositionFor(0, 50), -1);
  EXPECT_EQ(loadingPositionFor(5, 50), -1);
}

TEST(PackedPicture, MemberNameEndsInPAndHasNoDirectory) {
  EXPECT_EQ(packedPictureMember("D:\\DISK1\\BACK.BM_"), "BACK.BMp");
  EXPECT_EQ(packedPictureMember("A:logo.bm_"), "logo.bmp");
  EXPECT_EQ(packedPictureMember("x"), "p");
}

TEST(ForceDirectories, CreatesMissingParentsInOrder) {
  MemoryPlatform platform;
  EXPECT_TRUE(forceDirectories(platform, "C:\\a\\b\\c"));
  EXPECT_EQ(platform.createdDirectories(), (std::vector<std::string>{"C:\\a", "C:\\a\\b", "C:\\a\\b\\c"}));
  EXPECT_TRUE(forceDirectories(platform, "C:\\a\\b\\"));
  EXPECT_EQ(platform.createdDirectories().size(), 3u);
  platform.putFile("C:\\file", "x");
  EXPECT_FALSE(forceDirectories(platform, "C:\\file\\sub"));
}

TEST_F(PictureLoadingTest, UncompressedLoadsExistingPicturesAndMovesBar) {
  platform.putFile("D:\\wiz.bm_", "BM");
  platform.putFile("D:\\back.bm_", "BM");
  run();
  EXPECT_EQ(view.bar, (std::vector<int>{7, 15, 35, 65, 90, 100}));
  EXPECT_EQ(view.events, (std::vector<std::string>{"hourglass", "i2 1000x466", "hide", "arrow"}));
  ASSERT_EQ(view.loaded.size(), 2u);
  EXPECT_EQ(view.loaded[0], std::make_pair(PictureControl::Img_Setup, std::string("D:\\wiz.bm_")));
  EXPECT_EQ(view.loaded[1], std::make_pair(PictureControl::i1, std::string("D:\\back.bm_")));
  EXPECT_TRUE(expander.calls.empty());
  EXPECT_TRUE(platform.directoryExists("C:\\temp"));
  EXPECT_EQ(layout.clientWidth, 461); // a wizard picture: not narrowed
  EXPECT_GE(platform.messagesProcessed(), 4);
}

TEST_F(PictureLoadingTest, InfoPictureGoesBesideTheTextWhenThereIsOne) {
  platform.putFile("D:\\info.bm_", "BM");
  state.Setup.InfoText = "Some text";
  run();
  ASSERT_EQ(view.loaded.size(), 1u);
  EXPECT_EQ(view.loaded[0].first, PictureControl::i4);
  EXPECT_TRUE(infoLoaded);
}

TEST_F(PictureLoadingTest, WithoutWizardPictureTheDialogNarrows) {
  state.Setup.WizardPicture = "D:\\broken.bmp"; // exists but does not load
  platform.putFile(state.Setup.WizardPicture, "not a bitmap");
  run();
  EXPECT_EQ(layout.clientWidth, 311);
  EXPECT_EQ(layout.Btn_back.left, 20);
  EXPECT_EQ(layout.Btn_weiter.left, 96);
  EXPECT_EQ(layout.Btn_exit.left, 220);
  EXPECT_EQ(layout.strich.left, 20);
  for (const Rect& page : layout.pages)
    EXPECT_EQ(page.left, 4);
  EXPECT_EQ(layout.Img_Setup.left, 8);
}

TEST_F(PictureLoadingTest, CompressedExpandsEachIntoTempAndKeepsOnlyTheBackground) {
  for (const char* f : {"D:\\wiz.bm_", "D:\\info.bm_", "D:\\logo.bm_", "D:\\back.bm_"})
    platform.putFile(f, "packed");
  state.Setup.CompressionMode = 1;
  run();
  ASSERT_EQ(expander.calls.size(), 4u);
  EXPECT_EQ(expander.calls[0], std::make_pair(std::string("wiz.bmp"), std::string("D:\\wiz.bm_")));
  EXPECT_EQ(expander.calls[3], std::make_pair(std::string("back.bmp"), std::string("D:\\back.bm_")));
  EXPECT_EQ(view.bar, (std::vector<int>{0, 8, 15, 15, 15, 25, 35, 35, 35, 50, 65, 65, 65, 78, 90, 90, 100}));
  for (const auto& [control, path] : view.loaded)
    EXPECT_EQ(path, kTempPicture);
  EXPECT_EQ(platform.fileContent(kTempPicture), "BM D:\\back.bm_");
  EXPECT_EQ(state.Setup.BackPicture, kTempPicture);
  EXPECT_EQ(state.Setup.WizardPicture, kTempPicture);
}

TEST_F(PictureLoadingTest, CompressedWithoutFilesJumpsThroughTheSteps) {
  state.Setup.CompressionMode = 1;
  platform.putFile(kTempPicture, "left over");
  run();
  EXPECT_EQ(view.bar, (std::vector<int>{15, 35, 65, 90, 100}));
  EXPECT_TRUE(expander.calls.empty());
  EXPECT_FALSE(platform.fileExists(kTempPicture)); // deleted after the information picture
  EXPECT_EQ(state.Setup.BackPicture, "D:\\back.bm_");
  EXPECT_EQ(layout.clientWidth, 311);
  EXPECT_FALSE(infoLoaded);
}

TEST_F(PictureLoadingTest, PackedPictureWithoutItsMemberCountsAsMissing) {
  platform.putFile("D:\\logo.bm_", "packed");
  state.Setup.LogoPicture = "D:\\empty.bm_";
  platform.putFile("D:\\empty.bm_", "packed");
  state.Setup.CompressionMode = 1;
  run();
  EXPECT_TRUE(view.loaded.empty());
  EXPECT_EQ(state.Setup.LogoPicture, kTempPicture);
}

TEST_F(PictureLoadingTest, AnExpansionErrorEndsTheLoadingThere) {
  for (const char* f : {"D:\\wiz.bm_", "D:\\broken.bm_", "D:\\logo.bm_"})
    platform.putFile(f, "packed");
  state.Setup.InfoPicture = "D:\\broken.bm_";
  state.Setup.CompressionMode = 1;
  run();
  ASSERT_FALSE(status.ok());
  EXPECT_STREQ(status.error().what(), EBadChecksum().what());
  EXPECT_EQ(expander.calls.size(), 2u); // the logo is not expanded
  EXPECT_EQ(view.bar.back(), 15);
}

TEST_F(PictureLoadingTest, Msg1IsShownAfterTheLoadingScreenIsHidden) {
  platform.putFile("D:\\setup.inf", "[software]\nmsg1=Welcome aboard\n");
  run();
  ASSERT_EQ(platform.shownBoxes().size(), 1u);
  EXPECT_EQ(platform.shownBoxes()[0].text, "Welcome aboard");
  EXPECT_EQ(platform.shownBoxes()[0].caption, "kalvora");
  EXPECT_EQ(platform.shownBoxes()[0].icon, MessageIcon::Information);

  platform.putFile("D:\\setup.inf", "[software]\nmsg1=Hi\nmsg1t=Title\n");
  run();
  EXPECT_EQ(platform.shownBoxes().back().caption, "Title");
}

} // namespace
} // namespace kalvora
