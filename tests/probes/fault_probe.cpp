// Commits the fault its argument names, with the run-time of setup.exe and
// unkalvora.exe, so that a test can see how such a program ends:
//   fault_probe FAULT                  as unkalvora.exe: nothing prepared
//   fault_probe FAULT quiet|tell FILE  as setup.exe during an installation: on
//                                      the fault a message (tell) and the start
//                                      of "fault_probe mark FILE", the rollback's stand-in
//   fault_probe mark FILE              creates FILE
// FAULT: index (a throw helper), memory (operator new), terminate, access (an
// access violation), none.
#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/Win32ProgramFault.h"

namespace {

int commit(const char* fault, int argc) {
  if (std::strcmp(fault, "index") == 0) {
    const std::vector<int> none;
    return none.at(static_cast<std::size_t>(argc));
  }
  if (std::strcmp(fault, "memory") == 0) {
    volatile std::size_t size = 0x7FFFFFF0; // more than a 32-bit process can have in one piece
    char* bytes = new char[size];
    bytes[size - 1] = 1;
    const int last = bytes[size - 1];
    delete[] bytes;
    return last;
  }
  if (std::strcmp(fault, "terminate") == 0) std::terminate();
  if (std::strcmp(fault, "access") == 0) {
    // Memory reserved and never made accessible (address 0 may be mapped under Wine).
    auto* volatile nowhere = static_cast<int*>(VirtualAlloc(nullptr, 4096, MEM_RESERVE, PAGE_NOACCESS));
    *nowhere = argc;
    return 1;
  }
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 0;
  if (std::strcmp(argv[1], "mark") == 0) {
    std::FILE* marker = argc > 2 ? std::fopen(argv[2], "w") : nullptr;
    return marker && std::fclose(marker) == 0 ? 0 : 1;
  }
  if (argc > 3) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    kalvora::setFaultMessage(std::strcmp(argv[2], "tell") == 0);
    kalvora::systemPlatform().prepareFaultRollback(std::string("\"") + self + "\" mark \"" + argv[3] + "\"");
  }
  return commit(argv[1], argc);
}
