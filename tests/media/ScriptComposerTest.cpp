// setup.inf as the builder writes it, read back with the project's script reader.
#include <gtest/gtest.h>

#include "media/ScriptComposer.h"
#include "media/ScriptKeys.h"
#include "platform/MemoryPlatform.h"
#include "script/SetupScript.h"

namespace kalvora::media {
namespace {

struct Composed {
  Diagnostics diag;
  SetupInf inf;
  MemoryPlatform fs;
  std::unique_ptr<SetupScript> script;

  std::string get(const std::string& section, const std::string& key) const {
    return script->ReadString(section, key, "<none>");
  }
  std::string errors() const {
    std::string s;
    for (const auto& d : diag.all())
      if (d.level == Diagnostic::Level::Error) s += d.text() + "\n";
    return s;
  }
};

FileSelection threeFiles(const Project& project, Diagnostics& diag) {
  FileSelection sel;
  sel.rows = writtenDirectoryRows(project, diag);
  sel.rows.push_back({1, 2, "\\data\\sub\\", 0, true});
  sel.files = {{1, 0, "demo.exe", "demo.exe", 1000, 0, 1},
               {1, 1, "data.bin", "data.bin", 500, 0, 1},
               {2, 0, "help.txt", "help.txt", 300, 0, 1}};
  return sel;
}

MediumFacts facts() {
  MediumFacts f;
  f.compression = Compression::Lzh;
  f.volumeCount = 2;
  // data.bin went in as a stored member, which no expansion checks: it gets a c<j>.
  f.placements = {{1, 0, 400, 0, true}, {1, 400, 600, 0x1234ABCD, false}, {2, 0, 100, 0, true}};
  f.readmeName = "readme.txt";
  f.readmeSize = 50;
  f.largestStaged = 600;
  f.pictureNames[kBackPicture] = "tile.bm_";
  return f;
}

void compose(Composed& c, const std::string& projectText, const MediumFacts& f = facts()) {
  const Project project = parseProject(projectText, "p.kvp", "", c.diag);
  const FileSelection sel = threeFiles(project, c.diag);
  c.inf = composeSetupInf(project, sel, f, c.diag);
  c.fs.createDirectory("C:\\m");
  c.fs.putFile("C:\\m\\setup.inf", c.inf.text);
  c.script = std::make_unique<SetupScript>("C:\\m\\setup.inf", c.fs);
}

const char* const kProject = "[kalvora]\nversionname = 2.1\n[software]\nname = Demo\n[directories]\nd1_1 = \\data\\\n"
                             "[prggrp]\ntotal = 2\nf1 = data.bin\nf2 = 1\n[language]\nl17 = Onward\n";

TEST(SetupInfComposer, ComputedValuesReadBackWithTheScriptReader) {
  Composed c;
  compose(c, kProject);
  EXPECT_EQ(c.errors(), "");
  EXPECT_EQ(c.get("kalvora", "version"), "220");
  EXPECT_EQ(c.get("kalvora", "versionname"), "2.1");
  EXPECT_EQ(c.get("software", "medium"), "2");
  EXPECT_EQ(c.get("software", "readme"), "readme.txt");
  EXPECT_EQ(c.get("software", "Opt1_space"), "1500");
  EXPECT_EQ(c.get("software", "Opt1_cs"), "1000");
  EXPECT_EQ(c.get("software", "Opt2_space"), "300");
  EXPECT_EQ(c.get("software", "Opt2_cs"), "100");
  EXPECT_EQ(c.get("software", "Opt3_space"), "<none>");
  EXPECT_EQ(c.get("main", "back"), "tile.bm_");
  EXPECT_EQ(c.get("compression", "mode"), "1");
  EXPECT_EQ(c.get("directories", "total"), "2");
  EXPECT_EQ(c.get("directories", "d1_2"), "\\data\\sub\\");
  EXPECT_EQ(c.get("Option_1", "s2"), "01");
  EXPECT_EQ(c.get("Option_1", "p2"), "400");
  EXPECT_EQ(c.get("Option_1", "z2"), "600");
  EXPECT_EQ(c.get("Option_1", "d2"), "1");
  EXPECT_EQ(c.get("Option_1", "f3"), "<none>");
  EXPECT_EQ(c.get("Option_2", "f1"), "help.txt");
  EXPECT_EQ(c.get("Option_2", "s1"), "02");
  EXPECT_EQ(c.get("prggrp", "f1"), "2"); // data.bin is file 2 of option 1
  EXPECT_EQ(c.get("prggrp", "f2"), "1");
}

TEST(SetupInfComposer, CompressionSizeCountsTheLargestChunkReadmeAndSetupInfItself) {
  Composed c;
  compose(c, kProject);
  EXPECT_EQ(c.inf.compressionSize, 600 + 50 + static_cast<std::int64_t>(c.inf.text.size()));
  EXPECT_EQ(c.get("compression", "size"), std::to_string(c.inf.compressionSize));
  MediumFacts plain = facts();
  plain.compression = Compression::None;
  Composed d;
  compose(d, kProject, plain);
  EXPECT_EQ(d.get("compression", "mode"), "0");
  EXPECT_EQ(d.get("compression", "size"), "0");
}

TEST(SetupInfComposer, PlainLinesWithCrLfAndEntriesInTheOrderTheRunReadsThem) {
  Composed c;
  compose(c, kProject);
  const std::string& t = c.inf.text;
  EXPECT_NE(t.find("[Option_1]\r\nf1=demo.exe\r\nd1=0\r\ns1=01\r\np1=0\r\nz1=400\r\nf2=data.bin\r\n"),
            std::string::npos)
      << t;
  EXPECT_NE(t.find("z2=600\r\nc2=1234ABCD\r\n"), std::string::npos) << t;
  EXPECT_LT(t.find("[kalvora]"), t.find("[software]"));
  EXPECT_LT(t.find("[directories]"), t.find("[Option_1]"));
  for (std::size_t at = 0; at < t.size();) {
    const auto end = t.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "a line without CRLF at " << at;
    const std::string line = t.substr(at, end - at);
    EXPECT_TRUE(line.empty() ||
                (line[0] != ' ' && line.find(" =") == std::string::npos && line.find("= ") == std::string::npos))
        << line;
    EXPECT_EQ(line.find('\n'), std::string::npos);
    at = end + 2;
  }
}

TEST(SetupInfComposer, BuiltInTextsForTheProductWithTheProjectsOwnTextsInstead) {
  Composed c;
  compose(c, kProject);
  EXPECT_EQ(c.get("language", "l17"), "Onward");
  EXPECT_EQ(c.get("language", "l11"), "Cancel");
  EXPECT_NE(c.get("language", "l36").find("Demo"), std::string::npos);
  // The volume prompt appends the quoted disk number: its blank must survive.
  EXPECT_EQ(c.get("language", "l20"), "Please insert disk ");
  EXPECT_EQ(c.get("language", "l62"), "<none>");
  for (int k = 1; k <= 66; ++k) {
    if (k == 62) continue;
    EXPECT_NE(c.get("language", numberedKey("l", k)), "<none>") << k;
  }
  // The confirming button of the cancel dialog decides the other button's language.
  EXPECT_EQ(c.get("language", "l15").find_first_of("jJ"), std::string::npos);

  Composed g;
  compose(g, std::string(kProject) + "[build]\nlanguage = german\n");
  EXPECT_EQ(g.get("language", "l12"), "< &Zur\xFC"
                                      "ck");
  EXPECT_NE(g.get("language", "l15").find('J'), std::string::npos);
  EXPECT_EQ(g.get("language", "l17"), "Onward");
}

TEST(SetupInfComposer, WrittenComputedKeysMustAgree) {
  Composed c;
  compose(c, std::string(kProject) + "[kalvora]\nversion = 0xDC\n[software]\nOpt1_space = 5\nOpt2_cs = 100\n"
                                     "[Option_2]\nf1 = help.txt\nf2 = extra.txt\n[compression]\nmode = 1\n");
  const std::string e = c.errors();
  EXPECT_EQ(e.find("version"), std::string::npos) << e;
  EXPECT_EQ(e.find("Opt2_cs"), std::string::npos) << e;
  EXPECT_NE(e.find("p.kvp:16: error: Opt1_space is computed as 1500; the project writes 5"), std::string::npos) << e;
  EXPECT_NE(e.find("p.kvp:20: error: f2 is computed from [files_2]"), std::string::npos) << e;
  EXPECT_EQ(e.find("p.kvp:19"), std::string::npos) << e;
  EXPECT_EQ(e.find("mode"), std::string::npos) << e;
}

TEST(SetupInfComposer, WidestFactsNeverGiveAShorterScript) {
  Composed real, widest;
  compose(real, kProject);
  Diagnostics scratch;
  const Project project = parseProject(kProject, "p.kvp", "", scratch);
  const FileSelection sel = threeFiles(project, scratch);
  const SetupInf wide = composeSetupInf(project, sel, widestFacts(sel, facts()), scratch);
  EXPECT_GE(wide.text.size(), real.inf.text.size());
}

} // namespace
} // namespace kalvora::media
