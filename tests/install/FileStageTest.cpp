#include "install/FileStage.h"

#include <gtest/gtest.h>

#include "InstallFixture.h"
#include "install/ChunkCopy.h"
#include "install/RunProgress.h"
#include "install/ScriptPaths.h"
#include "install/SharedFiles.h"

namespace kalvora {
namespace {

using testing::InstallFixture;

std::string pattern(char first, std::size_t n) {
  std::string s(n, ' ');
  for (std::size_t i = 0; i < n; ++i)
    s[i] = static_cast<char>(first + static_cast<char>(i % 23));
  return s;
}

struct ChunkRun : InstallFixture {
  bool copied = false; // the last copy went to its end
  ChunkRun() : InstallFixture("") {
    run().CurrentTarget = "C:\\out.bin";
    state.Choices.ProgressTotal = 1000000;
  }
  std::string copy(const std::string& volume, std::int64_t number, std::int64_t offset, std::int64_t size) {
    run().ContinuationCount = 0; // as at the start of each file
    copied = copyChunk(run(), Chunk{volume, number, offset, size}, "C:\\out.bin");
    return file("C:\\out.bin");
  }
};

TEST(ChunkCopy, ContinuesIntoFollowingVolumes) {
  const std::string v2 = pattern('a', 4000), v3 = pattern('A', 3000), v4 = pattern('0', 100);
  ChunkRun f;
  f.platform.putFile("D:\\zdata_02.dsk", v2);
  f.platform.putFile("D:\\zdata_03.dsk", v3);
  f.platform.putFile("D:\\zdata_04.dsk", v4);
  EXPECT_EQ(f.copy("02", 2, 1000, 5000), v2.substr(1000) + v3.substr(0, 2000));
  EXPECT_EQ(f.copy("02", 2, 1000, 3000), v2.substr(1000)); // ends exactly at the volume's end
  EXPECT_EQ(f.copy("02", 2, 1000, 3000 + 3000 + 50), v2.substr(1000) + v3 + v4.substr(0, 50));
  EXPECT_EQ(f.run().ContinuationCount, 2);
  EXPECT_TRUE(f.platform.shownBoxes().empty());

  ChunkRun one; // a volume written with one digit: its continuation has two
  one.platform.putFile("D:\\zdata_1.dsk", "xyz");
  one.platform.putFile("D:\\zdata_02.dsk", "pq");
  EXPECT_EQ(one.copy("1", 1, 1, 3), "yzp");
}

// The volume a chunk ends in stays open for the next chunk, which may lie
// anywhere in it: after it, before it, inside or outside the piece read last.
TEST(ChunkCopy, NextChunkInTheSameVolumeAnywhere) {
  const std::string v = pattern('a', 200000);
  ChunkRun f;
  f.platform.putFile("D:\\zdata_01.dsk", v);
  for (const auto& [offset, size] : std::vector<std::pair<std::int64_t, std::int64_t>>{
           {150000, 500}, {150500, 3000}, {149000, 10}, {10, 70000}, {70010, 129990}, {0, 1}}) {
    // Compared as a whole: a failure printed in full would take the test's time.
    EXPECT_TRUE(f.copy("01", 1, offset, size) ==
                v.substr(static_cast<std::size_t>(offset), static_cast<std::size_t>(size)))
        << offset;
    EXPECT_EQ(f.run().HeldVolume.path(), "D:\\zdata_01.dsk");
  }
  f.platform.putFile("D:\\zdata_02.dsk", "xy");
  EXPECT_EQ(f.copy("02", 2, 1, 1), "y");
  EXPECT_EQ(f.run().HeldVolume.path(), "D:\\zdata_02.dsk");
}

TEST(ChunkCopy, AsksForAMissingVolumeUntilItIsThere) {
  ChunkRun f;
  f.platform.putFile("D:\\zdata_01.dsk", "abc");
  f.platform.answerNextBox(MessageResult::Ok);
  f.platform.answerNextBox(MessageResult::Cancel); // confirmation declined: asked again
  f.view.confirmCancel = false;
  int boxes = 0;
  f.platform.afterBox = [&] {
    if (++boxes == 3) f.platform.putFile("D:\\zdata_02.dsk", "de");
  };
  EXPECT_EQ(f.copy("01", 1, 0, 4), "abcd");
  ASSERT_EQ(f.platform.shownBoxes().size(), 3u);
  const auto& box = f.platform.shownBoxes()[0];
  EXPECT_EQ(box.text, "Insert disk \"2\".");
  EXPECT_EQ(box.caption, "kalvora");
  EXPECT_EQ(box.buttons, MessageButtons::OkCancel);
  EXPECT_EQ(box.icon, MessageIcon::Exclamation);
  EXPECT_EQ(f.view.confirmations, 1);

  ChunkRun first; // the first volume shows its number without leading zeros; a confirmed cancel stops
  first.platform.answerNextBox(MessageResult::Cancel);
  first.copy("03", 3, 0, 4);
  EXPECT_FALSE(first.copied);
  EXPECT_FALSE(first.run().Error);
  EXPECT_EQ(first.platform.shownBoxes()[0].text, "Insert disk \"3\".");
  EXPECT_FALSE(first.platform.fileExists("C:\\out.bin"));

  ChunkRun later; // a stop in a continuation leaves the output as far as it was written
  later.platform.putFile("D:\\zdata_01.dsk", "abc");
  later.platform.answerNextBox(MessageResult::Cancel);
  EXPECT_EQ(later.copy("01", 1, 0, 4), "abc");
  EXPECT_FALSE(later.copied);
}

TEST(ChunkCopy, BarsPerBlock) {
  ChunkRun plain;
  plain.platform.putFile("D:\\zdata_01.dsk", std::string(4096, 'x'));
  plain.copy("01", 1, 0, 4096);
  EXPECT_EQ(plain.view.item, (std::vector<int>{0, 50, 100}));
  plain.state.Choices.ProgressTotal = 1; // the lower bar clamps at 100
  plain.copy("01", 1, 0, 4096);
  EXPECT_EQ(plain.view.run.back(), 100);

  ChunkRun packed;
  packed.state.Setup.CompressionMode = 1;
  packed.state.Choices.ProgressTotal = 1000;
  packed.platform.putFile("D:\\zdata_01.dsk", std::string(4096, 'x'));
  packed.copy("01", 1, 0, 4096);
  EXPECT_EQ(packed.view.item, (std::vector<int>{0, 10, 20}));
  EXPECT_EQ(packed.run().BytesDone, 820);                 // 409.6 rounded, twice
  EXPECT_EQ(packed.view.run, (std::vector<int>{41, 81})); // 39.36 and 78.72 rounded, + 2

  std::int32_t half = 50;
  packed.run().CShowProgress(half);
  EXPECT_EQ(packed.view.item.back(), 60);
  EXPECT_EQ(roundHalfEven(2.5), 2);
  EXPECT_EQ(roundHalfEven(3.5), 4);
}

TEST(ChunkCopy, EmptyChunkAndUnwritableOutput) {
  ChunkRun f;
  f.platform.putFile("D:\\zdata_01.dsk", "abc");
  EXPECT_EQ(f.copy("01", 1, 0, 0), "");
  EXPECT_EQ(f.view.item.back(), 100);
  f.platform.limitWrites(2);
  f.copy("01", 1, 0, 3);
  EXPECT_FALSE(f.copied);
  EXPECT_EQ(f.error(), EInOutError(101).what());
}

struct Stage : InstallFixture {
  explicit Stage(const std::string& script) : InstallFixture("[software]\nmedium=1\n" + script) {
    platform.putFile("D:\\zdata_01.dsk", "NEW");
    run().SetupCopy = std::make_unique<SetupScript>("D:\\setup.inf", platform);
    run().Log.open("C:\\App\\setup\\uninst.log", platform);
    run().WindowsDir = "C:\\WINDOWS";
    platform.putDirectory("C:\\App\\setup");
  }
};

TEST(FileStage, ReplaceTestKeepsOrReplacesAndAlwaysLogs) {
  struct Case {
    int policy, installed;
    bool replaced;
  } cases[] = {{0, -1, true}, {0, 3, true}, {0, 4, false}, {1, 9, true}, {2, -1, false}};
  for (const Case& c : cases) {
    Stage f("[vercheck]\nfiles=" + std::to_string(c.policy) + "\n[Option_1]\nf1=a.txt\nz1=3\n");
    f.state.Setup.NewVersion = 3;
    f.state.Setup.InstalledVersion = c.installed;
    f.platform.putFile("C:\\App\\a.txt", "OLD");
    EXPECT_TRUE(fileStage(f.run()));
    EXPECT_EQ(f.file("C:\\App\\a.txt"), c.replaced ? "NEW" : "OLD") << c.policy << " " << c.installed;
    EXPECT_EQ(f.log("files", "f1"), "\\a.txt");
    EXPECT_EQ(f.log("files", "kept1"), c.replaced ? "<none>" : "1"); // the uninstaller leaves it
    EXPECT_EQ(f.run().FileCount, 1);
    EXPECT_FALSE(f.run().HeldVolume.isOpen()); // no volume stays open beyond the stage
  }
}

TEST(FileStage, SystemRootPathCutAndOptionWithoutFiles) {
  const std::string deep = "\\abcdefghij\\klmnopqrst\\uvwxyz0123\\more\\";
  Stage f("[directories]\nd2_1=%systemroot%" + deep + "\n[Option_1]\n[Option_2]\nf1=a.txt\nd1=1\nz1=3\n");
  f.state.Choices.OptionChosen[1] = true;
  EXPECT_TRUE(fileStage(f.run()));
  const std::string target = "C:\\WINDOWS" + deep.substr(0, 30) + "a.txt";
  EXPECT_EQ(f.file(target), "NEW");
  EXPECT_EQ(f.log("systemroot", "f1"), target);
  EXPECT_EQ(f.log("files", "f1"), "<none>");
  EXPECT_EQ(f.log("files", "total"), "1");
}

// Files of one batch are planned as the earlier ones leave the system: a new
// directory is logged once, a target written twice is replaced the second
// time, and its shared count goes up from the first file's count.
TEST(FileStage, OneBatchPlansEachFileAfterTheEarlierOnes) {
  Stage f("[directories]\nd1_1=%systemroot%\\kv\\sub\\\n[Option_1]\n"
          "f1=a.dll\nd1=1\nz1=3\nf2=b.dll\nd2=1\nz2=3\nf3=a.dll\nd3=1\nz3=3\n");
  f.run().LogEnabled = true;
  ASSERT_TRUE(fileStage(f.run()));
  EXPECT_EQ(f.log("systemroot", "dtotal"), "2");
  EXPECT_EQ(f.log("systemroot", "d2"), "C:\\WINDOWS\\kv\\sub");
  EXPECT_EQ(f.log("systemroot", "bak1") + f.log("systemroot", "bak3"), "<none>C:\\App\\setup\\backup\\s3");
  EXPECT_EQ(f.log("systemroot", "count1") + f.log("systemroot", "count3"), "01");
  EXPECT_EQ(f.platform.readRegistryDword(RegistryRoot::LocalMachine, kSharedDllsKey, "C:\\WINDOWS\\kv\\sub\\a.dll"),
            2u);
}

TEST(FileStage, ScriptPathsThatLeaveTheirRootAreRefused) {
  const char* scripts[] = {
      "[Option_1]\nf1=..\\evil.txt\n",
      "[Option_1]\nf1=a.txt\nd1=1\n[directories]\nd1_1=\\..\\..\\x\\\n",
      "[Option_1]\nf1=a.txt\nd1=1\n", // no directory key: "[]" would be a sibling of the target
      "[Option_1]\nf1=a.txt\nd1=1\n[directories]\nd1_1=%SystemRoot%\\.. \\\n",
      "[Option_1]\nf1=a.txt\nd1=1\n[directories]\nd1_1=%SystemRoot%\n", // would be C:\WINDOWSa.txt
      "[Option_1]\nf1=D:a.txt\n",
  };
  for (const char* script : scripts) {
    Stage f(script);
    const auto before = f.platform.listFiles();
    EXPECT_FALSE(fileStage(f.run())) << script;
    EXPECT_EQ(f.error().rfind("Ungültiger Pfad in setup.inf: ", 0), 0u) << script;
    EXPECT_EQ(f.platform.listFiles().size(), before.size() + 1) << script; // the log alone is new
  }
  EXPECT_TRUE(staysBelowRoot("\\a\\.\\b\\"));
  EXPECT_FALSE(staysBelowRoot("\\a\\...\\b"));
}

} // namespace
} // namespace kalvora
