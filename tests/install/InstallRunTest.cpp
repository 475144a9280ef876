#include "install/InstallRun.h"

#include <gtest/gtest.h>

#include "InstallFixture.h"

namespace kalvora {
namespace {

using testing::InstallFixture;

const char* const kScript = "[kalvora]\nversion=220\nversionname=2.2\n"
                            "[software]\nname=Tool\nmedium=1\nreadme=readme.txt\nreadmedir=\\doc\n"
                            "[uninst]\nask=1\n[language]\nl11=Abbrechen\nl57=Fertig\n"
                            "[directories]\ntotal=2\nd1_1=\\bin\\\nd1_2=%SystemRoot%\\system\\\nd2_1=\\extra\\\n"
                            "[Option_1]\nf1=a.txt\nz1=5\nf2=b.dll\nd2=1\np2=5\nz2=3\nf3=c.sys\nd3=2\np3=8\nz3=2\n"
                            "[Option_2]\nf1=x.txt\nd1=1\n";

struct FullRun : InstallFixture {
  explicit FullRun(const std::string& script = kScript) : InstallFixture(script) {
    platform.putFile("D:\\zdata_01.dsk", "AAAAABBBCC");
    platform.putFile("D:\\readme.txt", "new readme");
    platform.putFile("D:\\uninst.ex_", "UNINSTALLER");
    platform.putFile("D:\\zsys.re_", "REGEDIT4");
    platform.putFile("C:\\App\\doc\\readme.txt", "old readme");
  }
};

TEST(InstallRun, InstallsRecordsAndEndsOnce) {
  FullRun f;
  f.activate();
  EXPECT_EQ(f.file("C:\\App\\a.txt"), "AAAAA");
  EXPECT_EQ(f.file("C:\\App\\bin\\b.dll"), "BBB");
  EXPECT_EQ(f.file("C:\\WINDOWS\\system\\c.sys"), "CC");
  EXPECT_FALSE(f.platform.directoryExists("C:\\App\\extra")); // option 2 not chosen
  EXPECT_EQ(f.file("C:\\App\\doc\\readme.txt"), "new readme");
  EXPECT_EQ(f.state.ReadmePath, "C:\\App\\doc\\readme.txt");
  EXPECT_EQ(f.file("C:\\WINDOWS\\unkalvora.exe"), "UNINSTALLER");
  EXPECT_EQ(f.platform.readRegistryString(RegistryRoot::LocalMachine, "SOFTWARE\\VELM\\kalvora", "uninstall"), "220");
  EXPECT_EQ(f.platform.startedPrograms(), std::vector<std::string>{"regedit /iD:\\zsys.re_"});

  EXPECT_EQ(f.log("readme", "file"), "C:\\App\\doc\\readme.txt");
  EXPECT_EQ(f.log("important!", "i1"), "This file is needed to uninstall Tool");
  EXPECT_EQ(f.log("uninstall", "version"), "220");
  EXPECT_EQ(f.log("uninstall", "versionname"), "2.2");
  EXPECT_EQ(f.log("uninstall", "directory"), "C:\\App");
  EXPECT_EQ(f.log("uninstall", "ask"), "1");
  EXPECT_EQ(f.log("language", "l11"), "Abbrechen");
  EXPECT_EQ(f.log("language", "l57"), "Fertig");
  EXPECT_EQ(f.log("directories", "d1"), "\\bin\\");
  EXPECT_EQ(f.log("directories", "total"), "1");
  EXPECT_EQ(f.log("files", "f1"), "\\a.txt");
  EXPECT_EQ(f.log("files", "f2"), "\\bin\\b.dll");
  EXPECT_EQ(f.log("files", "f3"), "<none>"); // numbered under [systemroot]
  EXPECT_EQ(f.log("files", "total"), "3");
  EXPECT_EQ(f.log("systemroot", "f1"), "C:\\WINDOWS\\system\\c.sys");
  EXPECT_EQ(f.log("systemroot", "total"), "1");

  EXPECT_EQ(f.stages.calls, (std::vector<std::string>{"associations", "group", "system", "completion"}));
  EXPECT_EQ(f.view.top, 517); // 768 * 2 / 3 + 5
  EXPECT_EQ(f.view.caption, "");
  EXPECT_TRUE(f.view.labelHidden);
  EXPECT_TRUE(f.view.exitDisabled);
  EXPECT_EQ(f.view.item.back(), 100);
  EXPECT_EQ(f.view.run.back(), 100);
  EXPECT_TRUE(f.state.RunStarted);

  f.platform.deleteFile("C:\\App\\a.txt");
  f.activate();
  EXPECT_EQ(f.stages.calls.size(), 4u);
  EXPECT_FALSE(f.platform.fileExists("C:\\App\\a.txt"));
}

TEST(InstallRun, WithoutLogNoUninstallerButTheRegistryImport) {
  std::string script = kScript;
  script.replace(script.find("medium=1"), 8, "medium=1\nuniyes=0");
  FullRun f(script);
  f.activate();
  EXPECT_EQ(f.file("C:\\App\\a.txt"), "AAAAA");
  EXPECT_FALSE(f.platform.fileExists("C:\\App\\setup\\uninst.log"));
  EXPECT_FALSE(f.platform.fileExists("C:\\WINDOWS\\unkalvora.exe"));
  EXPECT_FALSE(f.platform.readRegistryString(RegistryRoot::LocalMachine, "SOFTWARE\\VELM\\kalvora", "uninstall"));
  EXPECT_EQ(f.platform.startedPrograms().size(), 1u);
  EXPECT_EQ(f.stages.calls.back(), "completion");
  // A cancelled run without a log starts no uninstaller (an earlier one would act on its own log).
  f.state.RunCancelled = true;
  f.runner.FormDestroy();
  EXPECT_TRUE(f.platform.hiddenPrograms().empty());
}

TEST(InstallRun, MediumAbsentOrRunFromMediumInstallsNoFiles) {
  std::string script = kScript;
  script.replace(script.find("medium=1"), 8, "x=1");
  FullRun absent(script);
  absent.activate();
  EXPECT_TRUE(absent.platform.directoryExists("C:\\App\\bin"));
  EXPECT_FALSE(absent.platform.fileExists("C:\\App\\a.txt"));
  EXPECT_EQ(absent.log("files", "total"), "0");
  EXPECT_EQ(absent.log("systemroot", "total"), "0");
  EXPECT_EQ(absent.stages.calls.front(), "associations");

  FullRun medium;
  medium.state.RunFromMedium = true;
  medium.activate();
  EXPECT_FALSE(medium.platform.directoryExists("C:\\App\\bin"));
  EXPECT_FALSE(medium.platform.fileExists("C:\\App\\a.txt"));
  EXPECT_EQ(medium.log("files", "total"), "0");
  EXPECT_EQ(medium.log("systemroot", "total"), "<none>");
  EXPECT_EQ(medium.stages.calls, (std::vector<std::string>{"group from medium", "system", "completion"}));
}

TEST(InstallRun, ReadmeAbsentAndScriptCopyRefused) {
  FullRun f("[software]\nreadme=\n");
  f.platform.failCreateOf("C:\\App\\setup\\setup.tmp");
  f.platform.failCreateOf("C:\\App\\setup\\uninst.log");
  EXPECT_THROW(f.activate(), EIniFileException); // the first log write
  EXPECT_EQ(f.state.ReadmePath, "C:\\App\\");
  EXPECT_EQ(f.view.caption, "_");
  EXPECT_TRUE(f.stages.calls.empty());
}

TEST(InstallRun, UninstallerReplacedUnlessMarkerIsCurrent) {
  struct Case {
    const char* marker;
    bool present, replaced;
  } cases[] = {{"220", true, false}, {"0xDC", true, false}, {"219", true, true},
               {"abc", true, true},  {nullptr, true, true}, {"221", false, true}};
  for (const Case& c : cases) {
    FullRun f;
    if (c.present) f.platform.putFile("C:\\WINDOWS\\unkalvora.exe", "OLD");
    if (c.marker)
      f.platform.putRegistryString(RegistryRoot::LocalMachine, "SOFTWARE\\VELM\\kalvora", "uninstall", c.marker);
    f.activate();
    EXPECT_EQ(f.file("C:\\WINDOWS\\unkalvora.exe"), c.replaced ? "UNINSTALLER" : "OLD") << (c.marker ? c.marker : "-");
  }
}

TEST(InstallRun, CompressedRunExpandsFilesAndUninstaller) {
  const std::string content(4096, 'q');
  const std::string chunk = testing::archiveOf("a.txt", content);
  InstallFixture f("[software]\nmedium=1\n[Option_1]\nf1=a.txt\nz1=" + std::to_string(chunk.size()) + "\n");
  f.state.CompressionMode = 1;
  f.state.ProgressTotal = 1000;
  f.platform.putFile("D:\\zdata_01.dsk", chunk);
  f.platform.putFile("D:\\uninst.ex_", testing::archiveOf("uninst32.ex_", "UNINSTALLER"));
  f.activate();
  EXPECT_EQ(f.file("C:\\App\\a.txt"), content);
  EXPECT_EQ(f.file("C:\\App\\setup\\compress.tmp"), chunk); // staged, and left for the cancel dialog to delete
  EXPECT_EQ(f.file("C:\\WINDOWS\\unkalvora.exe"), "UNINSTALLER");
  ASSERT_GE(f.view.run.size(), 3u);
  for (std::size_t i = 0; i + 2 < f.view.run.size(); ++i)
    EXPECT_LE(f.view.run[i], 97);
  EXPECT_EQ(f.view.run[f.view.run.size() - 2], 98);
}

TEST(InstallRun, CompressedChunkWithoutTheNamedMemberIsAnError) {
  const std::string chunk = testing::archiveOf("other.txt", "x");
  InstallFixture f("[software]\nmedium=1\n[Option_1]\nf1=a.txt\nz1=" + std::to_string(chunk.size()) + "\n");
  f.state.CompressionMode = 1;
  f.platform.putFile("D:\\zdata_01.dsk", chunk);
  EXPECT_THROW(f.activate(), EFCreateError);
}

// The log that a stopped run leaves lists every file the run may have written.
TEST(InstallRun, StopAtAnyCheckLeavesALogCoveringEveryWrittenFile) {
  const std::string big(5000, 'B');
  const char* script = "[software]\nmedium=1\n[directories]\ntotal=1\nd1_1=\\bin\\\n"
                       "[Option_1]\nf1=a.txt\nz1=5000\nf2=b.txt\nd2=1\nz2=5000\n";
  int checks = 0;
  {
    InstallFixture all(script);
    all.platform.putFile("D:\\zdata_01.dsk", big);
    all.activate();
    checks = all.platform.messagesProcessed();
  }
  ASSERT_GT(checks, 8);
  for (int stopAt = 1; stopAt <= checks; ++stopAt) {
    InstallFixture f(script);
    f.platform.putFile("D:\\zdata_01.dsk", big);
    f.platform.quitAt = stopAt;
    f.activate();
    // Every delivery after step 1 is a stop check; the last one follows the associations.
    EXPECT_EQ(f.stages.calls, std::vector<std::string>(stopAt == checks ? 1 : 0, "associations")) << stopAt;
    if (f.platform.fileExists("C:\\App\\a.txt")) {
      EXPECT_EQ(f.log("files", "f1"), "\\a.txt") << stopAt;
    }
    if (f.platform.fileExists("C:\\App\\bin\\b.txt")) {
      EXPECT_EQ(f.log("files", "f2"), "\\bin\\b.txt") << stopAt;
    }
    if (f.platform.directoryExists("C:\\App\\bin")) {
      EXPECT_EQ(f.log("directories", "d1"), "\\bin\\") << stopAt;
    }
    f.state.RunCancelled = true;
    f.runner.FormDestroy();
    ASSERT_EQ(f.platform.hiddenPrograms().size(), 1u);
    EXPECT_EQ(f.platform.hiddenPrograms()[0], "C:\\WINDOWS\\unkalvora.exe C:\\App\\setup\\uninst.log /silent");
    EXPECT_EQ(f.log("files", "total"), std::to_string(f.run().FileCount + 1));
  }
}

TEST(InstallRun, StopAfterAnEntryLeavesTotalsAndPartialFileAfterABlock) {
  InstallFixture f("[software]\nmedium=1\n[Option_1]\nf1=a.txt\nz1=5000\nf2=b.txt\n");
  f.platform.putFile("D:\\zdata_01.dsk", std::string(5000, 'x'));
  f.platform.quitAt = 4; // step 1, the directory rows (2), then the first block
  f.activate();
  EXPECT_EQ(f.file("C:\\App\\a.txt").size(), 2048u);
  EXPECT_EQ(f.log("files", "total"), "1");
  EXPECT_EQ(f.log("systemroot", "total"), "<none>");

  InstallFixture g("[software]\nmedium=1\n[Option_1]\nf1=a.txt\nz1=5\nf2=b.txt\n");
  g.platform.putFile("D:\\zdata_01.dsk", std::string(5000, 'x'));
  g.platform.quitAt = 5; // the check after the first entry
  g.activate();
  EXPECT_EQ(g.file("C:\\App\\a.txt"), "xxxxx");
  EXPECT_FALSE(g.platform.fileExists("C:\\App\\b.txt"));
  EXPECT_EQ(g.log("files", "total"), "1");
  EXPECT_EQ(g.log("systemroot", "total"), "0");
}

} // namespace
} // namespace kalvora
