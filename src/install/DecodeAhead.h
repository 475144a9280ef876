#pragma once
// The decode-ahead of the file stage: while the run copies and expands one
// file, a worker thread reads the chunks of the coming ones from the volumes
// that are there and expands their members in memory (RecordedExpansion).
// When the component comes to expand a member that the worker has done, the
// recording is replayed against the real files, handler and platform instead
// of decoding again; everything the run does and shows stays the same.
//
// Where the owner would wait for the worker, it decodes coming files itself.
// Only LZH members are worth it. Bounded: a few files ahead and a few tens of
// megabytes held, besides the members being decoded; a member too big for
// that, a volume that is missing or cannot be read, or a chunk that is not an
// archive is left to the run. The worker never prompts and never touches any
// file the run writes. A system with one processor gives no worker, and the
// run expands every member itself.
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "archive/RecordedExpansion.h"
#include "install/ChunkCopy.h"

namespace kalvora {

struct PlannedFile {
  std::string member; // the member name the run will ask for
  Chunk chunk;
};

class DecodeAhead : public ExpansionShortcut {
public:
  // Starts the worker when the platform gives one; component's Shortcut
  // points here until destruction, which stops and waits for the worker.
  DecodeAhead(Platform& platform, TCompress& component, std::string sourceDir, std::vector<PlannedFile> files,
              RunContext::AheadCounts& counts);
  ~DecodeAhead() override;
  DecodeAhead(const DecodeAhead&) = delete;
  DecodeAhead& operator=(const DecodeAhead&) = delete;

  // The stage has come to file number index of the plan (from 0): anything
  // done for earlier ones is let go.
  void reach(std::size_t index);

  std::optional<Expansion> expand(std::uint8_t method, const ExpandJob& job) override;

  static constexpr std::size_t kFilesAhead = 8;
  static constexpr std::size_t kHeldBytes = 32u << 20;
  static constexpr std::size_t kMemberBytes = 12u << 20; // compressed and expanded together

private:
  // A volume kept open from one chunk to the next, one for each decoding thread.
  struct Volume {
    std::unique_ptr<Stream> stream;
    std::string path;
  };

  void work(Worker& worker);
  // Waits until a file may be started and claims it; false when the worker is to end.
  bool claimNext(Worker& worker, std::size_t& next);
  // Under the lock: the next file nobody has claimed, now claimed, if there is room for it.
  std::optional<std::size_t> claimable();
  // Decodes a claimed file and keeps the result; the lock is held on entry and
  // on return. The worker's thread never reads worker_, which its owner sets.
  void decodeClaimed(Worker& worker, std::size_t index, Volume& volume);
  std::unique_ptr<RecordedExpansion> decode(const PlannedFile& file, Volume& volume);
  std::optional<RecordedExpansion::Bytes> readChunk(const Chunk& chunk, Volume& volume);
  Stream* volumeAt(const std::string& name, Volume& volume);
  void letGoBefore(std::size_t index);
  bool hasRoom() const;
  // Whether the owner is to wake the worker, which then no longer counts as waiting.
  bool workerToWake();
  void wakeWaitingOwner(Worker& worker);

  Platform& platform_;
  TCompress& component_;
  std::string sourceDir_;
  std::vector<PlannedFile> files_;
  std::unique_ptr<Worker> worker_;

  // Shared with the worker, under its lock. Either side decodes: the owner
  // too, where it would otherwise wait.
  std::size_t current_ = 0;             // the file the stage is at
  std::size_t claimed_ = 0;             // every file before this is claimed or passed over
  std::optional<std::size_t> workerAt_; // the file the worker decodes
  std::atomic<bool> mediumPays_{true};
  std::map<std::size_t, std::unique_ptr<RecordedExpansion>> ready_;
  std::size_t held_ = 0;
  bool ownerWaits_ = false, workerWaits_ = false; // each wake is given only to a side that waits
  std::atomic<bool> stop_{false};

  Volume workerVolume_; // the worker's own

  RunContext::AheadCounts& counts_;
};

} // namespace kalvora
