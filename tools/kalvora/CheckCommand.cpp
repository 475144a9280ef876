// kalvora check: reads a medium as the setup program will.
#include <cstdio>
#include <string>
#include <vector>

#include "Command.h"
#include "media/MediumCheck.h"
#include "platform/Platform.h"

namespace kalvora::tool {
namespace {

const char* const kHelp = "usage: kalvora check MEDIUM\n"
                          "\n"
                          "Reads the medium in the directory MEDIUM (the one that holds setup.inf; for a\n"
                          "floppy set its disk1, beside disk2, disk3, ...) as the setup program will:\n"
                          "setup.inf, every option's file entries, each chunk across the volumes, the\n"
                          "expansion and checksum of every compressed chunk, the space figures the\n"
                          "wizard shows, the pictures, the readme and the uninstaller.\n"
                          "\n"
                          "Prints a summary, then every warning and fault. The exit status is 1 when\n"
                          "there is a fault. A missing setup.exe is a warning, not a fault, so that a\n"
                          "medium can be checked before its setup program is added.\n";

int runCheck(const std::vector<std::string>& args) {
  if (args.size() != 1 || (!args[0].empty() && args[0][0] == '-')) throw UsageError("give one medium directory");
  const media::CheckReport report = media::checkMedium(systemPlatform(), args[0]);
  for (const auto& line : report.summary)
    std::printf("%s\n", line.c_str());
  for (const auto& w : report.warnings)
    std::printf("warning: %s\n", w.c_str());
  for (const auto& f : report.faults)
    std::printf("fault: %s\n", f.c_str());
  if (report.ok()) {
    std::printf("medium OK\n");
    return 0;
  }
  std::printf("%zu fault%s\n", report.faults.size(), report.faults.size() == 1 ? "" : "s");
  return 1;
}

} // namespace

KALVORA_COMMAND({"check", "verify a distribution medium as the setup program reads it", kHelp, runCheck});

} // namespace kalvora::tool
