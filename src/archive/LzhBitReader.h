#pragma once
// The LZH decoder's bit reader, most significant bit first. Bits are kept in a
// 64-bit buffer filled from the ByteSource's chunk as far as it goes; a new chunk
// is loaded only when a read finds 8 or fewer bits left, the moment a reader
// fetching one byte at a time would load it, so progress reports fall the same.
// A byte fetched at end of input reads as 0.
//
// A decoder may also top the buffer up from the current chunk, peek and skip:
// bits taken that way are safe as long as every read it stands for would have
// found more than 8 bits left, that is while buffered() stays above 8 bits past
// the start of the last such read.
#include <bit>
#include <cstdint>
#include <cstring>

#include "archive/ByteSource.h"

namespace kalvora::lzh {

inline std::uint64_t loadBigEndian64(const std::uint8_t* p) {
  std::uint64_t v;
  std::memcpy(&v, p, sizeof v);
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  return v;
}

class BitReader {
public:
  explicit BitReader(ByteSource& in) : in_(in) {}

  unsigned bit() {
    need();
    const auto b = static_cast<unsigned>(bits_ >> 63);
    bits_ <<= 1;
    --count_;
    return b;
  }
  // n from 1 to 8.
  unsigned bits(unsigned n) {
    need();
    const auto v = static_cast<unsigned>(bits_ >> (64 - n));
    bits_ <<= n;
    count_ -= n;
    return v;
  }
  // Moves whole bytes of the current chunk into the buffer, never loading one.
  // With fewer than 64 bits buffered.
  void topUp() {
    const std::uint8_t* p = in_.cursor();
    if (in_.end() - p >= 8) {
      // Whole bytes up to 56..63 bits; the part of the next byte that fits goes
      // in too, but is ORed again, unchanged, when that byte is taken.
      bits_ |= loadBigEndian64(p) >> count_;
      const unsigned take = (63 - count_) >> 3;
      in_.setCursor(p + take);
      count_ += take * 8;
    } else {
      takeBytes();
    }
  }
  unsigned buffered() const { return count_; }
  // The next 32 bits, read or not.
  std::uint32_t peek32() const { return static_cast<std::uint32_t>(bits_ >> 32); }
  // n below 64 and at most buffered().
  void skip(unsigned n) {
    bits_ <<= n;
    count_ -= n;
  }

  // Zero bytes handed in after the end of input.
  std::uint32_t zeroFill() const { return zeroFill_; }

private:
  void need() {
    if (count_ <= 8) refill();
  }
  void refill();
  // The bytes of a short rest of the chunk that fit.
  void takeBytes() {
    const std::uint8_t* p = in_.cursor();
    for (const std::uint8_t* end = in_.end(); p != end && count_ <= 56; ++p, count_ += 8)
      bits_ |= static_cast<std::uint64_t>(*p) << (56 - count_);
    in_.setCursor(p);
  }

  ByteSource& in_;
  std::uint64_t bits_ = 0; // the next bit at the top; bits below count_ are 0 or the coming ones
  unsigned count_ = 0;
  std::uint32_t zeroFill_ = 0;
};

inline void BitReader::refill() {
  for (;;) {
    topUp();
    if (count_ > 8) return;
    if (!in_.load()) {
      ++zeroFill_;
      count_ += 8;
      return;
    }
  }
}

} // namespace kalvora::lzh
