// Commits the fault its argument names, with the run-time of setup.exe and
// unkalvora.exe, so that a test can see how such a program ends.
#include <cstddef>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
  if (argc < 2) return 0;
  if (std::strcmp(argv[1], "index") == 0) {
    const std::vector<int> none;
    return none.at(static_cast<std::size_t>(argc));
  }
  if (std::strcmp(argv[1], "memory") == 0) {
    volatile std::size_t size = 0x7FFFFFF0; // more than a 32-bit process can have in one piece
    char* bytes = new char[size];
    bytes[size - 1] = 1;
    const int last = bytes[size - 1];
    delete[] bytes;
    return last;
  }
  return 0;
}
