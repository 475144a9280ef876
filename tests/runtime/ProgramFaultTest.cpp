// How setup.exe and unkalvora.exe end when they cannot go on: at once, with
// their own exit code (the C run-time's abort() would give 3, setup.exe's
// code for an installed copy). Under Wine only: the probe is a Windows program.
#ifdef _WIN32
#include <gtest/gtest.h>

#include "runtime/ProgramFault.h"
#include "support/RunProcess.h"

namespace kalvora {
namespace {

TEST(ProgramFault, EndsAtOnceWithItsOwnExitCode) {
  for (const char* fault : {"index", "memory"}) {
    const testing::ProcessResult result = testing::runProcess(testing::hostPath(KALVORA_FAULT_PROBE), {fault});
    EXPECT_EQ(result.exitCode, static_cast<int>(kExitProgramFault)) << fault;
  }
  EXPECT_EQ(testing::runProcess(testing::hostPath(KALVORA_FAULT_PROBE), {"none"}).exitCode, 0);
}

} // namespace
} // namespace kalvora
#endif
