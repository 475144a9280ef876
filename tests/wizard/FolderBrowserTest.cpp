#include "wizard/FolderBrowser.h"

#include <gtest/gtest.h>

#include "WizardFixture.h"

namespace kalvora {
namespace {

using testing::Wizard;

class ClosingHost : public DialogHost {
public:
  void closeDialog() override { ++closed; }
  int closed = 0;
};

int sixPixels(const std::string& text) { return 6 * static_cast<int>(text.size()); }

struct Browser {
  Browser() {
    w.platform.setDriveLetters("ACD");
    w.platform.putDirectory("C:\\Work\\Proj\\src");
    w.platform.putDirectory("C:\\Work\\Proj\\Build");
    w.platform.putDirectory("C:\\Work\\Proj\\assets");
    w.platform.putDirectory("C:\\Programs");
    w.platform.putDirectory("D:\\Games\\My Game");
    w.platform.setDriveCurrentDirectory('C', "C:\\Work\\Proj");
    w.platform.setDriveCurrentDirectory('D', "D:\\Games");
    w.platform.setDriveNotReady('A');
    browser.FormCreate();
  }
  std::vector<std::string> names() const {
    std::vector<std::string> out;
    for (const auto& item : browser.items())
      out.push_back(item.name);
    return out;
  }
  const std::string& entry() { return w[LeaderControl::Edt_verz].text; }

  Wizard w{""};
  ClosingHost host;
  FolderBrowser browser{w.platform, w.state, *w, host};
};

TEST(FolderBrowser, StartsAtTheCurrentDirectoryOfDriveC) {
  Browser b;
  EXPECT_EQ(b.browser.caption, "t9");
  EXPECT_EQ(b.browser.Btn_abbr, "t11");
  EXPECT_EQ(b.browser.Btn_ok, "&Ok");
  EXPECT_EQ(b.browser.drives(), "ACD");
  EXPECT_EQ(b.browser.drive(), 'C');
  EXPECT_EQ(b.names(), (std::vector<std::string>{"C:\\", "Work", "Proj", "assets", "Build", "src"}));
  EXPECT_EQ(b.browser.currentItem(), 2u);
  EXPECT_EQ(b.browser.items()[2].indent, 2);
  EXPECT_TRUE(b.browser.items()[2].open);
  EXPECT_EQ(b.browser.items()[3].indent, 3);
  EXPECT_FALSE(b.browser.items()[3].open);

  b.browser.Btn_okClick();
  EXPECT_EQ(b.entry(), "C:\\Work\\Proj");
  EXPECT_EQ(b.host.closed, 1);
}

TEST(FolderBrowser, OpeningItemsMovesUpAndDown) {
  Browser b;
  ASSERT_TRUE(b.browser.openItem(4)); // Build
  EXPECT_EQ(b.browser.directory(), "C:\\Work\\Proj\\Build");
  EXPECT_EQ(b.names(), (std::vector<std::string>{"C:\\", "Work", "Proj", "Build"}));
  ASSERT_TRUE(b.browser.openItem(0));
  EXPECT_EQ(b.browser.directory(), "C:\\");
  EXPECT_EQ(b.names(), (std::vector<std::string>{"C:\\", "Programs", "Work"}));
  ASSERT_TRUE(b.browser.openItem(2));
  EXPECT_EQ(b.browser.directory(), "C:\\Work");
  EXPECT_FALSE(b.browser.openItem(9));
  EXPECT_EQ(b.browser.directory(), "C:\\Work");
}

TEST(FolderBrowser, DrivesAndADriveNotReady) {
  Browser b;
  ASSERT_TRUE(b.browser.chooseDrive('d'));
  EXPECT_EQ(b.browser.drive(), 'D');
  EXPECT_EQ(b.browser.directory(), "D:\\Games");
  EXPECT_FALSE(b.browser.chooseDrive('A'));
  EXPECT_EQ(b.browser.drive(), 'D');
  EXPECT_EQ(b.browser.directory(), "D:\\Games");
  // A directory with blanks goes into the entry as it is.
  ASSERT_TRUE(b.browser.openItem(2));
  b.browser.Btn_okClick();
  EXPECT_EQ(b.entry(), "D:\\Games\\My Game");
}

TEST(FolderBrowser, CancelLeavesTheEntry) {
  Browser b;
  b.browser.openItem(3);
  b.browser.Btn_abbrClick();
  EXPECT_EQ(b.entry(), "C:\\Apps\\Tool");
  EXPECT_EQ(b.host.closed, 1);
}

TEST(FolderBrowser, VanishedCurrentDirectoryFallsBackToTheRoot) {
  Wizard w("");
  w.platform.setDriveCurrentDirectory('C', "C:\\Gone");
  ClosingHost host;
  FolderBrowser browser(w.platform, w.state, *w, host);
  browser.FormCreate();
  EXPECT_EQ(browser.directory(), "C:\\");

  w.platform.setDriveNotReady('C');
  FolderBrowser unreadable(w.platform, w.state, *w, host);
  unreadable.FormCreate();
  EXPECT_EQ(unreadable.directory(), "C:\\");
  EXPECT_EQ(unreadable.items().size(), 1u);
}

TEST(FolderBrowser, LongPathLabelShortenedButOkGivesItWhole) {
  Wizard w("");
  const std::string deep = "C:\\Program Files\\Vendor Name\\Product Family\\Version 12\\Components";
  w.platform.putDirectory(deep);
  w.platform.setDriveCurrentDirectory('C', deep);
  ClosingHost host;
  FolderBrowser browser(w.platform, w.state, *w, host);
  browser.FormCreate();
  const std::string label = browser.pathLabel(sixPixels);
  EXPECT_LE(sixPixels(label), browser.layout.Label1.width);
  EXPECT_EQ(label, "C:\\...\\Product Family\\Version 12\\Components");
  browser.Btn_okClick();
  EXPECT_EQ(w[LeaderControl::Edt_verz].text, deep);
}

TEST(ShortenedPath, StepsDownToTheCutName) {
  const std::string path = "C:\\alpha\\beta\\gamma";
  EXPECT_EQ(shortenedPath(path, 6 * 19, sixPixels), path);
  EXPECT_EQ(shortenedPath(path, 6 * 18, sixPixels), "C:\\...\\beta\\gamma");
  EXPECT_EQ(shortenedPath(path, 6 * 12, sixPixels), "C:\\...\\gamma");
  EXPECT_EQ(shortenedPath(path, 6 * 11, sixPixels), "...\\gamma");
  EXPECT_EQ(shortenedPath(path, 6 * 7, sixPixels), "gamm...");
  EXPECT_EQ(shortenedPath(path, 6 * 3, sixPixels), "...");
  EXPECT_EQ(shortenedPath("C:\\", 0, sixPixels), "C:\\");
}

} // namespace
} // namespace kalvora
