#include "install/SetupLog.h"

#include <gtest/gtest.h>

#include <regex>

#include "platform/MemoryPlatform.h"

namespace kalvora {
namespace {

TEST(SetupLog, LinesHeldBeforeTheOpenAreWrittenFirstAfterWhatTheFileHeld) {
  MemoryPlatform platform;
  platform.putFile("C:\\w\\setup.log", "01:02:03 done earlier run\r\n");
  SetupLog log;
  log.line("dir", "C:\\w"); // before the clock and the file
  log.setClock(platform);
  log.line("start", "");
  log.open("C:\\w\\setup.log", platform);
  log.line("file", "C:\\w\\a.exe");
  const std::string text = platform.fileContent("C:\\w\\setup.log").value_or("");
  const std::regex expected("01:02:03 done earlier run\r\n"
                            "--:--:-- dir C:\\\\w\r\n"
                            "\\d\\d:\\d\\d:\\d\\d start\r\n"
                            "\\d\\d:\\d\\d:\\d\\d file C:\\\\w\\\\a\\.exe\r\n");
  EXPECT_TRUE(std::regex_match(text, expected)) << text;
  log.close();
  log.line("cancelled", "after the close");
  EXPECT_EQ(platform.fileContent("C:\\w\\setup.log").value_or(""), text);
  EXPECT_EQ(log.lines().size(), 4u);
}

} // namespace
} // namespace kalvora
