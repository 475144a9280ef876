#include "install/DecodeAhead.h"

#include <cstring>

#include "archive/ArchiveFormat.h"
#include "archive/MemberPaths.h"
#include "archive/Volumes.h"

namespace kalvora {
namespace {

// A chunk that runs on through more volumes than this is left to the run.
constexpr std::int64_t kMostContinuations = 99;

} // namespace

DecodeAhead::DecodeAhead(Platform& platform, TCompress& component, std::string sourceDir,
                         std::vector<PlannedFile> files, RunContext::AheadCounts& counts)
    : platform_(platform), component_(component), sourceDir_(std::move(sourceDir)), files_(std::move(files)),
      counts_(counts) {
  if (files_.empty()) return;
  worker_ = platform_.startWorker([this](Worker& worker) { work(worker); });
  if (worker_) component_.Shortcut = this;
}

DecodeAhead::~DecodeAhead() {
  component_.Shortcut = nullptr;
  if (!worker_) return;
  stop_ = true;
  worker_->wakeWorker();
  worker_.reset(); // waits for the worker to end
}

void DecodeAhead::letGoBefore(std::size_t index) {
  for (auto it = ready_.begin(); it != ready_.end() && it->first < index;) {
    held_ -= it->second->bytesHeld();
    it = ready_.erase(it);
  }
}

bool DecodeAhead::hasRoom() const { return ready_.size() < kFilesAhead && held_ + kMemberBytes <= kHeldBytes; }

bool DecodeAhead::workerToWake() {
  // A worker that waits for room sleeps until there is room for several files:
  // every wake is a round trip through the system.
  const bool roomy = ready_.size() <= kFilesAhead / 2 && held_ + 2 * kMemberBytes <= kHeldBytes;
  if (!workerWaits_ || !roomy) return false;
  workerWaits_ = false;
  return true;
}

void DecodeAhead::reach(std::size_t index) {
  if (!worker_) return;
  bool wake;
  {
    WorkerLock hold(*worker_);
    current_ = index;
    letGoBefore(index);
    wake = workerToWake();
  }
  if (wake) worker_->wakeWorker();
}

std::optional<ExpansionShortcut::Expansion> DecodeAhead::expand(std::uint8_t method, const ExpandJob& job) {
  if (!worker_) return std::nullopt;
  std::unique_ptr<RecordedExpansion> recorded;
  {
    WorkerLock hold(*worker_);
    const std::size_t index = current_;
    Volume volume;
    while (!ready_.count(index)) {
      if (workerAt_ == index) {
        // The decoding is done once: meanwhile the owner decodes coming files, or waits.
        if (const auto coming = claimable()) {
          decodeClaimed(*worker_, *coming, volume);
        } else {
          const bool wake = workerToWake();
          ownerWaits_ = true;
          worker_->unlock();
          if (wake) worker_->wakeWorker();
          worker_->waitForWorker();
          worker_->lock();
        }
      } else if (claimed_ <= index && mediumPays_ && !stop_) {
        claimed_ = index + 1; // the worker has not come to it: the owner decodes it itself
        decodeClaimed(*worker_, index, volume);
      } else {
        break; // passed over
      }
    }
    if (const auto it = ready_.find(index); it != ready_.end() && it->second->fits(method, job)) {
      held_ -= it->second->bytesHeld();
      recorded = std::move(it->second);
      ready_.erase(it);
    }
  }
  if (!recorded) return std::nullopt;
  const RecordedExpansion::Outcome outcome = recorded->replay(job);
  ++counts_.replayed;
  if (outcome.handedOver) ++counts_.handedOver;
  return Expansion{outcome.checksum, outcome.written};
}

std::optional<std::size_t> DecodeAhead::claimable() {
  const std::size_t next = std::max(claimed_, current_);
  if (stop_ || !mediumPays_ || next >= files_.size() || !hasRoom()) return std::nullopt;
  claimed_ = next + 1;
  return next;
}

void DecodeAhead::decodeClaimed(Worker& worker, std::size_t index, Volume& volume) {
  worker.unlock();
  // Null when abandoned or out of memory: the run decodes this one itself.
  std::unique_ptr<RecordedExpansion> recorded = decode(files_[index], volume);
  worker.lock();
  if (recorded && index >= current_) {
    held_ += recorded->bytesHeld();
    ready_[index] = std::move(recorded);
  }
}

bool DecodeAhead::claimNext(Worker& worker, std::size_t& next) {
  WorkerLock hold(worker);
  for (;;) {
    if (std::max(claimed_, current_) >= files_.size() || stop_ || !mediumPays_) return false;
    if (const auto claimed = claimable()) {
      next = *claimed;
      workerAt_ = next;
      return true;
    }
    // No volume is held open while idle: the user may be changing disks.
    workerVolume_.stream.reset();
    workerWaits_ = true;
    worker.unlock();
    worker.waitForOwner();
    worker.lock();
  }
}

void DecodeAhead::work(Worker& worker) {
  for (std::size_t next = 0; claimNext(worker, next);) {
    {
      WorkerLock hold(worker);
      decodeClaimed(worker, next, workerVolume_);
      workerAt_.reset();
    }
    wakeWaitingOwner(worker);
  }
  workerVolume_.stream.reset();
}

void DecodeAhead::wakeWaitingOwner(Worker& worker) {
  bool wake;
  {
    WorkerLock hold(worker);
    wake = ownerWaits_;
    ownerWaits_ = false;
  }
  if (wake) worker.wakeOwner();
}

Stream* DecodeAhead::volumeAt(const std::string& name, Volume& volume) {
  const std::string path = sourceDir_ + name;
  if (!volume.stream || path != volume.path) {
    volume.stream = platform_.openFileForWorker(path);
    volume.path = path;
  }
  return volume.stream.get();
}

std::optional<RecordedExpansion::Bytes> DecodeAhead::readChunk(const Chunk& chunk, Volume& from) {
  if (chunk.offset < 0 || chunk.size <= 0 || chunk.size > static_cast<std::int64_t>(kMemberBytes)) return std::nullopt;
  RecordedExpansion::Bytes bytes;
  if (!bytes.allocate(static_cast<std::size_t>(chunk.size))) return std::nullopt;
  bytes.size = bytes.capacity;
  Stream* volume = volumeAt(firstVolumeName(chunk.volumeText), from);
  if (!volume) return std::nullopt;
  volume->seek(chunk.offset);
  std::size_t done = 0;
  // As the run copies it: where a volume ends, the chunk goes on at the start of the next.
  for (std::int64_t continuation = 1;; ++continuation) {
    done += volume->read(bytes.items.get() + done, bytes.size - done);
    if (done == bytes.size) return bytes;
    if (stop_ || continuation > kMostContinuations) return std::nullopt;
    volume = volumeAt(volumeFileName(chunk.volumeNumber + continuation), from);
    if (!volume) return std::nullopt;
  }
}

// The member the component will expand for this file: the first of that name,
// found as the component's walk finds it.
std::unique_ptr<RecordedExpansion> DecodeAhead::decode(const PlannedFile& file, Volume& volume) {
  auto bytes = readChunk(file.chunk, volume);
  if (!bytes) return nullptr;
  const std::uint8_t* const archive = bytes->items.get();
  if (bytes->size < kArchiveHeaderSize || std::memcmp(archive, kArchiveMagic, sizeof kArchiveMagic)) return nullptr;
  const ArchiveHeader header = decodeArchiveHeader(archive);
  if (header.archiveType != kArchiveTypeMultiFile || header.totalExpandedSize <= 0) return nullptr;
  // RLE expands about as fast as its bytes are copied: ahead it would only
  // cost. A medium's chunks all have the same tag, so the worker ends here.
  if (header.compressIdText() != "LZH") {
    mediumPays_ = false;
    return nullptr;
  }
  const auto size = static_cast<std::int64_t>(bytes->size);
  constexpr auto kHeader = static_cast<std::int64_t>(kMemberHeaderSize);
  for (auto at = static_cast<std::int64_t>(kArchiveHeaderSize); at + kHeader <= size;) {
    const MemberHeader member = decodeMemberHeader(archive + at);
    const std::int64_t data = at + kHeader + member.nameLength;
    if (member.nameLength < 0 || data > size || member.compressedSize < 0) return nullptr;
    const std::string name(reinterpret_cast<const char*>(archive + at + kHeader),
                           static_cast<std::size_t>(member.nameLength));
    if (sameMemberName(file.member, name)) {
      if (member.method != kMethodLzh || member.expandedSize < 0 ||
          static_cast<std::uint64_t>(member.expandedSize) + bytes->size > kMemberBytes)
        return nullptr;
      return RecordedExpansion::make(std::move(*bytes), data, member.method, member.compressedSize, member.expandedSize,
                                     &stop_);
    }
    at = data + member.compressedSize;
  }
  return nullptr;
}

} // namespace kalvora
