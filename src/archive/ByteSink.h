#pragma once
// Buffered output of one member's expanded bytes: written to the output stream
// in blocks of 8192 bytes, each block added to the running checksum. A decoder
// writes through a plain pointer; the buffer keeps an optional history of the
// bytes before the current block (the LZH window) and slack past its end, so a
// run or a match may overrun the block before it is flushed.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/Platform.h"

namespace kalvora {

class ByteSink {
public:
  static constexpr std::size_t kBlockSize = 8192;
  static constexpr std::size_t kSlack = 512; // longest overrun: an RLE run of 254 bytes

  // history bytes before the first block read as historyFill.
  ByteSink(Stream& dest, Platform& platform, std::size_t history = 0, std::uint8_t historyFill = 0);

  std::uint8_t* begin() const { return block_; }
  std::uint8_t* blockEnd() const { return block_ + kBlockSize; }

  // With out at or past blockEnd(): yields, writes the full block, moves the
  // history and the overrun down, and returns where writing goes on. A refused
  // write is kept: the decoder then stops as at end of input (see failed()).
  std::uint8_t* flush(std::uint8_t* out);
  // Whether a block could not be written. Checked per block, so that the
  // decoding loops do not test it per byte.
  bool failed() const { return failed_; }
  // Writes the bytes up to out; the checksum of every byte delivered, or the
  // write error (EWriteError: a short write), also one that ended a flush.
  Result<std::uint32_t> finish(std::uint8_t* out);

private:
  Stream& dest_;
  Platform& platform_;
  std::size_t history_;
  std::unique_ptr<std::uint8_t[]> buffer_;
  std::uint8_t* block_;
  std::uint32_t checksum_ = 0;
  bool failed_ = false;
};

} // namespace kalvora
