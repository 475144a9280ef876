// The uninstaller on the in-memory platform: one realistic installation taken
// back to the state before it, and a table of hostile logs that must not reach
// anything outside the installation.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <set>
#include <tuple>

#include "install/FileIdentity.h"
#include "install/RegistryChanges.h"
#include "install/SharedFiles.h"
#include "platform/MemoryPlatform.h"
#include "support/PlatformSnapshot.h"
#include "uninstall/Uninstaller.h"

namespace kalvora {
namespace {

constexpr const char* kLog = "C:\\Programs\\App\\setup\\uninst.log";
const std::string kRegistration = std::string(kUninstallListKey) + "App";

using Snapshot = testing::PlatformSnapshot;
using testing::snapshotOf;

class NoWindow : public UninstallWindow {};

class Installation {
public:
  Installation() {
    p.putDirectory("C:\\WINDOWS");
    p.putDirectory("C:\\TEMP");
    p.putDirectory("C:\\WINDOWS\\Start Menu\\Programs");
    p.createRegistryKey(RegistryRoot::LocalMachine, kUninstallListKey);
    p.putFile("C:\\autoexec.bat", "PATH C:\\WINDOWS\r\n");
    p.putFile("C:\\WINDOWS\\win.ini", "[Main]\r\nVersion=1.0\r\n");
    p.putFile("C:\\precious.txt", "keep");
    p.putFile("C:\\Other\\keep.dat", "keep");
    p.putFile("C:\\Programs\\Shared\\other.dat", "keep"); // another product beside ours
    p.putRegistryString(RegistryRoot::ClassesRoot, ".txt", "", "txtfile");
    p.putRegistryString(RegistryRoot::CurrentUser, "Software\\Existing", "Value", "old");
  }

  // What setup.exe does for a product with every kind of change, with its log records.
  void install() {
    p.putDirectory("C:\\Programs\\App\\setup");
    log("uninstall", "directory", "C:\\Programs\\App");
    log("uninstall", "newroot", "C:\\Programs\\App");
    log("uninstall", "name", "App");
    log("uninstall", "ask", "1");
    log("uninstall", "prggrp", "App");
    log("language", "l55", "Remove App?");
    log("language", "l60", "Some parts stay.");
    log("language", "l61", "App is gone.");
    p.putFile("C:\\Programs\\App\\setup\\setup.tmp", "[software]");
    p.putFile("C:\\Programs\\App\\setup\\setup.log", "12:00:00 start\r\n");
    p.putFile("C:\\Programs\\App\\readme.txt", "read me");
    log("readme", "file", "C:\\Programs\\App\\readme.txt");
    p.putFile("C:\\WINDOWS\\unkalvora.exe", "MZ"); // the shared uninstaller stays
    p.putRegistryString(RegistryRoot::LocalMachine, "SOFTWARE\\VELM\\kalvora", "uninstall", "220");
    p.putDirectory("C:\\Programs\\App\\data\\deep");
    log("directories", "d1", "\\data\\deep\\");
    log("directories", "total", "1");
    p.putFile("C:\\Programs\\App\\app.exe", "app");
    log("files", "f1", "\\app.exe");
    p.putFile("C:\\Programs\\App\\data\\deep\\big.dat", "data");
    log("files", "f3", "\\data\\deep\\big.dat"); // f2 went below the Windows directory
    log("files", "total", "3");
    p.putFile("C:\\WINDOWS\\AppSys\\lib.dll", "lib");
    log("systemroot", "d1", "C:\\WINDOWS\\AppSys");
    log("systemroot", "f1", "C:\\WINDOWS\\AppSys\\lib.dll");
    log("systemroot", "f2", "C:\\WINDOWS\\unkalvora.exe");
    for (const auto& [ext, before] : {std::pair{"abc", ""}, std::pair{"txt", "txtfile"}}) {
      const std::string cls = std::string(ext) + "autofile";
      p.putRegistryString(RegistryRoot::ClassesRoot, std::string(".") + ext, "", cls);
      p.putRegistryString(RegistryRoot::ClassesRoot, cls, "", "App document");
      p.putRegistryString(RegistryRoot::ClassesRoot, cls + "\\DefaultIcon", "", "C:\\Programs\\App\\app.exe,1");
      p.putRegistryString(RegistryRoot::ClassesRoot, cls + "\\shell\\open\\command", "",
                          "C:\\Programs\\App\\app.exe %1");
      log("extensions", std::string("e") + (ext[0] == 'a' ? "1" : "2"), ext);
      if (*before) log("extensions", "o2", before);
    }
    p.putFile("C:\\WINDOWS\\Start Menu\\Programs\\App\\App.lnk", "link");
    p.putFile("C:\\WINDOWS\\Start Menu\\Programs\\App\\Uninstall.lnk", "link");
    log("prggrp", "folder", "C:\\WINDOWS\\Start Menu\\Programs\\App");
    log("prggrp", "l1", "C:\\WINDOWS\\Start Menu\\Programs\\App\\Uninstall.lnk");
    log("prggrp", "l2", "C:\\WINDOWS\\Start Menu\\Programs\\App\\App.lnk");
    p.putFile("C:\\AUTOEXEC.KVR", "PATH C:\\WINDOWS\r\n");
    p.putFile("C:\\autoexec.bat", "PATH C:\\WINDOWS\r\n\r\nSET APP=1\r\n");
    log("dos", "a1", "SET APP=1");
    log("dos", "bkpa", "C:\\AUTOEXEC.KVR");
    p.putFile("C:\\WINDOWS\\win.bak", "[Main]\r\nVersion=1.0\r\n");
    p.writeProfileString("C:\\WINDOWS\\win.ini", "Main", "Version", "2.0");
    p.writeProfileString("C:\\WINDOWS\\win.ini", "Main", "Added", "yes");
    iniEntry(1, "C:\\WINDOWS\\win.ini", 0, "Main", "Version", "2.0", "1.0");
    iniEntry(1, "C:\\WINDOWS\\win.ini", 1, "Main", "Added", "yes", nullptr);
    log("ini_1", "bkpfile", "C:\\WINDOWS\\win.bak");
    p.putDirectory("C:\\Programs\\App\\conf");
    p.writeProfileString("C:\\Programs\\App\\conf\\app.ini", "Paths", "Home", "C:\\Programs\\App");
    iniEntry(2, "C:\\Programs\\App\\conf\\app.ini", 0, "Paths", "Home", "C:\\Programs\\App", nullptr);
    log("sysreg", "remove", "1");
    log("sysreg", "total", "3");
    registry(1, 2, "Software\\Vendor\\App", "Mode", "full", nullptr, "Software\\Vendor");
    registry(2, 2, "Software\\Existing", "Value", "new", "old", nullptr);
    registry(3, 3, "Software\\Vendor\\Empty", "", "", nullptr, "Software\\Vendor");
    p.putRegistryString(RegistryRoot::CurrentUser, "Software\\Vendor\\App", "Mode", "full");
    p.putRegistryString(RegistryRoot::CurrentUser, "Software\\Existing", "Value", "new");
    p.createRegistryKey(RegistryRoot::LocalMachine, "Software\\Vendor\\Empty");
    p.putRegistryString(RegistryRoot::LocalMachine, kRegistration, "UninstallString",
                        std::string("C:\\WINDOWS\\unkalvora.exe ") + kLog);
    p.putRegistryString(RegistryRoot::LocalMachine, kRegistration, "DisplayName", "App");
    p.putRegistryString(RegistryRoot::LocalMachine, kRegistration, "version", "100");
    p.putRegistryString(RegistryRoot::LocalMachine, kRegistration, "DisplayVersion", "1.0");
    p.writeRegistryDword(RegistryRoot::LocalMachine, kRegistration, "NoRepair", 1);
  }

  int uninstall(const std::string& arguments = std::string(kLog)) {
    NoWindow window;
    return runUninstaller(p, arguments, window);
  }

  void log(const std::string& section, const std::string& key, const std::string& value) {
    p.writeProfileString(kLog, section, key, value);
  }

  MemoryPlatform p;

private:
  void iniEntry(int i, const std::string& path, int j, const std::string& s, const std::string& k, const std::string& v,
                const char* before) {
    const std::string section = "ini_" + std::to_string(i), n = std::to_string(j);
    log(section, "path", path);
    log(section, "s" + n, s);
    log(section, "k" + n, k);
    log(section, "v" + n, v);
    if (before) log(section, "o" + n, before);
  }
  void registry(int i, int root, const std::string& path, const std::string& name, const std::string& data,
                const char* before, const char* newKey) {
    const std::string n = std::to_string(i);
    log("sysreg", "k" + n, std::to_string(root));
    log("sysreg", "p" + n, path);
    log("sysreg", "e" + n, name);
    log("sysreg", "b" + n, data);
    if (before) log("sysreg", "o" + n, before);
    if (newKey) log("sysreg", "new" + n, newKey);
  }
};

TEST(Uninstaller, TakesAnInstallationBackToTheStateBeforeIt) {
  Installation a;
  Snapshot before = snapshotOf(a.p);
  a.install();
  a.p.answerNextBox(MessageResult::Yes);
  EXPECT_EQ(a.uninstall(), kRemovedAll);
  // The shared uninstaller, its marker and the text log of the removal stay.
  EXPECT_TRUE(a.p.fileExists("C:\\WINDOWS\\unkalvora.exe"));
  EXPECT_TRUE(a.p.readRegistryString(RegistryRoot::LocalMachine, "SOFTWARE\\VELM\\kalvora", "uninstall"));
  const std::string textLog = *a.p.fileContent("C:\\TEMP\\unkalvora.log");
  EXPECT_NE(textLog.find(" removed file C:\\Programs\\App\\app.exe\r\n"), std::string::npos) << textLog;
  Snapshot after = snapshotOf(a.p);
  after.files.erase("C:\\WINDOWS\\UNKALVORA.EXE");
  after.files.erase("C:\\TEMP\\UNKALVORA.LOG");
  after.registry.erase("2\\SOFTWARE\\VELM\\KALVORA");
  after.registry.erase("2\\SOFTWARE\\VELM");
  EXPECT_EQ(after.files, before.files);
  EXPECT_EQ(after.directories, before.directories);
  EXPECT_EQ(after.registry, before.registry);
  ASSERT_EQ(a.p.shownBoxes().size(), 2u);
  EXPECT_EQ(a.p.shownBoxes()[0].text, "Remove App?");
  EXPECT_EQ(a.p.shownBoxes()[1].text.rfind("App is gone.", 0), 0u);
}

TEST(Uninstaller, LeavesWhatItDidNotInstallAndWhatIsInUse) {
  Installation a;
  a.install();
  a.p.putFile("C:\\Programs\\App\\data\\mine.txt", "the user's");
  a.p.putFile("C:\\Programs\\App\\data\\deep\\big.dat", "data", kAttrReadOnly);
  a.p.lockFile("C:\\WINDOWS\\AppSys\\lib.dll");
  a.p.putRegistryString(RegistryRoot::CurrentUser, "Software\\Vendor\\App", "Mode", "changed by the user");
  a.p.answerNextBox(MessageResult::Yes);
  EXPECT_EQ(a.uninstall(), kLeftSome);
  EXPECT_EQ(a.p.fileContent("C:\\Programs\\App\\data\\mine.txt"), "the user's");
  EXPECT_TRUE(a.p.fileExists("C:\\Programs\\App\\data\\deep\\big.dat"));
  EXPECT_TRUE(a.p.fileExists("C:\\WINDOWS\\AppSys\\lib.dll"));
  EXPECT_FALSE(a.p.fileExists("C:\\Programs\\App\\app.exe"));
  EXPECT_EQ(a.p.readRegistryString(RegistryRoot::CurrentUser, "Software\\Vendor\\App", "Mode"), "changed by the user");
  // A second attempt stays possible: the log and the registration are kept.
  EXPECT_TRUE(a.p.fileExists(kLog));
  EXPECT_TRUE(a.p.readRegistryString(RegistryRoot::LocalMachine, kRegistration, "UninstallString"));
  const std::string summary = a.p.shownBoxes().back().text;
  EXPECT_EQ(summary.rfind("Some parts stay.", 0), 0u);
  EXPECT_NE(summary.find("C:\\Programs\\App\\data\\deep\\big.dat (read-only)"), std::string::npos) << summary;
  EXPECT_NE(summary.find("C:\\WINDOWS\\AppSys\\lib.dll (in use or access denied)"), std::string::npos);
  EXPECT_NE(summary.find("HKCU\\Software\\Vendor\\App \"Mode\" (changed since the installation)"), std::string::npos);
}

TEST(Uninstaller, KeepsATargetThatWasThereBefore) {
  Installation a;
  a.install();
  a.log("uninstall", "newroot", "C:\\Programs\\App\\setup");
  EXPECT_EQ(a.uninstall(std::string(kLog) + " /silent"), kRemovedAll);
  EXPECT_TRUE(a.p.directoryExists("C:\\Programs\\App"));
  EXPECT_FALSE(a.p.directoryExists("C:\\Programs\\App\\setup"));
}

TEST(Uninstaller, DeclinedOrRefusedRemovesNothing) {
  Installation a;
  a.install();
  const Snapshot installed = snapshotOf(a.p);
  a.p.answerNextBox(MessageResult::No);
  EXPECT_EQ(a.uninstall(), kLeftSome);
  for (const char* arguments : {"", "/silent", "C:\\x\\uninst.log /force", "\"C:\\nowhere\\uninst.log\""})
    EXPECT_EQ(a.uninstall(arguments), kBadInput) << arguments;
  const std::size_t boxes = a.p.shownBoxes().size();
  a.p.holdInstallerLockElsewhere(); // a setup runs
  EXPECT_EQ(a.uninstall(std::string(kLog) + " -quiet"), kAnotherInstaller);
  EXPECT_EQ(a.p.shownBoxes().size(), boxes);
  EXPECT_EQ(a.uninstall(), kAnotherInstaller);
  EXPECT_EQ(a.p.shownBoxes().size(), boxes + 1);
  Snapshot after = snapshotOf(a.p);
  after.files.erase("C:\\TEMP\\UNKALVORA.LOG");
  after.stamps.erase("C:\\TEMP\\UNKALVORA.LOG");
  EXPECT_EQ(after, installed);
}

TEST(Uninstaller, ReadsItsCommandLine) {
  const struct {
    const char* line;
    const char* log;
    bool silent;
    const char* copyLog = "";
  } rows[] = {
      {"C:\\App\\setup\\uninst.log", "C:\\App\\setup\\uninst.log", false},
      {"C:\\My Apps\\X\\setup\\uninst.log /silent", "C:\\My Apps\\X\\setup\\uninst.log", true},
      {"  \"C:\\My Apps\\setup\\uninst.log\" /SILENT ", "C:\\My Apps\\setup\\uninst.log", true},
      {"C:\\A\\setup\\uninst.log\t/silent", "C:\\A\\setup\\uninst.log", true},
      {"C:\\My Apps\\uninst.log /QUIET /log=\"C:\\my logs\\u.log\"", "C:\\My Apps\\uninst.log", true,
       "C:\\my logs\\u.log"},
      {"C:\\A\\uninst.log /Log=C:\\u.log", "C:\\A\\uninst.log", false, "C:\\u.log"},
      {"C:\\A\\uninst.log -quiet", "C:\\A\\uninst.log", true},
      {"C:\\A\\uninst.log /S -log=C:\\u.log", "C:\\A\\uninst.log", true, "C:\\u.log"},
  };
  for (const auto& row : rows) {
    const auto args = parseUninstallArguments(row.line);
    ASSERT_TRUE(args) << row.line;
    EXPECT_EQ(args->logPath, row.log);
    EXPECT_EQ(args->silent, row.silent);
    EXPECT_EQ(args->copyLog.value_or(""), row.copyLog);
  }
  for (const char* bad :
       {"", "   ", "/silent", "/s C:\\a.log", "\"C:\\a\"b.log\"", "C:\\x\\notsilent",
        "C:\\a.log /log=", "C:\\a.log /quiet /force", "C:\\a.log /log=x /log=y", "-quiet", "C:\\a.log -qn"})
    EXPECT_EQ(parseUninstallArguments(bad).has_value(), std::string(bad) == "C:\\x\\notsilent") << bad;
}

// Logs whose files have changed hands since the installation: what is no
// longer only the installation's stays and is named with its reason, and the
// removal still ends with 0; what is still its own goes.
TEST(Uninstaller, RemovesOnlyFilesThatAreStillItsOwn) {
  const struct {
    const char* what;
    const char* path;                   // [files] entries below the target, [systemroot] ones full
    const char* now;                    // the file's content when the uninstaller runs
    std::optional<std::int64_t> logged; // count<n>
    std::optional<std::uint32_t> countNow, countAfter;
    const char* why; // nullptr: removed
  } rows[] = {
      {"an installed file as it was", "\\app.exe", "ours", {}, {}, {}, nullptr},
      {"an installed file the user replaced", "\\app.exe", "the user's", {}, {}, {}, "changed since the installation"},
      {"a shared file counted by this product only", "C:\\WINDOWS\\lib.dll", "ours", 0, 1, {}, nullptr},
      {"a shared file another product counts", "C:\\WINDOWS\\lib.dll", "ours", 0, 2, 1, "still used by other programs"},
      {"a shared file there before, uncounted",
       "C:\\WINDOWS\\lib.dll",
       "ours",
       1,
       2,
       {},
       "there before the installation"},
      {"a shared file the user replaced", "C:\\WINDOWS\\lib.dll", "new", 0, 1, {}, "changed since the installation"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    Installation a;
    a.p.putDirectory("C:\\Programs\\App\\setup");
    a.log("uninstall", "directory", "C:\\Programs\\App");
    a.log("uninstall", "complete", "1");
    const bool system = row.path[0] != '\\';
    const std::string section = system ? "systemroot" : "files";
    const std::string path = system ? row.path : std::string("C:\\Programs\\App") + row.path;
    a.p.putFile(path, "ours");
    a.log(section, "f1", row.path);
    a.log(section, "id1", *fileIdentity(a.p, path));
    if (row.logged) a.log(section, "count1", std::to_string(*row.logged));
    if (row.countNow) a.p.writeRegistryDword(RegistryRoot::LocalMachine, kSharedDllsKey, path, *row.countNow);
    a.p.putFile(path, row.now);
    EXPECT_EQ(a.uninstall(), kRemovedAll);
    EXPECT_EQ(a.p.fileExists(path), row.why != nullptr);
    EXPECT_EQ(a.p.readRegistryDword(RegistryRoot::LocalMachine, kSharedDllsKey, path), row.countAfter);
    const std::string summary = a.p.shownBoxes().back().text;
    const std::string textLog = *a.p.fileContent("C:\\TEMP\\unkalvora.log");
    for (const std::string& report : {summary, textLog})
      EXPECT_EQ(report.find(path + " (" + (row.why ? row.why : "") + ")") != std::string::npos, row.why != nullptr)
          << report;
  }
}

// Hostile entries: each is skipped and reported; nothing outside the
// installation changes, and what the log rightly names still goes.
TEST(Uninstaller, NeverFollowsAnEntryOutOfItsPlace) {
  const struct {
    const char* section;
    const char* key;
    const char* value;
    bool reported = true; // left and named in the report
  } rows[] = {
      {"files", "f2", "\\..\\..\\precious.txt"},
      {"files", "f2", "\\data\\..\\..\\..\\precious.txt"},
      {"files", "f2", "\\. .\\..\\precious.txt"},
      {"files", "f2", "..\\..\\precious.txt"},
      {"files", "f2", "C:\\precious.txt"},
      {"files", "f2", "\\C:\\precious.txt"},
      {"files", "f2", "\\\\server\\share\\precious.txt"},
      {"files", "f2", "/../../precious.txt"},
      {"files", "total", "2147483647", false},
      {"files", "f999999999", "\\..\\..\\Other\\keep.dat"},
      {"directories", "d2", "\\..\\..\\Other\\"},
      {"directories", "d2", "\\..\\Shared\\"},
      {"readme", "file", "C:\\precious.txt"},
      {"readme", "file", "C:\\Programs\\App\\..\\..\\precious.txt"},
      {"systemroot", "f3", "C:\\precious.txt"},
      {"systemroot", "f3", "C:\\WINDOWS\\..\\precious.txt"},
      {"systemroot", "d2", "C:\\Other"},
      {"prggrp", "l3", "C:\\precious.txt"},
      {"prggrp", "l3", "C:\\WINDOWS\\Start Menu\\Programs\\App\\..\\..\\..\\..\\precious.txt"},
      {"ini_1", "bkpfile", "C:\\precious.txt"},
      {"files", "bak1", "C:\\precious.txt"},
      {"files", "bak1", "C:\\Programs\\App\\setup\\backup\\..\\..\\..\\..\\precious.txt"},
      {"dos", "bkpa", "C:\\Other\\keep.dat"},
      {"dos", "bkpa", "C:\\precious.txt"}, // in C:\, but not a copy of autoexec.bat
      {"dos", "bkpc", "C:\\autoexec.bat"},
      {"uninstall", "newroot", "C:\\Other"},
      {"uninstall", "directory", "C:\\Other"},
      {"uninstall", "directory", "C:\\"},
      {"uninstall", "directory", "C:\\Programs\\App\\..\\.."},
  };
  for (const auto& row : rows) {
    Installation a;
    a.install();
    a.log(row.section, row.key, row.value);
    const int exit = a.uninstall(std::string(kLog) + " /silent");
    const std::string what = std::string(row.section) + " " + row.key + "=" + row.value;
    EXPECT_EQ(exit != kRemovedAll, row.reported) << what;
    EXPECT_EQ(a.p.fileContent("C:\\precious.txt"), "keep") << what;
    EXPECT_EQ(a.p.fileContent("C:\\Other\\keep.dat"), "keep") << what;
    EXPECT_EQ(a.p.fileContent("C:\\Programs\\Shared\\other.dat"), "keep") << what;
    EXPECT_TRUE(a.p.fileExists("C:\\autoexec.bat")) << what;
    EXPECT_TRUE(a.p.shownBoxes().empty()) << what;
    // A log refused as a whole touches nothing; otherwise the product's own files go.
    EXPECT_EQ(a.p.fileExists("C:\\Programs\\App\\app.exe"), std::string(row.key) == "directory") << what;
  }
}

// A run stopped inside its copy of autoexec.bat leaves a backup holding the
// file's beginning: that goes, as it holds nothing the file lacks, whether or
// not the line was logged. A backup of other content is not the run's: it stays.
TEST(Uninstaller, TakesABackupOfAStartUpFileThatAStoppedRunCutShort) {
  const struct Row {
    const char* backup;
    bool lineLogged, goes;
  } rows[] = {{"", false, true},
              {"PATH C:", false, true},
              {"PATH C:\\WINDOWS\r\n", false, true},
              {"SET MINE=1\r\n", false, false},
              {"PATH C:", true, true},
              {"SET MINE=1\r\n", true, false},
              {"PATH C:\\WINDOWS\r\n", true, true}};
  for (const Row& row : rows) {
    Installation a;
    a.install();
    if (!row.lineLogged) {
      a.p.deleteProfileKey(kLog, "dos", "a1");
      a.p.putFile("C:\\autoexec.bat", "PATH C:\\WINDOWS\r\n");
    }
    a.p.putFile("C:\\AUTOEXEC.KVR", row.backup);
    const int exit = a.uninstall(std::string(kLog) + " /silent");
    const std::string what =
        std::string(row.lineLogged ? "line logged, " : "no line, ") + "backup \"" + row.backup + "\"";
    EXPECT_EQ(a.p.fileExists("C:\\AUTOEXEC.KVR"), !row.goes) << what;
    EXPECT_EQ(exit == kRemovedAll, row.goes) << what;
    EXPECT_EQ(a.p.fileContent("C:\\autoexec.bat"), "PATH C:\\WINDOWS\r\n") << what;
  }
}

// A log that has gone stale: what the user changed since the installation stays
// and is named in the summary; what is still the run's goes, and what the run
// replaced comes back.
TEST(Uninstaller, LeavesAndReportsWhatTheUserChangedSinceTheInstallation) {
  const std::string group = "C:\\WINDOWS\\Start Menu\\Programs\\App\\";
  const ShellLink made{"C:\\Programs\\App\\app.exe", "-x", "C:\\Programs\\App"};
  const ShellLink users{"C:\\Other\\other.exe", "", "C:\\Other"};
  const struct Row {
    const char* what;
    std::function<void(Installation&)> change;
    std::function<bool(MemoryPlatform&)> holds; // what must hold afterwards
    const char* reported;                       // in the summary; nullptr: nothing left
  } rows[] = {
      {"a link re-pointed by the user", [&](Installation& a) { a.p.writeShellLink(group + "App.lnk", users); },
       [&](MemoryPlatform& p) { return p.readShellLink(group + "App.lnk")->target == users.target; },
       "App.lnk (changed since the installation)"},
      {"a link still as the run made it", [&](Installation& a) { a.p.writeShellLink(group + "App.lnk", made); },
       [&](MemoryPlatform& p) { return !p.fileExists(group + "App.lnk"); }, nullptr},
      {"a link of that name that was there before",
       [&](Installation& a) {
         a.p.writeShellLink(group + "App.lnk", made);
         a.log("prggrp", "had2", "1");
         a.log("prggrp", "ot2", users.target);
         a.log("prggrp", "ow2", users.workingDirectory);
         a.log("prggrp", "newfolder", "0");
       },
       [&](MemoryPlatform& p) {
         const auto link = p.readShellLink(group + "App.lnk");
         return link && link->target == users.target && link->workingDirectory == users.workingDirectory &&
                p.directoryExists(group);
       },
       nullptr},
      {"an INI value the user edited",
       [](Installation& a) { a.p.writeProfileString("C:\\WINDOWS\\win.ini", "Main", "Added", "mine"); },
       [](MemoryPlatform& p) { return p.readProfileString("C:\\WINDOWS\\win.ini", "Main", "Added", "") == "mine"; },
       "[Main] Added (changed since the installation)"},
      {"a registry value the user edited",
       [](Installation& a) { a.p.putRegistryString(RegistryRoot::CurrentUser, "Software\\Existing", "Value", "mine"); },
       [](MemoryPlatform& p) {
         return p.readRegistryString(RegistryRoot::CurrentUser, "Software\\Existing", "Value") == "mine";
       },
       "HKCU\\Software\\Existing \"Value\" (changed since the installation)"},
      {"a document type the user made open another program",
       [](Installation& a) {
         for (const auto& [written, had, value] :
              {std::tuple{"vd1", "hd1", "App document"}, std::tuple{"vi1", "hi1", "C:\\Programs\\App\\app.exe,1"},
               std::tuple{"vc1", "hc1", "C:\\Programs\\App\\app.exe %1"}}) {
           a.log("extensions", written, value);
           a.log("extensions", had, "0");
         }
         a.p.putRegistryString(RegistryRoot::ClassesRoot, "abcautofile\\shell\\open\\command", "", "mine.exe %1");
       },
       [](MemoryPlatform& p) {
         return p.readRegistryString(RegistryRoot::ClassesRoot, "abcautofile\\shell\\open\\command", "") ==
                "mine.exe %1";
       },
       "HKCR\\abcautofile\\shell\\open\\command \"\" (changed since the installation)"},
  };
  for (const Row& row : rows) {
    Installation a;
    a.install();
    a.log("prggrp", "to2", made.target);
    a.log("prggrp", "ar2", made.arguments);
    a.log("prggrp", "newfolder", "1");
    row.change(a);
    a.p.answerNextBox(MessageResult::Yes);
    const int exit = a.uninstall();
    EXPECT_TRUE(row.holds(a.p)) << row.what;
    const std::string summary = a.p.shownBoxes().back().text;
    // What the user changed is the user's now: it stays and is named, and the
    // uninstall, having removed everything else, still succeeds.
    EXPECT_EQ(exit, kRemovedAll) << row.what << ": " << summary;
    if (row.reported) {
      EXPECT_NE(summary.find(row.reported), std::string::npos) << row.what << ": " << summary;
    }
  }
}

} // namespace
} // namespace kalvora
