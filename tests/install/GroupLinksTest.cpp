#include "install/GroupLinks.h"

#include <gtest/gtest.h>

#include "platform/MemoryPlatform.h"

namespace kalvora {
namespace {

const GroupItem kTool{"Tool: a/b", "C:\\Program Files\\App\\tool.exe", "-x \"a b\""};
const std::string kFolder = "C:\\Users\\u\\Programs\\App";

// What the folder held for the item before, and what completing it gives.
struct LinkCase {
  const char* what;
  std::optional<ShellLink> before; // nothing: no link
  bool junkFile;                   // a file that is no link stands there
  bool refuseWrite;
  LinkWay way;
};

TEST(GroupLinks, EachItemEndsWithOneRightLinkNamedLikeTheShellNamesIt) {
  const ShellLink right{"c:\\program files\\APP\\tool.exe", "-x \"a b\"", "C:\\Program Files\\App"};
  const LinkCase cases[] = {
      {"missing", std::nullopt, false, false, LinkWay::Made},
      {"made right by the shell (paths in another case)", right, false, false, LinkWay::Kept},
      {"made by the shell without arguments or directory", ShellLink{kTool.target, "", ""}, false, false,
       LinkWay::Rewritten},
      {"arguments in another case", ShellLink{kTool.target, "-X \"A B\"", right.workingDirectory}, false, false,
       LinkWay::Rewritten},
      {"another target", ShellLink{"C:\\other.exe", kTool.arguments, right.workingDirectory}, false, false,
       LinkWay::Rewritten},
      {"a file that is no link", std::nullopt, true, false, LinkWay::Rewritten},
      {"missing, and the folder refuses it", std::nullopt, false, true, LinkWay::Failed},
  };
  const std::string path = kFolder + "\\Tool_ a_b.lnk";
  for (const LinkCase& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryPlatform platform;
    platform.putDirectory(kFolder);
    if (c.junkFile) platform.putFile(path, "junk");
    if (c.before) platform.writeShellLink(path, *c.before);
    if (c.refuseWrite) platform.failCreateOf(path);

    ASSERT_EQ(groupLinkPaths(kFolder, {kTool}), std::vector<std::string>{path});
    EXPECT_EQ(completeLink(platform, path, kTool), c.way);
    const auto link = platform.readShellLink(path);
    if (c.way == LinkWay::Failed) {
      EXPECT_FALSE(link);
    } else {
      ASSERT_TRUE(link);
      EXPECT_EQ(link->arguments, kTool.arguments);
      EXPECT_EQ(link->workingDirectory, c.way == LinkWay::Kept ? right.workingDirectory : "C:\\Program Files\\App");
      // A second pass finds it right and writes nothing.
      EXPECT_EQ(completeLink(platform, path, kTool), LinkWay::Kept);
    }
    EXPECT_EQ(platform.listFiles().size(), c.way == LinkWay::Failed ? 0u : 1u);
  }
}

TEST(GroupLinks, ACaptionGivenTwiceGetsASecondNumberedLink) {
  const std::vector<GroupItem> items = {{"Tool", "C:\\a.exe", ""}, {"TOOL", "C:\\b.exe", ""}, {"Tool", "C:\\c", ""}};
  EXPECT_EQ(groupLinkPaths("F", items),
            (std::vector<std::string>{"F\\Tool.lnk", "F\\TOOL (2).lnk", "F\\Tool (3).lnk"}));
  // A caption that is itself numbered takes its number first; the next "A" goes on from there.
  EXPECT_EQ(groupLinkPaths("F", {{"A", "x", ""}, {"A (2)", "x", ""}, {"A", "x", ""}, {"a", "x", ""}}),
            (std::vector<std::string>{"F\\A.lnk", "F\\A (2).lnk", "F\\A (3).lnk", "F\\a (4).lnk"}));
  // A script may give thousands of items one caption: each still gets its own number.
  const std::vector<std::string> many = groupLinkPaths("F", std::vector<GroupItem>(5000, {"Same", "x", ""}));
  ASSERT_EQ(many.size(), 5000u);
  EXPECT_EQ(many[4999], "F\\Same (5000).lnk");
  EXPECT_EQ((GroupItem{"x", "C:\\run.exe", "/a"}.link().workingDirectory), "C:\\");
  EXPECT_EQ((GroupItem{"x", "C:\\run.exe", "/a"}.commandLine()), "C:\\run.exe /a");
}

TEST(GroupLinks, TheFolderIsWhereTheShellPutTheItemsElseOneThatExistsElseANewCommonOne) {
  struct FolderCase {
    const char* what;
    bool commonExists, userExists, userHoldsLink, commonRefused;
    const char* chosen;
  };
  const FolderCase cases[] = {
      {"nothing yet: a new common folder", false, false, false, false, "C:\\All\\Programs\\My_App"},
      {"the common folder refused: the user's", false, false, false, true, "C:\\User\\Programs\\My_App"},
      {"the shell made the user's", false, true, true, false, "C:\\User\\Programs\\My_App"},
      {"the shell's beside an old common one", true, true, true, false, "C:\\User\\Programs\\My_App"},
      {"both there, no link in either: common", true, true, false, false, "C:\\All\\Programs\\My_App"},
      {"only the user's there", false, true, false, false, "C:\\User\\Programs\\My_App"},
  };
  for (const FolderCase& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryPlatform platform;
    platform.setProgramsFolders("C:\\All\\Programs", "C:\\User\\Programs");
    platform.putDirectory("C:\\All\\Programs");
    platform.putDirectory("C:\\User\\Programs");
    if (c.commonExists) platform.putDirectory("C:\\All\\Programs\\My_App");
    if (c.userExists) platform.putDirectory("C:\\User\\Programs\\My_App");
    if (c.userHoldsLink) platform.writeShellLink("C:\\User\\Programs\\My_App\\Tool_ a_b.lnk", kTool.link());
    if (c.commonRefused) platform.failCreateOf("C:\\All\\Programs\\My_App");
    EXPECT_EQ(groupFolder(platform, "My/App", {kTool}), c.chosen);
  }
  MemoryPlatform none;
  EXPECT_EQ(groupFolder(none, "My App", {kTool}), "");
}

} // namespace
} // namespace kalvora
