// The rollback's account in the log of a run with switches.
#include <gtest/gtest.h>

#include "app/UnattendedPlatform.h"
#include "platform/MemoryPlatform.h"

namespace kalvora {
namespace {

// An uninstaller that appends its account to unkalvora.log, as the real one does.
class AppendingUninstaller : public MemoryPlatform {
public:
  std::optional<std::uint32_t> runHiddenProgram(const std::string&) override {
    const std::string path = tempDirectory() + "\\unkalvora.log";
    putFile(path, readFileText(path).value_or("") + "12:00:01 removed file C:\\App\\a.txt\r\n" +
                      "12:00:01 done 1 removed, 0 left\r\n");
    return 0u;
  }
};

// The file holds earlier runs' accounts too, which would tell of removals
// this rollback never made (and of things they left): only its own lines are copied.
TEST(UnattendedPlatform, CopiesOnlyTheRollbacksOwnAccountIntoTheLog) {
  AppendingUninstaller memory;
  memory.putFile(memory.tempDirectory() + "\\unkalvora.log", "11:00:00 done 38 removed, 10 left\r\n");
  SetupSwitches switches;
  switches.mode = UiMode::Quiet;
  SetupLog log;
  UnattendedPlatform platform(memory, switches, log);

  EXPECT_EQ(platform.runHiddenProgram("C:\\WINDOWS\\unkalvora.exe C:\\App\\setup\\uninst.log /silent"), 0u);
  std::string all;
  for (const std::string& line : log.lines())
    all += line + "\n";
  EXPECT_EQ(all.find("38 removed"), std::string::npos) << all;
  EXPECT_NE(all.find("rollback 12:00:01 removed file C:\\App\\a.txt"), std::string::npos) << all;
  EXPECT_NE(all.find("rollback 12:00:01 done 1 removed, 0 left"), std::string::npos) << all;
  EXPECT_EQ(log.lines().size(), 4u) << all; // the command line, two lines of the account, the result
}

} // namespace
} // namespace kalvora
