#include "media/EncodeAhead.h"

#include <algorithm>
#include <system_error>

namespace kalvora::media {

EncodeAhead::EncodeAhead(std::vector<std::int64_t> sizes, Encode encode, unsigned threads)
    : sizes_(std::move(sizes)), encode_(std::move(encode)), slots_(sizes_.size()) {
  if (threads < 2) return;
  threads = static_cast<unsigned>(std::min<std::size_t>(threads, sizes_.size()));
  filesAhead_ = kFilesAheadPerThread * threads; // before any thread reads it
  threads_.reserve(threads);
  try {
    for (unsigned i = 0; i < threads; ++i)
      threads_.emplace_back([this] { work(); });
  } catch (const std::system_error&) {
    // Fewer threads than asked (or none: take() then encodes) still do the work.
  }
}

EncodeAhead::~EncodeAhead() {
  {
    std::lock_guard<std::mutex> hold(lock_);
    stopping_ = true;
  }
  changed_.notify_all();
  for (auto& thread : threads_)
    thread.join();
}

unsigned EncodeAhead::defaultThreads() { return std::clamp(std::thread::hardware_concurrency(), 1u, 8u); }

bool EncodeAhead::mayClaim() const {
  if (nextClaim_ == sizes_.size()) return false;
  if (nextClaim_ == nextTake_) return true;
  return nextClaim_ - nextTake_ < filesAhead_ && heldBytes_ + sizes_[nextClaim_] <= kHeldBytes;
}

void EncodeAhead::work() {
  std::unique_lock<std::mutex> hold(lock_);
  for (;;) {
    changed_.wait(hold, [this] { return stopping_ || nextClaim_ == sizes_.size() || mayClaim(); });
    if (stopping_ || nextClaim_ == sizes_.size()) return;
    const std::size_t index = nextClaim_++;
    heldBytes_ += sizes_[index];
    hold.unlock();
    Slot slot;
    try {
      slot.done = encode_(index);
    } catch (...) {
      slot.error = std::current_exception();
    }
    hold.lock();
    slots_[index] = std::move(slot);
    changed_.notify_all();
  }
}

EncodedFile EncodeAhead::take() {
  const std::size_t index = nextTake_;
  if (threads_.empty()) {
    ++nextTake_;
    return encode_(index);
  }
  Slot slot;
  {
    std::unique_lock<std::mutex> hold(lock_);
    changed_.wait(hold, [&] { return slots_[index].done || slots_[index].error; });
    slot = std::move(slots_[index]); // never read again
    heldBytes_ -= sizes_[index];
    ++nextTake_;
  }
  changed_.notify_all();
  if (slot.error) std::rethrow_exception(slot.error);
  return std::move(*slot.done);
}

} // namespace kalvora::media
