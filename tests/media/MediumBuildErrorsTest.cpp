// Bad input: every fault is named with its file and line (or source path),
// the build fails, and nothing is left behind.
#include <gtest/gtest.h>

#include <fstream>

#include "MediaTestSupport.h"
#include "media/Project.h"

namespace kalvora::media::test {
namespace {
namespace fs = std::filesystem;

const char* const kBase = "[build]\ncompression = lzh\n[software]\nname = Bad\nuniyes = 0\no_standard = 1\n"
                          "Opt1_standard = 1\n[directories]\nd1_1 = \\sub\\\n";

struct Failing {
  TempDir dir;
  BuildOutcome outcome;

  // Builds kBase + extra (the project's lines 1 to 9 are kBase's).
  explicit Failing(const std::string& extra, const std::map<std::string, std::string>& files = {}) {
    for (const auto& [rel, text] : files)
      writeText(dir / rel, text);
    writeText(dir / "p.kvp", std::string(kBase) + extra);
    outcome = build(dir / "p.kvp", dir / "out");
  }

  // Nothing but the sources and the project remain.
  void expectNothingLeft(std::size_t sourceEntries) const {
    EXPECT_FALSE(outcome.ok);
    EXPECT_FALSE(fs::exists(dir / "out"));
    std::size_t n = 0;
    for (const auto& e : fs::directory_iterator(dir.path())) {
      EXPECT_EQ(utf8Of(e.path().filename()).find("kalvora"), std::string::npos) << utf8Of(e.path());
      ++n;
    }
    EXPECT_EQ(n, sourceEntries + 1);
  }
  bool says(const std::string& text) const { return outcome.diagnostics.find(text) != std::string::npos; }
};

TEST(MediumBuildErrors, MissingSource) {
  Failing f("[files_1]\n0 = nowhere.txt\n0 = gone/*.dll\n1 = tree/\n");
  EXPECT_TRUE(f.says("p.kvp:11: error: missing source")) << f.outcome.diagnostics;
  EXPECT_TRUE(f.says("p.kvp:12: error: no file matches")) << f.outcome.diagnostics;
  EXPECT_TRUE(f.says("p.kvp:13: error: missing source")) << f.outcome.diagnostics;
  f.expectNothingLeft(0);
}

TEST(MediumBuildErrors, EighthOption) {
  Failing f("[files_8]\n0 = a.txt\n", {{"a.txt", "a"}});
  EXPECT_TRUE(f.says("p.kvp:10: error: [files_8]: the setup program has options 1 to 7 only")) << f.outcome.diagnostics;
  f.expectNothingLeft(1);
}

TEST(MediumBuildErrors, DirectoryNumberWithoutRow) {
  Failing f("[files_1]\n2 = a.txt\n", {{"a.txt", "a"}});
  EXPECT_TRUE(f.says("p.kvp:11: error: directory 2 of option 1 has no row [directories] d1_2"))
      << f.outcome.diagnostics;
  f.expectNothingLeft(1);
}

TEST(MediumBuildErrors, TwoFilesOfOneNameInOneDirectory) {
  Failing f("[files_1]\n1 = x/a.txt\n1 = y/*.txt\n", {{"x/a.txt", "1"}, {"y/a.txt", "2"}});
  EXPECT_TRUE(f.says("p.kvp:12: error: two files named a.txt in directory \\sub\\")) << f.outcome.diagnostics;
  f.expectNothingLeft(2);
}

TEST(MediumBuildErrors, TextLongerThan1023Characters) {
  Failing f("[language]\nl21 = " + std::string(1024, 'x') + "\n");
  EXPECT_TRUE(f.says("p.kvp:11: error: the value of l21 is 1024 characters long")) << f.outcome.diagnostics;
  f.expectNothingLeft(0);
}

TEST(MediumBuildErrors, BadDirectoryRows) {
  Failing f("[directories]\nd1_2 = sub\nd1_3 = %SystemRoot%\\a-directory-name-of-thirty-one\\\nd1_4 = \\a%b\\\n");
  EXPECT_TRUE(f.says("p.kvp:11: error: d1_2=sub: a directory must begin and end with")) << f.outcome.diagnostics;
  EXPECT_TRUE(f.says("p.kvp:12: error: d1_3=")) << f.outcome.diagnostics;
  EXPECT_TRUE(f.says("only 30 characters")) << f.outcome.diagnostics;
  EXPECT_TRUE(f.says("p.kvp:13: error: d1_4=")) << f.outcome.diagnostics;
  f.expectNothingLeft(0);
}

TEST(MediumBuildErrors, ReferencesToFilesThatDoNotExist) {
  Failing f("[files_1]\n0 = a.txt\n[prggrp]\ntotal = 2\no1 = 1\nf1 = b.txt\no2 = 1\nf2 = 2\n"
            "[extensions]\ntotal = 1\ne1 = abc\n",
            {{"a.txt", "a"}});
  EXPECT_TRUE(f.says("p.kvp:15: error: f1=b.txt: option 1 has no file of that name")) << f.outcome.diagnostics;
  EXPECT_TRUE(f.says("p.kvp:17: error: program item 2 names file 2 of option 1, which has 1 files"))
      << f.outcome.diagnostics;
  EXPECT_TRUE(f.says("p.kvp:20: error: extension abc needs o1 and f1")) << f.outcome.diagnostics;
  f.expectNothingLeft(1);
}

#ifndef _WIN32
// Names and sizes that only a POSIX file system lets a test create.
TEST(MediumBuildErrors, NameWindowsRefuses) {
  Failing f("[files_1]\n0 = *.txt\n", {{"what?.txt", "a"}, {"ok.txt", "b"}});
  EXPECT_TRUE(f.says("what?.txt: error: the name holds the character ?")) << f.outcome.diagnostics;
  EXPECT_TRUE(f.says("p.kvp:11)")) << f.outcome.diagnostics;
  f.expectNothingLeft(2);
}

TEST(MediumBuildErrors, SizeBeyondTheSigned32BitRange) {
  TempDir dir;
  {
    std::ofstream(dir / "huge.bin").put('x');
    fs::resize_file(dir / "huge.bin", std::uintmax_t{1} << 31); // sparse: nothing is written
  }
  writeText(dir / "p.kvp", std::string(kBase) + "[files_1]\n0 = huge.bin\n");
  const BuildOutcome b = build(dir / "p.kvp", dir / "out");
  EXPECT_FALSE(b.ok);
  EXPECT_NE(b.diagnostics.find("huge.bin: error: the file has 2147483648 bytes"), std::string::npos) << b.diagnostics;
  EXPECT_FALSE(fs::exists(dir / "out"));
}
#endif

// A fault found only after the volumes were written still leaves nothing.
TEST(MediumBuildErrors, LateFaultRemovesTheHalfBuiltMedium) {
  Failing f("[files_1]\n0 = a.txt\n[software]\nOpt1_space = 7\n", {{"a.txt", "12345678"}});
  EXPECT_TRUE(f.says("p.kvp:13: error: Opt1_space is computed as 8; the project writes 7")) << f.outcome.diagnostics;
  f.expectNothingLeft(1);
}

TEST(MediumBuildErrors, AFailedRebuildKeepsTheEarlierMedium) {
  TempDir dir;
  writeText(dir / "a.txt", "first");
  writeText(dir / "p.kvp", std::string(kBase) + "[files_1]\n0 = a.txt\n");
  ASSERT_TRUE(build(dir / "p.kvp", dir / "out").ok);
  const auto before = treeContents(dir / "out");
  writeText(dir / "p.kvp", std::string(kBase) + "[files_1]\n0 = a.txt\n0 = missing.txt\n");
  EXPECT_FALSE(build(dir / "p.kvp", dir / "out").ok);
  EXPECT_TRUE(treeContents(dir / "out") == before);
}

TEST(MediumBuildErrors, AnOutputDirectoryThatIsNoMediumIsNotReplaced) {
  TempDir dir;
  writeText(dir / "a.txt", "a");
  writeText(dir / "out/precious.doc", "keep me");
  writeText(dir / "p.kvp", std::string(kBase) + "[files_1]\n0 = a.txt\n");
  const BuildOutcome b = build(dir / "p.kvp", dir / "out");
  EXPECT_FALSE(b.ok);
  EXPECT_NE(b.diagnostics.find("holds no medium"), std::string::npos) << b.diagnostics;
  EXPECT_EQ(readText(dir / "out/precious.doc"), "keep me");
}

TEST(MediumBuildErrors, SourcesInsideTheOutputAndSetupFilesBiggerThanTheDisk) {
  TempDir dir;
  writeText(dir / "src/a.txt", "a");
  writeText(dir / "p.kvp", std::string(kBase) + "[files_1]\n0 = src/\n");
  const BuildOutcome inside = build(dir / "p.kvp", dir.path() / "src" / "out");
  EXPECT_NE(inside.diagnostics.find("holds the output directory"), std::string::npos) << inside.diagnostics;
  writeText(dir / "p.kvp", "[build]\nmedium = disks\nmedium_size = 2000\nreadme = src/a.txt\n" +
                               std::string(kBase).substr(8) + "[files_1]\n0 = src/a.txt\n");
  const BuildOutcome full = build(dir / "p.kvp", dir / "out");
  EXPECT_NE(full.diagnostics.find("more than 2000-byte disks hold"), std::string::npos) << full.diagnostics;
  EXPECT_FALSE(fs::exists(dir / "out"));
}

TEST(MediumBuildErrors, UnknownKeysAreWarningsAndTheBuildGoesOn) {
  TempDir dir;
  writeText(dir / "a.txt", "a");
  writeText(dir / "p.kvp", std::string(kBase) + "[files_1]\n0 = a.txt\n[software]\nnewer_key = 1\n[vendor]\nx = y\n");
  const BuildOutcome b = build(dir / "p.kvp", dir / "out");
  ASSERT_TRUE(b.ok) << b.diagnostics;
  EXPECT_NE(b.diagnostics.find("p.kvp:13: warning: [software] newer_key"), std::string::npos) << b.diagnostics;
  EXPECT_NE(b.diagnostics.find("p.kvp:14: warning: [vendor]"), std::string::npos) << b.diagnostics;
  EXPECT_EQ(scriptValue(b.summary.mediumDir, "software", "newer_key"), "1");
  EXPECT_EQ(scriptValue(b.summary.mediumDir, "vendor", "x"), "y");
}

} // namespace
} // namespace kalvora::media::test
