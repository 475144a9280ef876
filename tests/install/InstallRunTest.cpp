#include "install/InstallRun.h"

#include <gtest/gtest.h>

#include <cstdlib>

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
  EXPECT_EQ(f.activate(), "");
  EXPECT_EQ(f.file("C:\\App\\a.txt"), "AAAAA");
  EXPECT_EQ(f.file("C:\\App\\bin\\b.dll"), "BBB");
  EXPECT_EQ(f.file("C:\\WINDOWS\\system\\c.sys"), "CC");
  EXPECT_FALSE(f.platform.directoryExists("C:\\App\\extra")); // option 2 not chosen
  EXPECT_EQ(f.file("C:\\App\\doc\\readme.txt"), "new readme");
  EXPECT_EQ(f.state.Run.ReadmePath, "C:\\App\\doc\\readme.txt");
  EXPECT_EQ(f.file("C:\\WINDOWS\\unkalvora.exe"), "UNINSTALLER");
  EXPECT_EQ(f.platform.readRegistryString(RegistryRoot::LocalMachine, "SOFTWARE\\VELM\\kalvora", "uninstall"), "220");
  EXPECT_EQ(f.platform.startedPrograms(), std::vector<std::string>{"regedit /iD:\\zsys.re_"});

  EXPECT_EQ(f.log("readme", "file"), "C:\\App\\doc\\readme.txt");
  EXPECT_EQ(f.log("important!", "i1"), "This file is needed to uninstall Tool");
  EXPECT_EQ(f.log("uninstall", "version"), "220");
  EXPECT_EQ(f.log("uninstall", "versionname"), "2.2");
  EXPECT_EQ(f.log("uninstall", "directory"), "C:\\App");
  EXPECT_EQ(f.log("uninstall", "newroot"), "C:\\App\\setup"); // the target held the old readme
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
  EXPECT_TRUE(f.state.Run.Started);
  EXPECT_EQ(f.platform.faultRollback(), ""); // complete: a fault undoes nothing

  f.platform.deleteFile("C:\\App\\a.txt");
  EXPECT_EQ(f.activate(), "");
  EXPECT_EQ(f.stages.calls.size(), 4u);
  EXPECT_FALSE(f.platform.fileExists("C:\\App\\a.txt"));
}

TEST(InstallRun, WithoutLogNoUninstallerButTheRegistryImport) {
  std::string script = kScript;
  script.replace(script.find("medium=1"), 8, "medium=1\nuniyes=0");
  FullRun f(script);
  EXPECT_EQ(f.activate(), "");
  EXPECT_EQ(f.file("C:\\App\\a.txt"), "AAAAA");
  EXPECT_FALSE(f.platform.fileExists("C:\\App\\setup\\uninst.log"));
  EXPECT_FALSE(f.platform.fileExists("C:\\WINDOWS\\unkalvora.exe"));
  EXPECT_FALSE(f.platform.readRegistryString(RegistryRoot::LocalMachine, "SOFTWARE\\VELM\\kalvora", "uninstall"));
  EXPECT_EQ(f.platform.startedPrograms().size(), 1u);
  EXPECT_EQ(f.stages.calls.back(), "completion");
  // A cancelled run without a log starts no uninstaller (an earlier one would act on its own log).
  f.state.Run.Cancelled = true;
  f.runner.FormDestroy();
  EXPECT_TRUE(f.platform.hiddenPrograms().empty());
}

// The registry editor gets the import file as one argument wherever the medium is.
TEST(InstallRun, RegistryImportOfAMediumPathWithBlanksIsQuoted) {
  const struct {
    const char* source;
    const char* commandLine;
  } cases[] = {
      {"D:\\", "regedit /iD:\\zsys.re_"},
      {"D:\\My Disk\\", "regedit /i\"D:\\My Disk\\zsys.re_\""},
      {"\\\\server\\cd one\\", "regedit /i\"\\\\server\\cd one\\zsys.re_\""},
  };
  std::string script = kScript; // no files: the data volumes stay on D:
  script.replace(script.find("medium=1"), 8, "x=1");
  for (const auto& c : cases) {
    FullRun f(script);
    f.state.Setup.SourceDir = c.source;
    f.platform.putFile(std::string(c.source) + "zsys.re_", "REGEDIT4");
    f.platform.putFile(std::string(c.source) + "setup.inf", *f.platform.fileContent("D:\\setup.inf"));
    EXPECT_EQ(f.activate(), "");
    EXPECT_EQ(f.platform.startedPrograms(), std::vector<std::string>{c.commandLine}) << c.source;
  }
}

TEST(InstallRun, MediumAbsentOrRunFromMediumInstallsNoFiles) {
  std::string script = kScript;
  script.replace(script.find("medium=1"), 8, "x=1");
  FullRun absent(script);
  EXPECT_EQ(absent.activate(), "");
  EXPECT_TRUE(absent.platform.directoryExists("C:\\App\\bin"));
  EXPECT_FALSE(absent.platform.fileExists("C:\\App\\a.txt"));
  EXPECT_EQ(absent.log("files", "total"), "0");
  EXPECT_EQ(absent.log("systemroot", "total"), "0");
  EXPECT_EQ(absent.stages.calls.front(), "associations");

  FullRun medium;
  medium.state.Choices.RunFromMedium = true;
  EXPECT_EQ(medium.activate(), "");
  EXPECT_FALSE(medium.platform.directoryExists("C:\\App\\bin"));
  EXPECT_FALSE(medium.platform.fileExists("C:\\App\\a.txt"));
  EXPECT_EQ(medium.log("files", "total"), "0");
  EXPECT_EQ(medium.log("systemroot", "total"), "<none>");
  EXPECT_EQ(medium.stages.calls, (std::vector<std::string>{"group from medium", "system", "completion"}));
}

TEST(InstallRun, ReadmeAbsentAndScriptCopyRefused) {
  FullRun f("[software]\nreadme=\n");
  f.platform.failCreateOf("C:\\App\\setup\\setup.tmp");
  // Without the copy the run would read every key as its default: it ends there.
  EXPECT_STREQ(f.activate().c_str(), EFCreateError("C:\\App\\setup\\setup.tmp").what());
  EXPECT_TRUE(f.stages.calls.empty());
  FullRun g("[software]\nreadme=\n");
  g.platform.failCreateOf("C:\\App\\setup\\uninst.new");
  EXPECT_STREQ(g.activate().c_str(), EIniFileException("C:\\App\\setup\\uninst.log").what()); // the first log write
  EXPECT_EQ(g.state.Run.ReadmePath, "C:\\App\\");
  EXPECT_EQ(g.view.caption, "_");
  EXPECT_TRUE(g.stages.calls.empty());
}

TEST(InstallRun, UninstallerReplacedUnlessMarkerIsCurrent) {
  // Without a packed uninstaller on the medium nothing is installed, and the
  // marker, which every product sharing the uninstaller trusts, is not written.
  struct Case {
    const char* marker;
    bool present, onMedium;
    const char *installed, *markerAfter;
  } cases[] = {{"220", true, true, "OLD", "220"},           {"0xDC", true, true, "OLD", "0xDC"},
               {"219", true, true, "UNINSTALLER", "220"},   {"abc", true, true, "UNINSTALLER", "220"},
               {nullptr, true, true, "UNINSTALLER", "220"}, {"221", false, true, "UNINSTALLER", "220"},
               {nullptr, false, false, "<none>", nullptr},  {"219", true, false, "OLD", "219"}};
  for (const Case& c : cases) {
    FullRun f;
    if (!c.onMedium) f.platform.deleteFile("D:\\uninst.ex_");
    if (c.present) f.platform.putFile("C:\\WINDOWS\\unkalvora.exe", "OLD");
    if (c.marker)
      f.platform.putRegistryString(RegistryRoot::LocalMachine, "SOFTWARE\\VELM\\kalvora", "uninstall", c.marker);
    EXPECT_EQ(f.activate(), "");
    const std::string name = c.marker ? c.marker : "-";
    EXPECT_EQ(f.file("C:\\WINDOWS\\unkalvora.exe"), c.installed) << name;
    const auto marker =
        f.platform.readRegistryString(RegistryRoot::LocalMachine, "SOFTWARE\\VELM\\kalvora", "uninstall");
    EXPECT_EQ(marker.value_or("<none>"), c.markerAfter ? c.markerAfter : "<none>") << name;
  }
}

TEST(InstallRun, CompressedRunExpandsFilesAndUninstaller) {
  const std::string content(4096, 'q');
  const std::string chunk = testing::archiveOf("a.txt", content);
  InstallFixture f("[software]\nmedium=1\n[Option_1]\nf1=a.txt\nz1=" + std::to_string(chunk.size()) + "\n");
  f.state.Setup.CompressionMode = 1;
  f.state.Choices.ProgressTotal = 1000;
  f.platform.putFile("D:\\zdata_01.dsk", chunk);
  f.platform.putFile("D:\\uninst.ex_", testing::archiveOf("uninst32.ex_", "UNINSTALLER"));
  EXPECT_EQ(f.activate(), "");
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
  f.state.Setup.CompressionMode = 1;
  f.platform.putFile("D:\\zdata_01.dsk", chunk);
  EXPECT_STREQ(f.activate().c_str(), EFCreateError("C:\\App\\a.txt").what());
}

// The log that a stopped run leaves lists, within its totals, everything the run may have made.
TEST(InstallRun, StopAtAnyCheckLeavesALogCoveringEverythingMade) {
  const std::string big(5000, 'B');
  const char* script = "[software]\nmedium=1\n[directories]\ntotal=2\nd1_1=\\bin\\\nd1_2=%SystemRoot%\\kv\\sub\\\n"
                       "[Option_1]\nf1=a.txt\nz1=5000\nf2=b.txt\nd2=1\nz2=5000\nf3=c.dll\nd3=2\nz3=5000\n";
  int checks = 0;
  {
    InstallFixture all(script);
    all.platform.putFile("D:\\zdata_01.dsk", big);
    EXPECT_EQ(all.activate(), "");
    checks = all.platform.messagesProcessed();
  }
  ASSERT_GT(checks, 12);
  for (int stopAt = 1; stopAt <= checks; ++stopAt) {
    InstallFixture f(script);
    f.platform.putFile("D:\\zdata_01.dsk", big);
    f.platform.quitAt = stopAt;
    EXPECT_EQ(f.activate(), "");
    // Every delivery after step 1 is a stop check; the last one follows the associations.
    EXPECT_EQ(f.stages.calls, std::vector<std::string>(stopAt == checks ? 1 : 0, "associations")) << stopAt;
    // Whatever exists is listed under a number within its section's total.
    struct Made {
      const char *path, *section, *key, *total, *record;
      int number;
    } made[] = {
        {"C:\\App\\a.txt", "files", "f1", "total", "\\a.txt", 1},
        {"C:\\App\\bin\\b.txt", "files", "f2", "total", "\\bin\\b.txt", 2},
        {"C:\\App\\bin", "directories", "d1", "total", "\\bin\\", 1},
        {"C:\\WINDOWS\\kv\\sub\\c.dll", "systemroot", "f1", "total", "C:\\WINDOWS\\kv\\sub\\c.dll", 1},
        {"C:\\WINDOWS\\kv", "systemroot", "d1", "dtotal", "C:\\WINDOWS\\kv", 1},
        {"C:\\WINDOWS\\kv\\sub", "systemroot", "d2", "dtotal", "C:\\WINDOWS\\kv\\sub", 2},
    };
    for (const Made& m : made) {
      if (!f.platform.fileInfo(m.path)) continue;
      EXPECT_EQ(f.log(m.section, m.key), m.record) << stopAt;
      EXPECT_GE(std::atoi(f.log(m.section, m.total).c_str()), m.number) << stopAt << " " << m.path;
    }
    // A confirmation before the start ends the program with nothing made and nothing to roll back.
    EXPECT_EQ(f.platform.directoryExists("C:\\App"), f.state.Run.Started) << stopAt;
    if (f.state.Run.Started) {
      EXPECT_EQ(f.log("uninstall", "newroot"), "C:\\App") << stopAt;
    }
    // A fault from the moment the uninstaller and its log are in place (the
    // pending registration's record) would undo the run from that log.
    const bool underWay = f.log("uninstall", "pending") == "1";
    if (stopAt == checks) {
      EXPECT_TRUE(underWay);
    }
    EXPECT_EQ(f.platform.faultRollback(),
              underWay ? "C:\\WINDOWS\\unkalvora.exe C:\\App\\setup\\uninst.log /silent" : "")
        << stopAt;
    f.state.Run.Cancelled = f.state.Run.Started; // as the cancel confirmation sets it
    f.runner.FormDestroy();
    EXPECT_EQ(f.platform.faultRollback(), "") << stopAt; // the rollback just started is the only one
    ASSERT_EQ(f.platform.hiddenPrograms().size(), f.state.Run.Started ? 1u : 0u) << stopAt;
    if (!f.state.Run.Started) continue;
    EXPECT_EQ(f.platform.hiddenPrograms()[0], "C:\\WINDOWS\\unkalvora.exe C:\\App\\setup\\uninst.log /silent");
    EXPECT_EQ(f.log("files", "total"), std::to_string(f.run().FileCount + 1));
  }
}

// The log is written whole at the points where the run may stop: there the
// file holds exactly the log in memory, compressed or not.
TEST(InstallRun, LogOnDiskIsTheLogAtEveryStopPoint) {
  for (const int mode : {0, 1}) {
    // Three chunks one after another, each of several blocks unless compressed.
    std::string volume, entries;
    const char* names[] = {"a.txt", "b.txt", "c.dll"};
    for (int j = 1; j <= 3; ++j) {
      const std::string content(5000, static_cast<char>('A' + j));
      const std::string chunk = mode == 1 ? testing::archiveOf(names[j - 1], content) : content;
      const std::string n = std::to_string(j);
      entries += "f" + n + "=" + names[j - 1] + "\nd" + n + "=" + std::to_string(j - 1) + "\np" + n + "=" +
                 std::to_string(volume.size()) + "\nz" + n + "=" + std::to_string(chunk.size()) + "\n";
      volume += chunk;
    }
    // b.txt is there already and stays: its record is the last before a stop check.
    InstallFixture f("[software]\nmedium=1\n[vercheck]\nfiles=2\n"
                     "[directories]\ntotal=2\nd1_1=\\bin\\\nd1_2=%SystemRoot%\\kv\\\n[Option_1]\n" +
                     entries);
    f.platform.putDirectory("C:\\App\\bin");
    f.platform.putFile("C:\\App\\bin\\b.txt", "old");
    f.state.Setup.CompressionMode = mode;
    f.platform.putFile("D:\\zdata_01.dsk", volume);
    f.platform.putFile("D:\\uninst.ex_", mode == 1 ? testing::archiveOf("uninst32.ex_", "U") : "U");
    int compared = 0;
    f.platform.onDelivery = [&] {
      if (!f.run().Log.isOpen()) return;
      EXPECT_EQ(f.file("C:\\App\\setup\\uninst.log"), f.run().Log.text()) << mode << " " << compared;
      ++compared;
    };
    EXPECT_EQ(f.activate(), "");
    EXPECT_EQ(f.file("C:\\WINDOWS\\kv\\c.dll"), std::string(5000, 'D')) << mode;
    EXPECT_EQ(f.log("files", "kept2"), "1");
    EXPECT_GT(compared, 9) << mode;
    EXPECT_EQ(f.log("files", "total"), "3");
  }
}

TEST(InstallRun, StopAfterAnEntryLeavesTotalsAndPartialFileAfterABlock) {
  InstallFixture f("[software]\nmedium=1\n[Option_1]\nf1=a.txt\nz1=5000\nf2=b.txt\n");
  f.platform.putFile("D:\\zdata_01.dsk", std::string(5000, 'x'));
  f.platform.quitAt = 4; // step 1, the directory rows (2), then the first block
  EXPECT_EQ(f.activate(), "");
  EXPECT_EQ(f.file("C:\\App\\a.txt").size(), 2048u);
  // The records of a batch are written ahead: b.txt is named, never made.
  EXPECT_EQ(f.log("files", "total"), "2");
  EXPECT_EQ(f.log("files", "f2"), "\\b.txt");
  EXPECT_EQ(f.log("systemroot", "total"), "0");

  InstallFixture g("[software]\nmedium=1\n[Option_1]\nf1=a.txt\nz1=5\nf2=b.txt\n");
  g.platform.putFile("D:\\zdata_01.dsk", std::string(5000, 'x'));
  g.platform.quitAt = 5; // the check after the first entry
  EXPECT_EQ(g.activate(), "");
  EXPECT_EQ(g.file("C:\\App\\a.txt"), "xxxxx");
  EXPECT_FALSE(g.platform.fileExists("C:\\App\\b.txt"));
  EXPECT_EQ(g.log("files", "total"), "2");
  EXPECT_EQ(g.log("systemroot", "total"), "0");
}

// An error leaves the totals too; the cancel button that stays after the
// error report ends the program, and the uninstaller then takes back the rest.
TEST(InstallRun, AnErrorThenTheProgramEndRollsBack) {
  InstallFixture f("[software]\nmedium=1\n[directories]\ntotal=1\nd1_1=%SystemRoot%\\kv\\\n"
                   "[Option_1]\nf1=c.dll\nd1=1\nz1=5\nf2=b.txt\ns2=02\nz2=5\n");
  f.platform.putFile("D:\\zdata_01.dsk", "CCCCC");
  f.platform.putFile("D:\\zdata_02.dsk", "BBBBB");
  f.platform.putFile("D:\\uninst.ex_", "UNINSTALLER");
  f.platform.lockFile("D:\\zdata_02.dsk"); // the medium cannot be read
  EXPECT_STREQ(f.activate().c_str(), EFOpenError("D:\\zdata_02.dsk").what());
  EXPECT_EQ(f.file("C:\\WINDOWS\\kv\\c.dll"), "CCCCC");
  EXPECT_EQ(f.log("systemroot", "total"), "1");
  EXPECT_EQ(f.log("systemroot", "dtotal"), "1");
  EXPECT_EQ(f.log("files", "f2"), "\\b.txt");

  f.state.Run.Cancelled = true; // the confirmation after the error report
  ASSERT_EQ(f.runner.FormDestroy(), "C:\\WINDOWS\\unkalvora.exe C:\\App\\setup\\uninst.log /silent");
  EXPECT_EQ(f.log("files", "total"), "3");
  // setup.log: one greppable line per action, the error and the rollback among them, closed for the uninstaller.
  EXPECT_FALSE(f.run().TextLog.isOpen());
  const std::string text = f.file("C:\\App\\setup\\setup.log");
  for (const char* line : {" dir C:\\App\r\n", " dir C:\\WINDOWS\\kv\r\n", " file C:\\WINDOWS\\unkalvora.exe\r\n",
                           " file C:\\WINDOWS\\kv\\c.dll\r\n", " file C:\\App\\b.txt\r\n",
                           " error Kann Datei D:\\zdata_02.dsk nicht öffnen\r\n",
                           " rollback C:\\WINDOWS\\unkalvora.exe C:\\App\\setup\\uninst.log /silent\r\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

} // namespace
} // namespace kalvora
