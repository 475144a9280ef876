#pragma once
// A complete installation for the tests that stop it anywhere: a compressed
// medium with every kind of change (files in the target and the Windows
// directory, a file spanning two volumes, an association, a program group,
// INI and registry entries, a start-up line, the registry import), the system
// it meets, and the state a rollback must put back.
#include <gtest/gtest.h>

#include <string>

#include "InstallFixture.h"
#include "install/AssociationStage.h"
#include "install/ProgramGroup.h"
#include "install/RegistryChanges.h"
#include "install/SystemChanges.h"
#include "support/PlatformSnapshot.h"
#include "uninstall/Uninstaller.h"

namespace kalvora::testing {

// Volume prompts are answered with Cancel, every other box with its first button.
class MediumPlatform : public RunPlatform {
public:
  MessageResult messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                           MessageIcon icon) override {
    const MessageResult answer = RunPlatform::messageBox(text, caption, buttons, icon);
    return buttons == MessageButtons::OkCancel ? MessageResult::Cancel : answer;
  }
};

class CoreStages : public RunStages {
public:
  bool associations(RunContext& run) override { return associationStage(run); }
  bool programGroup(RunContext& run, bool fromMedium) override {
    return programGroupStage(run, fromMedium, GroupDelivery::ProgramManager);
  }
  bool systemChanges(RunContext& run) override { return kalvora::systemChanges(run); }
  void completion(RunContext&) override {}
};

class NoWindow : public UninstallWindow {};

using Snapshot = PlatformSnapshot;

// Everything but what outlives a rollback by design: the shared uninstaller,
// its version marker and the uninstaller's report in the temporary directory.
inline Snapshot restorableStateOf(const MemoryPlatform& p) {
  Snapshot s = snapshotOf(p);
  for (const char* path : {"C:\\WINDOWS\\UNKALVORA.EXE", "C:\\TEMP\\UNKALVORA.LOG"}) {
    s.files.erase(path);
    s.stamps.erase(path);
  }
  auto marker = s.registry.find("2\\SOFTWARE\\VELM\\KALVORA");
  if (marker != s.registry.end()) {
    marker->second.erase("UNINSTALL");
    if (marker->second.empty()) s.registry.erase(marker);
  }
  for (const char* key : {"2\\SOFTWARE\\VELM", "2\\SOFTWARE"})
    if (auto it = s.registry.find(key); it != s.registry.end() && it->second.empty()) s.registry.erase(it);
  return s;
}

inline std::string differences(const Snapshot& before, const Snapshot& after) {
  std::string text;
  for (const auto& [path, content] : after.files)
    if (!before.files.count(path))
      text += " +file " + path;
    else if (before.files.at(path) != content)
      text += " ~file " + path;
    else if (before.stamps.at(path) != after.stamps.at(path))
      text += " ~stamp " + path;
  for (const auto& [path, content] : before.files)
    if (!after.files.count(path)) text += " -file " + path;
  for (const auto& dir : after.directories)
    if (!before.directories.count(dir)) text += " +dir " + dir;
  for (const auto& dir : before.directories)
    if (!after.directories.count(dir)) text += " -dir " + dir;
  for (const auto& [key, values] : after.registry)
    if (!before.registry.count(key))
      text += " +key " + key;
    else if (before.registry.at(key) != values)
      text += " ~key " + key;
  for (const auto& [key, values] : before.registry)
    if (!after.registry.count(key)) text += " -key " + key;
  return text;
}

inline const std::string kA(3000, 'a'), kB(9000, 'b'), kC(500, 'c'), kShared = "shared, not ours",
                         kUsersA = "the user's";
inline constexpr std::uint32_t kUsersTime = 0x2A215C00, kUsersAttributes = kAttrHidden | kAttrArchive;

// A compressed medium whose b.dll runs from volume 1 into volume 2.
inline void putMedium(MemoryPlatform& p) {
  const std::string a = archiveOf("a.txt", kA), b = archiveOf("b.dll", kB), c = archiveOf("c.sys", kC),
                    shared = archiveOf("shared.dll", "new shared");
  const std::string data = a + b + c + shared;
  const std::size_t split = a.size() + b.size() / 2;
  p.putFile("D:\\zdata_01.dsk", data.substr(0, split));
  p.putFile("D:\\zdata_02.dsk", data.substr(split));
  auto chunk = [&](int j, const std::string& member, std::size_t offset, int dir) {
    const bool second = offset >= split;
    return "f" + std::to_string(j) + "=" + member + "\nd" + std::to_string(j) + "=" + std::to_string(dir) + "\ns" +
           std::to_string(j) + "=0" + (second ? "2" : "1") + "\np" + std::to_string(j) + "=" +
           std::to_string(second ? offset - split : offset) + "\n";
  };
  std::string option = chunk(1, "a.txt", 0, 0) + "z1=" + std::to_string(a.size()) + "\n" +
                       chunk(2, "b.dll", a.size(), 1) + "z2=" + std::to_string(b.size()) + "\n" +
                       chunk(3, "c.sys", a.size() + b.size(), 3) + "z3=" + std::to_string(c.size()) + "\n" +
                       chunk(4, "shared.dll", a.size() + b.size() + c.size(), 2) +
                       "z4=" + std::to_string(shared.size()) + "\n";
  p.putFile(
      "D:\\setup.inf",
      "[kalvora]\nversion=220\nversionname=2.2\n"
      "[software]\nname=Tool\nname_display=The Tool\nmedium=1\nreadme=readme.txt\nreadmedir=\\doc\n"
      "[vercheck]\nfiles=1\n"
      "[directories]\ntotal=3\nd1_1=\\bin\\\nd1_2=%SystemRoot%\\system\\\nd1_3=%SystemRoot%\\kvtool\\sub\\\n"
      "[Option_1]\n" +
          option +
          "[extensions]\ntotal=2\ne1=tol\nn1=Tool document\no1=1\nf1=2\ne2=txt\nn2=Text\no2=1\nf2=1\n"
          "[prggrp]\ntotal=1\no1=1\nf1=2\np1=The Tool\n"
          "[ini_1]\nname=%SystemRoot%\\win.ini\nbkp=win.kvr\ns0=Main\nk0=Version\nv0=2.0\ns1=Main\nk1=Added\nv1=yes\n"
          "[sysreg]\nremove=1\ntotal=2\nk1=2\np1=Software\\Vendor\\Tool\ne1=Mode\nb1=full\n"
          "k2=3\np2=Software\\Vendor\\Tool\ne2=Path\nb2=C:\\App\n"
          "[dos]\nbkp_a=AUTOEXEC.KVR\na1=SET TOOL=1\n");
  p.putFile("D:\\readme.txt", "read me");
  p.putFile("D:\\uninst.ex_", archiveOf("uninst32.ex_", "UNINSTALLER"));
  p.putFile("D:\\zsys.re_", "REGEDIT4");
}

// The system before the run: things of others that the run changes or must leave.
inline void putSystem(MemoryPlatform& p) {
  p.putDirectory("C:\\WINDOWS\\system");
  p.putDirectory("C:\\TEMP");
  p.putDirectory("C:\\WINDOWS\\Start Menu\\Programs");
  p.setProgramsFolders("C:\\WINDOWS\\Start Menu\\Programs", "C:\\WINDOWS\\Start Menu\\Programs");
  p.putFile("C:\\WINDOWS\\system\\shared.dll", kShared);
  p.putFile("C:\\App\\a.txt", kUsersA, kUsersAttributes);
  p.setFileDosTime("C:\\App\\a.txt", kUsersTime);
  p.putFile("C:\\WINDOWS\\win.ini", "[Main]\r\nVersion=1.0\r\n");
  p.putFile("C:\\autoexec.bat", "PATH C:\\WINDOWS\r\n");
  p.putRegistryString(RegistryRoot::ClassesRoot, ".txt", "", "txtfile");
  p.createRegistryKey(RegistryRoot::LocalMachine, kUninstallListKey);
}

// What the log says of a run, read before the uninstaller takes the log away.
struct RunMarks {
  bool completed = false, replacedA = false, replacedShared = false;
};
inline RunMarks runMarksOf(MemoryPlatform& memory) {
  auto logged = [&](const char* section, const char* key) {
    return memory.readProfileString("C:\\App\\setup\\uninst.log", section, key, "");
  };
  return {logged("uninstall", "complete") == "1", !logged("files", "bak1").empty(),
          !logged("systemroot", "bak2").empty()};
}

// What the uninstaller must leave: the system before the run, except that a
// complete run keeps no backups, so a file of the target it replaced was its
// own to remove, and a shared file it replaced stays as installed (it was
// there before with no count).
inline Snapshot expectedAfter(Snapshot expected, const Snapshot& after, const RunMarks& marks) {
  if (marks.completed && marks.replacedA) {
    expected.files.erase("C:\\APP\\A.TXT");
    expected.stamps.erase("C:\\APP\\A.TXT");
  }
  const std::string shared = "C:\\WINDOWS\\SYSTEM\\SHARED.DLL";
  if (marks.completed && marks.replacedShared) {
    expected.files[shared] = "new shared";
    if (after.stamps.count(shared)) expected.stamps[shared] = after.stamps.at(shared);
  }
  return expected;
}

} // namespace kalvora::testing
