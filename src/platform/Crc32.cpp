#include "platform/Crc32.h"

namespace kalvora {
namespace {

// Eight tables: eight bytes a step, as fast as the file is read from the cache.
// They are filled when the program starts rather than stored in it: 8 KB less
// for setup.exe to carry, before any thread that sums a file exists.
struct Tables {
  std::uint32_t t[8][256];

  Tables() {
    for (std::uint32_t i = 0; i < 256; ++i) {
      std::uint32_t c = i;
      for (int k = 0; k < 8; ++k)
        c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[0][i] = c;
    }
    for (std::size_t s = 1; s < 8; ++s)
      for (std::size_t i = 0; i < 256; ++i)
        t[s][i] = (t[s - 1][i] >> 8) ^ t[0][t[s - 1][i] & 0xFF];
  }
};

const Tables kTables;

} // namespace

std::uint32_t crc32Update(std::uint32_t crc, const void* data, std::size_t n) {
  const auto* p = static_cast<const std::uint8_t*>(data);
  for (; n >= 8; n -= 8, p += 8) {
    const std::uint32_t lo =
        crc ^ (std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
    crc = kTables.t[7][lo & 0xFF] ^ kTables.t[6][(lo >> 8) & 0xFF] ^ kTables.t[5][(lo >> 16) & 0xFF] ^
          kTables.t[4][lo >> 24] ^ kTables.t[3][p[4]] ^ kTables.t[2][p[5]] ^ kTables.t[1][p[6]] ^ kTables.t[0][p[7]];
  }
  for (; n > 0; --n, ++p)
    crc = kTables.t[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
  return crc;
}

} // namespace kalvora
