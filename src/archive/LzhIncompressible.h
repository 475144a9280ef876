#pragma once
// A quick test, far cheaper than encoding, for data that LZH cannot shrink:
// already compressed files (archives, pictures, installers). Such data has
// bytes spread evenly in every stretch and next to no repeats of three bytes
// or more within the window a match can reach, and its LZH stream comes out a
// little larger than the data.
#include <cstdint>
#include <span>

namespace kalvora {

// True only when every 16 KiB stretch holds its bytes spread nearly evenly
// and fewer than 1 in 200 positions start a repeat of three bytes seen in the
// 4,096 bytes before; data under 16 KiB is never judged so (it is cheap to
// encode and compare).
bool lzhCannotShrink(std::span<const std::uint8_t> data);

} // namespace kalvora
