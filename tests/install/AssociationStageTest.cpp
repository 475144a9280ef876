#include "install/AssociationStage.h"

#include <gtest/gtest.h>

#include "InstallFixture.h"

namespace kalvora {
namespace {

using testing::InstallFixture;

// The run's state as the association stage finds it: script copy, open log, Windows directory.
struct AssociationRun : InstallFixture {
  explicit AssociationRun(const std::string& script, bool logEnabled = true) : InstallFixture(script) {
    platform.putDirectory("C:\\App\\setup");
    run().SetupCopy = std::make_unique<SetupScript>("D:\\setup.inf", platform);
    run().WindowsDir = "C:\\WINDOWS";
    run().LogEnabled = logEnabled;
    if (logEnabled) run().Log.open("C:\\App\\setup\\uninst.log", platform);
    state.Setup.TextTable[23] = "Associations";
  }
  std::string value(const std::string& key) {
    return platform.readRegistryString(RegistryRoot::ClassesRoot, key, "").value_or("<none>");
  }
};

const char* const kScript = "[directories]\nd1_1=\\bin\\\nd1_2=%SystemRoot%\\system\\\n"
                            "[Option_1]\nf1=edit.exe\nd1=1\nf2=view.exe\nf3=sys.exe\nd3=2\n"
                            "[extensions]\ne1=_\ne2=Txt\nn2=Text document\no2=1\nf2=1\n"
                            "e3=pic\nn3=Picture\no3=1\nf3=2\ne4=bad\n";

TEST(AssociationStage, RegistersEachExtensionAndLogsThemDensely) {
  AssociationRun f(kScript);
  EXPECT_TRUE(associationStage(f.run()));
  // The first slot is empty: the script's e2 is the log's e1.
  EXPECT_EQ(f.log("extensions", "e1"), "Txt");
  EXPECT_EQ(f.log("extensions", "e2"), "pic");
  EXPECT_EQ(f.log("extensions", "e3"), "bad");
  EXPECT_EQ(f.log("extensions", "total"), "3");

  EXPECT_EQ(f.value(".Txt"), "Txtautofile");
  EXPECT_EQ(f.value("Txtautofile"), "Text document");
  EXPECT_EQ(f.value("Txtautofile\\DefaultIcon"), "C:\\App\\bin\\\\edit.exe,1");
  EXPECT_EQ(f.value("Txtautofile\\shell\\open\\command"), "C:\\App\\bin\\\\edit.exe %1");
  // Directory number 0: the program lies in the target directory itself.
  EXPECT_EQ(f.value("picautofile\\shell\\open\\command"), "C:\\App\\view.exe %1");
  // No option or entry: the path names the target directory, still written.
  EXPECT_EQ(f.value("badautofile\\DefaultIcon"), "C:\\App\\,1");
  EXPECT_EQ(f.value("badautofile"), "");
  // Every one of the 150 default slots is scanned, each with its caption.
  EXPECT_EQ(f.view.labels.size(), 150u);
  EXPECT_EQ(f.view.labels.back(), "Associations");
}

TEST(AssociationStage, ScansOnlyTheSlotsOfTotal) {
  AssociationRun f("[extensions]\ntotal=1\ne1=one\ne2=two\n");
  EXPECT_TRUE(associationStage(f.run()));
  EXPECT_EQ(f.value(".one"), "oneautofile");
  EXPECT_EQ(f.value(".two"), "<none>");
  EXPECT_EQ(f.log("extensions", "total"), "1");

  AssociationRun none("[extensions]\ntotal=0\ne1=one\n");
  EXPECT_TRUE(associationStage(none.run()));
  EXPECT_EQ(none.value(".one"), "<none>");
  EXPECT_EQ(none.log("extensions", "total"), "0");
  EXPECT_TRUE(none.view.labels.empty());
}

TEST(AssociationStage, RecordsWhatEachValueHeldBeforeAndARefusedWriteEndsTheStage) {
  AssociationRun f(kScript);
  f.platform.putRegistryString(RegistryRoot::ClassesRoot, ".pic", "", "OtherApp.Picture");
  f.platform.putRegistryString(RegistryRoot::ClassesRoot, "OtherApp.Picture", "", "Other");
  f.platform.putRegistryString(RegistryRoot::ClassesRoot, "picautofile", "", "Picture"); // what the run writes
  EXPECT_TRUE(associationStage(f.run()));
  EXPECT_EQ(f.value(".pic"), "picautofile");
  EXPECT_EQ(f.value("OtherApp.Picture"), "Other");
  // Each value's state before it was written, equal data included, and the data written.
  EXPECT_EQ(f.log("extensions", "had2"), "1");
  EXPECT_EQ(f.log("extensions", "o2"), "OtherApp.Picture");
  EXPECT_EQ(f.log("extensions", "hd2"), "1");
  EXPECT_EQ(f.log("extensions", "od2"), "Picture");
  EXPECT_EQ(f.log("extensions", "vd2"), "Picture");
  EXPECT_EQ(f.log("extensions", "had1"), "0");
  EXPECT_EQ(f.log("extensions", "o1"), "<none>");
  EXPECT_EQ(f.log("extensions", "hc1"), "0");
  EXPECT_EQ(f.log("extensions", "vc1"), "C:\\App\\bin\\\\edit.exe %1");
  // A second run finds its own values and keeps the first run's records.
  EXPECT_TRUE(associationStage(f.run()));
  EXPECT_EQ(f.log("extensions", "o2"), "OtherApp.Picture");
  EXPECT_EQ(f.log("extensions", "had1"), "0");
  EXPECT_EQ(f.log("extensions", "hc1"), "0");

  AssociationRun refused(kScript);
  refused.platform.refuseRegistryKey(RegistryRoot::ClassesRoot, "Txtautofile");
  EXPECT_FALSE(associationStage(refused.run()));
  EXPECT_EQ(refused.error(), "Erzeugung von Schlüssel Txtautofile misslungen");
  EXPECT_EQ(refused.value(".Txt"), "Txtautofile");
  EXPECT_EQ(refused.value(".pic"), "<none>");
  EXPECT_EQ(refused.log("extensions", "total"), "1");
}

TEST(AssociationStage, NamesAProgramBelowTheWindowsDirectoryWhereTheFileStagePutIt) {
  AssociationRun f("[directories]\nd1_2=%SystemRoot%\\system\\\n[Option_1]\nf3=sys.exe\nd3=2\n"
                   "[extensions]\ntotal=1\ne1=drv\no1=1\nf1=3\n");
  EXPECT_TRUE(associationStage(f.run()));
  EXPECT_EQ(f.value("drvautofile\\shell\\open\\command"), "C:\\WINDOWS\\system\\\\sys.exe %1");
}

TEST(AssociationStage, SkipsExtensionsThatNameNoExtension) {
  // An empty value, or a backslash that would reach into another key.
  AssociationRun f("[extensions]\ntotal=3\ne1=\ne2=txt\\shell\ne3=ok\n");
  EXPECT_TRUE(associationStage(f.run()));
  EXPECT_EQ(f.value("."), "<none>");
  EXPECT_EQ(f.value(".txt\\shell"), "<none>");
  EXPECT_EQ(f.log("extensions", "e1"), "ok");
  EXPECT_EQ(f.log("extensions", "total"), "1");
}

TEST(AssociationStage, RegistersWithoutALog) {
  AssociationRun f("[extensions]\ntotal=1\ne1=doc\n", false);
  EXPECT_TRUE(associationStage(f.run()));
  EXPECT_EQ(f.value(".doc"), "docautofile");
  EXPECT_FALSE(f.platform.fileExists("C:\\App\\setup\\uninst.log"));
}

} // namespace
} // namespace kalvora
