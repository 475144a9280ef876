#include "install/SystemChanges.h"

#include <gtest/gtest.h>

#include "InstallFixture.h"
#include "install/AssociationStage.h"
#include "install/IniChanges.h"
#include "install/ProgramListEntry.h"
#include "install/RegistryChanges.h"
#include "install/ScriptPaths.h"
#include "support/PlatformSnapshot.h"
#include "uninstall/Uninstaller.h"

namespace kalvora {
namespace {

using testing::InstallFixture;

// A run that has gone through its stages (the script continues [software]); the system changes are then applied
// with the log open again, as they would be at their place in the sequence.
struct Changes : InstallFixture {
  explicit Changes(const std::string& script) : InstallFixture("[software]\nname=Tool\n" + script) {
    state.Setup.NewVersion = 12;
    EXPECT_EQ(activate(), "");
    run().Log.open("C:\\App\\setup\\uninst.log", platform);
  }
  // The error that ended the changes, "" when none did.
  std::string apply() {
    if (systemChanges(run())) return "";
    return run().Error ? error() : "stopped";
  }
  std::optional<std::string> reg(RegistryRoot root, const std::string& key, const std::string& name) {
    return platform.readRegistryString(root, key, name);
  }
};

TEST(StartupFiles, AppendsAfterTheLastLineAndCutsAtTheEndOfFileMark) {
  Changes f("[dos]\nbkp_a=AUTOEXEC.KVR\na1=SET A=1\na3=PATH C:\\TOOL\nc1=FILES=40\n");
  f.platform.putFile("C:\\autoexec.bat", "@ECHO OFF\r\nPROMPT $P$G\x1Ajunk\x1Amore");
  EXPECT_EQ(f.apply(), "");
  EXPECT_EQ(f.file("C:\\autoexec.bat"), "@ECHO OFF\r\nPROMPT $P$G\r\nSET A=1\r\n\r\nPATH C:\\TOOL\r\n");
  EXPECT_EQ(f.file("C:\\AUTOEXEC.KVR"), "@ECHO OFF\r\nPROMPT $P$G\x1Ajunk\x1Amore");
  EXPECT_FALSE(f.platform.fileExists("C:\\config.sys"));
  // The appended lines and the new backup are logged for the uninstaller, under the script's keys.
  EXPECT_EQ(f.log("dos", "a1"), "SET A=1");
  EXPECT_EQ(f.log("dos", "a2"), "<none>");
  EXPECT_EQ(f.log("dos", "a3"), "PATH C:\\TOOL");
  EXPECT_EQ(f.log("dos", "c1"), "<none>");
  EXPECT_EQ(f.log("dos", "bkpa"), "C:\\AUTOEXEC.KVR");
  EXPECT_EQ(f.log("dos", "bkpc"), "<none>");
}

TEST(StartupFiles, AnEndedLastLineGetsAnEmptyLineAndAMarkBeforeTheTailStays) {
  Changes f("[dos]\nc5=DEVICE=X.SYS\n");
  // The mark stands more than 128 bytes before the end: it is data, not the end.
  const std::string early = "REM \x1A" + std::string(130, 'x') + "\r\n";
  f.platform.putFile("C:\\config.sys", early);
  EXPECT_EQ(f.apply(), "");
  EXPECT_EQ(f.file("C:\\config.sys"), early + "\r\nDEVICE=X.SYS\r\n");
}

TEST(StartupFiles, ABackupNameThatWouldReplaceAStartupFileIsRefusedBeforeAnyChange) {
  for (const char* name : {"config.sys", "..\\x\\AUTOEXEC.BAT", "WINDOWS\\win.com"}) {
    // The run refuses such a script before it starts; the stage refuses it on its own too.
    Changes f("[dos]\na1=SET A=1\n");
    const std::string copy = "C:\\App\\setup\\setup.tmp";
    f.platform.putFile(copy, std::string("[dos]\nbkp_a=") + name + "\na1=SET A=1\n");
    f.run().SetupCopy = std::make_unique<SetupScript>(copy, f.platform);
    f.platform.putFile("C:\\autoexec.bat", "A\r\n");
    f.platform.putFile("C:\\config.sys", "C\r\n");
    EXPECT_STREQ(f.apply().c_str(), EUnsafeScriptPath(name).what());
    EXPECT_EQ(f.file("C:\\autoexec.bat"), "A\r\n");
    EXPECT_EQ(f.file("C:\\config.sys"), "C\r\n");
  }
}

TEST(IniChanges, WritesListedFilesAndEntriesAndLogsThemForTheUninstaller) {
  Changes f("[ini_2]\nname=\ns0=x\nk0=x\nv0=x\n"
            "[ini_3]\nname=C:\\App\\cfg\\tool.ini\ns0=Main\nk0=Path\nv0=C:\\App\ns1=\nk1=Skipped\n"
            "s9=Main\nk9=Empty\nv9=\ns10=Main\nk10=Ten\nv10=10\n"
            "[ini_5]\nname=C:\\five.ini\ns0=a\nk0=b\nv0=c\n");
  EXPECT_EQ(f.apply(), "");
  const std::string ini = "C:\\App\\cfg\\tool.ini";
  EXPECT_EQ(f.platform.readProfileString(ini, "Main", "Path", "<none>"), "C:\\App");
  EXPECT_NE(f.file(ini).find("Empty=\r\n"), std::string::npos);
  EXPECT_EQ(f.platform.readProfileString(ini, "Main", "Ten", "<none>"), "<none>");
  EXPECT_FALSE(f.platform.fileExists("C:\\five.ini"));
  EXPECT_EQ(f.log("ini_3", "name"), ini);
  EXPECT_EQ(f.log("ini_3", "s0"), "Main");
  EXPECT_EQ(f.log("ini_3", "k9"), "Empty");
  EXPECT_EQ(f.log("ini_3", "v9"), "");
  EXPECT_EQ(f.log("ini_3", "k1"), "<none>");
  EXPECT_EQ(f.log("ini_2", "name"), "<none>");
  EXPECT_EQ(f.log("ini_3", "path"), ini);
  EXPECT_EQ(f.log("ini_3", "o0"), "<none>"); // the key was new
}

TEST(IniChanges, AFileBelowTheWindowsDirectoryIsBackedUpFirstAndItsNameNotLogged) {
  Changes f("[ini_1]\nname=%systemroot%\\WIN.INI\nbkp=WIN.BAK\ns0=windows\nk0=load\nv0=tool.exe\n");
  f.platform.putFile("C:\\WINDOWS\\WIN.INI", "[windows]\r\nload=old.exe\r\n");
  EXPECT_EQ(f.apply(), "");
  EXPECT_EQ(f.file("C:\\WINDOWS\\WIN.BAK"), "[windows]\r\nload=old.exe\r\n");
  EXPECT_EQ(f.platform.readProfileString("C:\\WINDOWS\\WIN.INI", "windows", "load", ""), "tool.exe");
  EXPECT_EQ(f.log("ini_1", "name"), "<none>");
  EXPECT_EQ(f.log("ini_1", "v0"), "tool.exe");
  EXPECT_EQ(f.log("ini_1", "path"), "C:\\WINDOWS\\WIN.INI");
  EXPECT_EQ(f.log("ini_1", "o0"), "old.exe");
  EXPECT_EQ(f.log("ini_1", "bkpfile"), "C:\\WINDOWS\\WIN.BAK");
  EXPECT_EQ(iniFilePath("%SystemRoot%" + std::string(45, 'a'), "C:\\W"), "C:\\W" + std::string(40, 'a'));
}

TEST(RegistryChanges, AppliesEntriesByRootAndLogsWhatWasApplied) {
  Changes f("[sysreg]\nremove=1\ntotal=4\n"
            "k1=4\np1=Skip\ne1=v\nb1=x\n"
            "k2=2\np2=Software\\Tool\ne2=Mode\nb2=\n"
            "k3=3\np3=Software\\Tool\\Empty\ne3=never\nb3=\n"
            "k4=1\np4=.tool\ne4=\nb4=Tool.Document\n");
  f.platform.putRegistryString(RegistryRoot::CurrentUser, "Software\\Tool", "Mode", "old");
  f.platform.putRegistryString(RegistryRoot::LocalMachine, "Software\\Other", "x", "y");
  EXPECT_EQ(f.apply(), "");
  EXPECT_EQ(f.reg(RegistryRoot::CurrentUser, "Software\\Tool", "Mode"), "");
  EXPECT_TRUE(f.platform.registryKeyExists(RegistryRoot::LocalMachine, "Software\\Tool\\Empty"));
  EXPECT_EQ(f.reg(RegistryRoot::LocalMachine, "Software\\Tool\\Empty", "never"), std::nullopt);
  EXPECT_EQ(f.reg(RegistryRoot::ClassesRoot, ".tool", ""), "Tool.Document");
  EXPECT_FALSE(f.platform.registryKeyExists(RegistryRoot::ClassesRoot, "Skip"));
  EXPECT_EQ(f.log("sysreg", "remove"), "1");
  EXPECT_EQ(f.log("sysreg", "total"), "4");
  EXPECT_EQ(f.log("sysreg", "k1"), "<none>");
  EXPECT_EQ(f.log("sysreg", "k3"), "3");
  EXPECT_EQ(f.log("sysreg", "b3"), "");
  EXPECT_EQ(f.log("sysreg", "p4"), ".tool");
  // For a complete undo: the value name, the data replaced and the outermost key made.
  EXPECT_EQ(f.log("sysreg", "e2"), "Mode");
  EXPECT_EQ(f.log("sysreg", "o2"), "old");
  EXPECT_EQ(f.log("sysreg", "new2"), "<none>");
  EXPECT_EQ(f.log("sysreg", "new3"), "Software\\Tool");
  EXPECT_EQ(f.log("sysreg", "e3"), "<none>"); // no value was written
  EXPECT_EQ(f.log("sysreg", "e4"), "");
  EXPECT_EQ(f.log("sysreg", "o4"), "<none>");
  EXPECT_EQ(f.log("sysreg", "new4"), ".tool");
}

TEST(RegistryChanges, WithoutATotalEntryOneIsStillApplied) {
  Changes f("[sysreg]\nk1=2\np1=Software\\One\ne1=a\nb1=b\n");
  EXPECT_EQ(f.apply(), "");
  EXPECT_EQ(f.reg(RegistryRoot::CurrentUser, "Software\\One", "a"), "b");
  EXPECT_EQ(f.log("sysreg", "total"), "0");
}

TEST(RegistryChanges, ARefusedMachineKeyIsReportedAndSkippedButOtherRootsEndTheRun) {
  Changes f("[sysreg]\ntotal=2\nk1=3\np1=Locked\ne1=a\nb1=b\nk2=2\np2=Software\\Two\ne2=a\nb2=b\n");
  f.platform.refuseRegistryKey(RegistryRoot::LocalMachine, "Locked");
  EXPECT_EQ(f.apply(), "");
  ASSERT_EQ(f.platform.shownBoxes().size(), 1u);
  EXPECT_EQ(f.platform.shownBoxes()[0].text, "No permission to create a key at the top of\rHKEY_LOCAL_MACHINE");
  EXPECT_EQ(f.platform.shownBoxes()[0].caption, "registry");
  EXPECT_EQ(f.log("sysreg", "k1"), "3"); // recorded before the key; the uninstaller finds nothing there
  EXPECT_EQ(f.log("sysreg", "k2"), "2");

  Changes g("[sysreg]\ntotal=1\nk1=1\np1=Locked\ne1=a\nb1=b\n");
  g.platform.refuseRegistryKey(RegistryRoot::ClassesRoot, "Locked");
  EXPECT_EQ(g.apply(), "Erzeugung von Schlüssel Locked misslungen");
  EXPECT_FALSE(g.platform.registryKeyExists(RegistryRoot::LocalMachine, std::string(kUninstallListKey) + "Tool"));
}

TEST(UninstallRegistration, RegistersUnderTheProductNameUnlessTurnedOff) {
  Changes f("name_display=Tool 1.2\n");
  EXPECT_EQ(f.apply(), "");
  const std::string key = std::string(kUninstallListKey) + "Tool";
  EXPECT_EQ(f.reg(RegistryRoot::LocalMachine, key, "UninstallString"),
            "C:\\WINDOWS\\unkalvora.exe C:\\App\\setup\\uninst.log");
  EXPECT_EQ(f.reg(RegistryRoot::LocalMachine, key, "DisplayName"), "Tool 1.2");
  EXPECT_EQ(f.reg(RegistryRoot::LocalMachine, key, "version"), "12");
  EXPECT_FALSE(f.run().Log.isOpen());
  // The list's further values: those the script leaves empty are not written.
  for (const char* name : {"DisplayVersion", "Publisher", "HelpLink", "DisplayIcon"})
    EXPECT_EQ(f.reg(RegistryRoot::LocalMachine, key, name), std::nullopt) << name;
  EXPECT_EQ(f.reg(RegistryRoot::LocalMachine, key, "InstallLocation"), "C:\\App");
  EXPECT_EQ(f.reg(RegistryRoot::LocalMachine, key, "QuietUninstallString"),
            "C:\\WINDOWS\\unkalvora.exe C:\\App\\setup\\uninst.log /quiet");
  const std::string date = f.reg(RegistryRoot::LocalMachine, key, "InstallDate").value_or("");
  EXPECT_TRUE(date.size() == 8 && date.find_first_not_of("0123456789") == std::string::npos) << date;
  EXPECT_EQ(f.platform.registryDword(RegistryRoot::LocalMachine, key, "NoModify"), 1u);
  EXPECT_EQ(f.platform.registryDword(RegistryRoot::LocalMachine, key, "NoRepair"), 1u);
  EXPECT_EQ(f.reg(RegistryRoot::LocalMachine, key, "NoRepair"), std::nullopt); // a number, not a text

  Changes full("name_display=Tool\nrun=bin\\tool.exe\npublisher=Tool Makers\nhelplink=https://tool.example/help\n"
               "[kalvora]\nversionname=1.2 beta\n");
  full.state.Setup.OptionSpace = {2049, 5000};
  full.state.Choices.OptionChosen = {true, false};
  EXPECT_EQ(full.apply(), "");
  EXPECT_EQ(full.reg(RegistryRoot::LocalMachine, key, "DisplayVersion"), "1.2 beta");
  EXPECT_EQ(full.reg(RegistryRoot::LocalMachine, key, "Publisher"), "Tool Makers");
  EXPECT_EQ(full.reg(RegistryRoot::LocalMachine, key, "HelpLink"), "https://tool.example/help");
  EXPECT_EQ(full.reg(RegistryRoot::LocalMachine, key, "DisplayIcon"), "C:\\App\\bin\\tool.exe");
  EXPECT_EQ(full.platform.registryDword(RegistryRoot::LocalMachine, key, "EstimatedSize"), 3u); // 2049 bytes
  full.state.Choices.RunFromMedium = true;
  EXPECT_EQ(installedKilobytes(full.state), 0u);

  Changes off("CP=0\n");
  EXPECT_EQ(off.apply(), "");
  EXPECT_FALSE(off.platform.registryKeyExists(RegistryRoot::LocalMachine, key));
}

class NoWindow : public UninstallWindow {};

// Everything but the installation's own tree and the uninstaller's report.
testing::PlatformSnapshot outsideTheProduct(const MemoryPlatform& p) {
  testing::PlatformSnapshot s = testing::snapshotOf(p);
  std::erase_if(s.files,
                [](const auto& f) { return f.first.starts_with("C:\\APP") || f.first.starts_with("C:\\TEMP"); });
  std::erase_if(s.directories, [](const std::string& d) { return d.starts_with("C:\\APP"); });
  return s;
}

// Values that were there with the data the run writes, an association another
// product held, a product's own new INI file and backup names that are taken:
// each is recorded before it is changed, and the uninstaller on that log puts
// back exactly what was there.
TEST(SystemChanges, EverythingTheyChangeIsRecordedFirstAndTheUninstallerPutsBackExactlyWhatWasThere) {
  Changes f("[ini_1]\nname=C:\\Tool\\tool.ini\ns0=Main\nk0=Path\nv0=C:\\App\ns1=Extra\nk1=On\nv1=1\n"
            "[ini_2]\nname=%SystemRoot%\\win.ini\nbkp=win.bak\ns0=windows\nk0=Same\nv0=same\ns1=Tool\nk1=New\nv1=x\n"
            "[sysreg]\nremove=1\ntotal=2\nk1=2\np1=Software\\Vendor\ne1=Same\nb1=same\n"
            "k2=2\np2=Software\\Vendor\\Tool\ne2=New\nb2=x\n"
            "[extensions]\ntotal=1\ne1=txt\nn1=Text\n"
            "[dos]\nbkp_a=AUTOEXEC.BAK\na1=SET TOOL=1\n");
  f.platform.putFile("C:\\WINDOWS\\win.ini", "[windows]\r\nSame=same\r\n");
  f.platform.putFile("C:\\WINDOWS\\win.bak", "the user's own");
  f.platform.putFile("C:\\autoexec.bat", "PATH C:\\WINDOWS\r\n");
  f.platform.putFile("C:\\AUTOEXEC.BAK", "an older backup");
  f.platform.putRegistryString(RegistryRoot::CurrentUser, "Software\\Vendor", "Same", "same");
  f.platform.putRegistryString(RegistryRoot::ClassesRoot, ".txt", "", "txtfile");
  f.platform.putRegistryString(RegistryRoot::ClassesRoot, "txtautofile", "", "Text");
  f.platform.createRegistryKey(RegistryRoot::LocalMachine, kUninstallListKey);
  f.platform.putDirectory("C:\\TEMP");
  const testing::PlatformSnapshot before = outsideTheProduct(f.platform);
  ASSERT_TRUE(associationStage(f.run()));
  EXPECT_EQ(f.apply(), "");

  const struct {
    const char *section, *key, *value;
  } records[] = {
      {"ini_1", "newfile", "1"},
      {"ini_1", "newdir", "C:\\Tool"},
      {"ini_1", "newsec0", "1"},
      {"ini_1", "newsec1", "1"},
      {"ini_1", "had0", "0"},
      {"ini_2", "newfile", "0"},
      {"ini_2", "had0", "1"},
      {"ini_2", "o0", "same"},
      {"ini_2", "newsec0", "0"},
      {"ini_2", "newsec1", "1"},
      {"ini_2", "bkpfile", "C:\\WINDOWS\\win.001"},
      {"sysreg", "had1", "1"},
      {"sysreg", "o1", "same"},
      {"sysreg", "had2", "0"},
      {"sysreg", "o2", "<none>"},
      {"dos", "bkpa", "C:\\AUTOEXEC.001"},
      {"extensions", "had1", "1"},
      {"extensions", "o1", "txtfile"},
      {"extensions", "hd1", "1"},
      {"extensions", "od1", "Text"},
  };
  for (const auto& r : records)
    EXPECT_EQ(f.log(r.section, r.key), r.value) << r.section << " " << r.key;
  EXPECT_EQ(f.file("C:\\WINDOWS\\win.bak"), "the user's own");
  EXPECT_EQ(f.file("C:\\WINDOWS\\win.001"), "[windows]\r\nSame=same\r\n");
  EXPECT_EQ(f.file("C:\\AUTOEXEC.BAK"), "an older backup");
  EXPECT_EQ(f.file("C:\\Tool\\tool.ini"), "[Main]\r\nPath=C:\\App\r\n[Extra]\r\nOn=1\r\n");

  NoWindow window;
  EXPECT_EQ(runUninstaller(f.platform, "C:\\App\\setup\\uninst.log /silent", window), kRemovedAll)
      << f.file("C:\\TEMP\\unkalvora.log");
  const testing::PlatformSnapshot after = outsideTheProduct(f.platform);
  EXPECT_EQ(after.files, before.files);
  EXPECT_EQ(after.directories, before.directories);
  EXPECT_EQ(after.registry, before.registry);
}

TEST(IniChanges, ARefusedWriteEndsTheRunWithTheWritersError) {
  Changes f("[ini_1]\nname=C:\\Locked\\tool.ini\ns0=Main\nk0=Path\nv0=x\n");
  f.platform.failCreateOf("C:\\Locked\\tool.ini");
  EXPECT_EQ(f.apply(), "Kann nicht nach C:\\Locked\\tool.ini schreiben");
  // Recorded before the write: the uninstaller finds the entry absent.
  EXPECT_EQ(f.log("ini_1", "s0"), "Main");
}

} // namespace
} // namespace kalvora
