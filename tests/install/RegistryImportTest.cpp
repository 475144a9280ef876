#include "install/RegistryImport.h"

#include <gtest/gtest.h>

#include "InstallFixture.h"
#include "install/RegistryChanges.h"
#include "support/PlatformSnapshot.h"
#include "uninstall/Uninstaller.h"

namespace kalvora {
namespace {

class NoWindow : public UninstallWindow {};

const char* const kFile = "REGEDIT4\r\n\r\n; a comment\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Vendor\\Tool\\Deep]\r\n"
                          "\"Name\"=\"a \\\"quoted\\\" C:\\\\path\"\r\n@=\"default\"\r\n"
                          "\"Count\"=dword:00000002\r\n\"Bin\"=hex:01,02,\\\r\n  03\r\n"
                          "[HKEY_CURRENT_USER\\Software\\Vendor]\r\n\"Same\"=\"same\"\r\n\"Old\"=\"new\"\r\n"
                          "\"Gone\"=-\r\n\"Number\"=\"now text\"\r\n"
                          "[HKEY_USERS\\.DEFAULT\\X]\r\n\"a\"=\"b\"\r\n[-HKEY_CURRENT_USER\\Software\\Doomed]\r\n";

std::string utf16(const std::string& text) {
  std::string bytes = "\xFF\xFE";
  for (char c : text)
    bytes += std::string{c, '\0'};
  return bytes;
}

// What the registry editor does with the parsed file.
void import(MemoryPlatform& p, const std::vector<ImportedValue>& values) {
  for (const ImportedValue& v : values) {
    const RegistryRoot root = v.root == 1 ? RegistryRoot::ClassesRoot : RegistryRoot::CurrentUser;
    if (v.kind == ImportedValue::Kind::KeyOnly) p.createRegistryKey(root, v.keyPath);
    if (v.kind == ImportedValue::Kind::Text) p.writeRegistryString(root, v.keyPath, v.name, v.data);
    if (v.kind == ImportedValue::Kind::Other) p.writeRegistryDword(root, v.keyPath, v.name, 7);
    if (v.kind == ImportedValue::Kind::Deleted) p.deleteRegistryValue(root, v.keyPath, v.name);
  }
}

// Recorded before the editor starts, taken back by the uninstaller: the
// registry is as it was, values that held the imported data included; a value
// whose earlier data were not text stays and is reported.
TEST(RegistryImport, IsRecordedBeforeTheEditorRunsAndTakenBackByTheUninstaller) {
  int skipped = 0;
  const auto values = parseRegistryFile(kFile, skipped);
  ASSERT_TRUE(values);
  EXPECT_EQ(skipped, 2); // the key of another root and the deleted key
  ASSERT_EQ(values->size(), 10u);
  EXPECT_EQ((*values)[1].name, "Name");
  EXPECT_EQ((*values)[1].data, "a \"quoted\" C:\\path");
  EXPECT_EQ((*values)[2].name, "");
  EXPECT_EQ((*values)[4].kind, ImportedValue::Kind::Other);
  EXPECT_EQ((*values)[8].kind, ImportedValue::Kind::Deleted);
  int skippedWide = 0;
  const std::string version5 = std::string("Windows Registry Editor Version 5.00") + (kFile + 8);
  const auto wide = parseRegistryFile(utf16(version5), skippedWide);
  ASSERT_TRUE(wide);
  EXPECT_EQ(wide->size(), values->size());
  EXPECT_EQ((*wide)[1].data, (*values)[1].data);
  EXPECT_FALSE(parseRegistryFile("[HKEY_CURRENT_USER\\X]\r\n", skipped));

  testing::InstallFixture f("[software]\nname=Tool\n");
  f.platform.putFile("D:\\zsys.re_", kFile);
  f.platform.createRegistryKey(RegistryRoot::LocalMachine, "Software");
  // Windows always has the list of programs, where the run registers itself while under way.
  f.platform.createRegistryKey(RegistryRoot::LocalMachine, kUninstallListKey);
  for (const char* name : {"Same", "Old", "Gone"})
    f.platform.putRegistryString(RegistryRoot::CurrentUser, "Software\\Vendor", name,
                                 name == std::string("Same") ? "same" : "old");
  const testing::PlatformSnapshot before = testing::snapshotOf(f.platform);
  f.platform.writeRegistryDword(RegistryRoot::CurrentUser, "Software\\Vendor", "Number", 5);
  EXPECT_EQ(f.activate(), "");
  EXPECT_EQ(f.platform.startedPrograms().back(), "regedit /iD:\\zsys.re_");
  EXPECT_EQ(f.log("import", "new1"), "Software\\Vendor\\Tool");
  EXPECT_EQ(f.log("import", "had7"), "1");
  EXPECT_EQ(f.log("import", "o7"), "same");
  EXPECT_EQ(f.log("import", "had10"), "1");
  EXPECT_EQ(f.log("import", "o10"), "<none>");
  import(f.platform, *values);

  NoWindow window;
  EXPECT_EQ(runUninstaller(f.platform, "C:\\App\\setup\\uninst.log /silent", window), kLeftSome);
  EXPECT_EQ(f.platform.readRegistryString(RegistryRoot::CurrentUser, "Software\\Vendor", "Number"), "now text");
  f.platform.deleteRegistryValue(RegistryRoot::CurrentUser, "Software\\Vendor", "Number");
  testing::PlatformSnapshot after = testing::snapshotOf(f.platform);
  EXPECT_EQ(after.registry, before.registry);
}

} // namespace
} // namespace kalvora
