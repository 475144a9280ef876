// Reading project files: syntax, the build sections, the setup.inf keys and
// the faults each names by its line.
#include <gtest/gtest.h>

#include "media/AnsiText.h"
#include "media/Project.h"

namespace kalvora::media {
namespace {

struct Parsed {
  Project project;
  Diagnostics diag;
  std::string all() const {
    std::string s;
    for (const auto& d : diag.all())
      s += d.text() + "\n";
    return s;
  }
};

Parsed parse(const std::string& text) {
  Parsed p;
  p.project = parseProject(text, "p.kvp", "", p.diag);
  return p;
}

TEST(ProjectFile, BuildSectionsAndSourceRules) {
  const Parsed p = parse("; comment\n[build]\nmedium = disks\nmedium_size = 5000\ncompression = RLE\n"
                         "language = german\nuninstaller = u.exe\n[pictures]\nback = a/tile.bmp\n"
                         "[files_2]\n0 = a.txt\n3 = lib/*.dll\n0 = more\\b.txt\n");
  EXPECT_FALSE(p.diag.hasErrors()) << p.all();
  EXPECT_EQ(p.project.medium, MediumKind::Disks);
  EXPECT_EQ(p.project.mediumSize, 5000);
  EXPECT_EQ(p.project.compression, Compression::Rle);
  EXPECT_EQ(p.project.language, TextLanguage::German);
  ASSERT_TRUE(p.project.pictures[kBackPicture]);
  EXPECT_EQ(p.project.pictures[kBackPicture]->line, 9);
  ASSERT_EQ(p.project.sources.size(), 3u);
  EXPECT_EQ(p.project.sources[1].option, 2);
  EXPECT_EQ(p.project.sources[1].directory, 3);
  EXPECT_EQ(p.project.sources[2].pattern, "more\\b.txt");
  EXPECT_EQ(p.project.sources[2].line, 13);
}

TEST(ProjectFile, FaultsNameTheirLines) {
  const Parsed p = parse("[build]\nmedium = floppy-2.88\ncolour = red\n[software]\nname = x\nthis line has no equals\n"
                         "[files_1]\nx = a.txt\n0 =\n");
  const std::string all = p.all();
  EXPECT_NE(all.find("p.kvp:2: error: unknown medium"), std::string::npos) << all;
  EXPECT_NE(all.find("p.kvp:3: error: unknown key \"colour\""), std::string::npos) << all;
  EXPECT_NE(all.find("p.kvp:6: error: expected \"key=value\""), std::string::npos) << all;
  EXPECT_NE(all.find("p.kvp:8: error:"), std::string::npos) << all;
  EXPECT_NE(all.find("p.kvp:9: error: a source path is missing"), std::string::npos) << all;
}

TEST(ProjectFile, SizedMediaNeedTheirSizeAndOthersRefuseIt) {
  EXPECT_NE(parse("[build]\nmedium = directory\n").all().find("needs medium_size"), std::string::npos);
  EXPECT_NE(parse("[build]\nmedium = cd\nmedium_size = 10\n").all().find("applies only"), std::string::npos);
  EXPECT_NE(parse("[build]\nmedium = disks\nmedium_size = 2147483648\n").all().find("from 1 to 2147483647"),
            std::string::npos);
}

TEST(ProjectFile, UnknownSetupKeysAndSectionsAreWarningsAndKept) {
  const Parsed p = parse("[software]\nname = x\nfuture_key = 1\n[newsection]\na = b\n[Main]\nl9 = y\n");
  EXPECT_FALSE(p.diag.hasErrors()) << p.all();
  const std::string all = p.all();
  EXPECT_NE(all.find("p.kvp:3: warning: [software] future_key"), std::string::npos) << all;
  EXPECT_NE(all.find("p.kvp:4: warning: [newsection]"), std::string::npos) << all;
  EXPECT_NE(all.find("p.kvp:7: warning: [main] l9"), std::string::npos) << all;
  ASSERT_NE(p.project.section("newsection"), nullptr);
  EXPECT_FALSE(p.project.section("newsection")->known);
  ASSERT_NE(p.project.entry("software", "FUTURE_KEY"), nullptr);
}

TEST(ProjectFile, AnEighthOptionIsAnErrorInEveryForm) {
  for (const char* text : {"[files_8]\n0 = a\n", "[software]\nOpt8_name = x\n", "[Option_8]\nf1 = a\n",
                           "[directories]\nd8_1 = \\x\\\n", "[software]\nOpt0_space = 1\n"}) {
    const Parsed p = parse(text);
    EXPECT_TRUE(p.diag.hasErrors()) << text;
    EXPECT_NE(p.all().find("options 1 to 7"), std::string::npos) << p.all();
  }
}

TEST(ProjectFile, RepeatedSectionsMergeButARepeatedKeyIsAnError) {
  const Parsed p = parse("[software]\nname = x\n[main]\nl1 = a\n[SOFTWARE]\nprggrp = g\nName = y\n");
  EXPECT_NE(p.all().find("p.kvp:7: error: [software] Name is written twice (first on line 2)"), std::string::npos)
      << p.all();
  EXPECT_EQ(p.project.entry("software", "prggrp")->value, "g");
  EXPECT_EQ(p.project.entry("software", "name")->value, "x");
}

TEST(ProjectFile, TextsBecomeWindows1252AndLongTextsAreErrors) {
  const Parsed p =
      parse("[language]\nl17 = Weiter \xE2\x82\xAC \xC3\xBC\nl18 = \xCE\xA9mega\nl19 = " + std::string(1024, 'x') +
            "\nl20 = " + std::string(1023, 'y') + "\n");
  EXPECT_EQ(p.project.entry("language", "l17")->value, "Weiter \x80 \xFC");
  const std::string all = p.all();
  EXPECT_NE(all.find("p.kvp:3: error: the value of l18 has a character"), std::string::npos) << all;
  EXPECT_NE(all.find("p.kvp:4: error: the value of l19 is 1024 characters long"), std::string::npos) << all;
  EXPECT_EQ(all.find("p.kvp:5"), std::string::npos) << all;
}

TEST(ProjectFile, AProjectInWindows1252IsTakenAsItIs) {
  const Parsed p = parse("[language]\nl12 = < &Zur\xFC"
                         "ck\n");
  EXPECT_FALSE(p.diag.hasErrors()) << p.all();
  EXPECT_EQ(p.project.entry("language", "l12")->value, "< &Zur\xFC"
                                                       "ck");
}

TEST(AnsiText, ConvertsWhatWindows1252HoldsAndNothingElse) {
  EXPECT_EQ(utf8ToAnsi("\xE2\x82\xAC\xC3\xA4\xE2\x80\x94"), std::string("\x80\xE4\x97"));
  EXPECT_FALSE(utf8ToAnsi("\xE4\xB8\xAD"));  // a CJK character
  EXPECT_FALSE(utf8ToAnsi("\xC3"));          // cut sequence
  EXPECT_FALSE(utf8ToAnsi("\xC0\xAF"));      // overlong "/"
  EXPECT_FALSE(isValidUtf8("\xED\xA0\x80")); // a surrogate
  EXPECT_EQ(ansiToUtf8("\x80\xFC"), "\xE2\x82\xAC\xC3\xBC");
}

TEST(AnsiText, FileNamesWindowsRefuses) {
  for (const char* bad : {"a:b.txt", "a?b", "x*", "con", "CON.txt", "Lpt1.dat", "nul.", "dot.", "blank ", " lead",
                          "[leer]", "'quoted'", "tab\there", ""})
    EXPECT_TRUE(fileNameFault(bad)) << bad;
  for (const char* good : {"demo.exe", "console.txt", "com10", "[leer].txt", "Read me.txt", "a'b",
                           "\xFC"
                           "ber.txt"})
    EXPECT_FALSE(fileNameFault(good)) << good;
  EXPECT_TRUE(fileNameFault(std::string(256, 'a')));
}

} // namespace
} // namespace kalvora::media
