#include "archive/ByteSink.h"

#include <cstring>

#include "archive/ArchiveFormat.h"

namespace kalvora {

ByteSink::ByteSink(Stream& dest, Platform& platform, std::size_t history, std::uint8_t historyFill)
    : dest_(dest), platform_(platform), history_(history), buffer_(new std::uint8_t[history + kBlockSize + kSlack]),
      block_(buffer_.get() + history) {
  std::memset(buffer_.get(), historyFill, history);
}

std::uint8_t* ByteSink::flush(std::uint8_t* out) {
  const auto overrun = static_cast<std::size_t>(out - blockEnd());
  platform_.yield();
  checksum_ = byteSum(block_, kBlockSize, checksum_);
  if (dest_.write(block_, kBlockSize) != kBlockSize) failed_ = true;
  std::memmove(buffer_.get(), buffer_.get() + kBlockSize, history_ + overrun);
  return block_ + overrun;
}

Result<std::uint32_t> ByteSink::finish(std::uint8_t* out) {
  if (failed_) return EWriteError(); // nothing more is written after a refused block
  const auto count = static_cast<std::size_t>(out - block_);
  checksum_ = byteSum(block_, count, checksum_);
  if (Status written = dest_.writeBuffer(block_, count); !written.ok()) return written.error();
  return checksum_;
}

} // namespace kalvora
