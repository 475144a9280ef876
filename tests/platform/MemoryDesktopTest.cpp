// The in-memory platform's desktop: registry, message boxes and program starts,
// which the start-up tests rely on.
#include <gtest/gtest.h>

#include "platform/MemoryPlatform.h"

namespace kalvora {
namespace {

TEST(MemoryDesktop, RegistryKeysAndValuesMatchWithoutCaseWithOrWithoutLeadingBackslash) {
  MemoryPlatform p;
  p.putRegistryString(RegistryRoot::LocalMachine, "\\Software\\Vendor\\App", "Version", "7");
  EXPECT_EQ(p.readRegistryString(RegistryRoot::LocalMachine, "SOFTWARE\\vendor\\app", "version"), "7");
  EXPECT_EQ(p.readRegistryString(RegistryRoot::CurrentUser, "Software\\Vendor\\App", "Version"), std::nullopt);
  EXPECT_EQ(p.readRegistryString(RegistryRoot::LocalMachine, "Software\\Vendor\\App", "Other"), std::nullopt);
  EXPECT_EQ(p.readRegistryString(RegistryRoot::LocalMachine, "Software\\Vendor", "Version"), std::nullopt);
  p.refuseRegistryKey(RegistryRoot::LocalMachine, "software\\vendor\\app");
  EXPECT_EQ(p.readRegistryString(RegistryRoot::LocalMachine, "\\Software\\Vendor\\App", "Version"), std::nullopt);
}

TEST(MemoryDesktop, BoxesTakeQueuedAnswersThenTheFirstButton) {
  MemoryPlatform p;
  p.answerNextBox(MessageResult::No);
  EXPECT_EQ(p.messageBox("a", "c", MessageButtons::YesNo, MessageIcon::None), MessageResult::No);
  EXPECT_EQ(p.messageBox("b", "c", MessageButtons::YesNo, MessageIcon::None), MessageResult::Yes);
  EXPECT_EQ(p.messageBox("c", "c", MessageButtons::OkCancel, MessageIcon::Error), MessageResult::Ok);
  ASSERT_EQ(p.shownBoxes().size(), 3u);
  EXPECT_EQ(p.shownBoxes()[2].icon, MessageIcon::Error);
  EXPECT_TRUE(p.startProgram("x.exe a"));
  EXPECT_EQ(p.startedPrograms(), std::vector<std::string>{"x.exe a"});
}

TEST(MemoryDesktop, QuitRequestIsSeenByTheStopCheck) {
  MemoryPlatform p;
  EXPECT_FALSE(p.terminated());
  p.requestQuit();
  EXPECT_TRUE(p.terminated());
}

} // namespace
} // namespace kalvora
