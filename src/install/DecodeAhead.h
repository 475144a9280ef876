#pragma once
// The decode-ahead of the file stage: while the run copies and expands one
// file, a worker thread reads the chunks of the coming ones from the volumes
// that are there and expands their members in memory (RecordedExpansion).
// When the component comes to expand a member that the worker has done, the
// recording is replayed against the real files, handler and platform instead
// of decoding again; everything the run does and shows stays the same.
//
// Only LZH members are worth it. Bounded: a few files ahead and a few tens of
// megabytes held; a member too big for that, a volume that is missing or
// cannot be read, or a chunk that is not an archive is left to the run. The
// worker never prompts and never touches any file the run writes.
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
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

  std::optional<std::uint32_t> expand(std::uint8_t method, const ExpandJob& job) override;

  static constexpr std::size_t kFilesAhead = 8;
  static constexpr std::size_t kHeldBytes = 32u << 20;
  static constexpr std::size_t kMemberBytes = 12u << 20; // compressed and expanded together

private:
  void work(Worker& worker);
  // Waits until the file may be started; false when the worker is to end.
  bool waitForRoom(Worker& worker, std::size_t& next);
  std::unique_ptr<RecordedExpansion> decode(const PlannedFile& file);
  std::optional<std::vector<std::uint8_t>> readChunk(const Chunk& chunk);
  // The volume of the medium of that name, kept open from one chunk to the next.
  Stream* volumeAt(const std::string& name);
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

  // Shared with the worker, under its lock.
  std::size_t current_ = 0; // the file the stage is at
  std::size_t passed_ = 0;  // the worker is done with every file before this
  bool finished_ = false;   // the worker has ended
  std::map<std::size_t, std::unique_ptr<RecordedExpansion>> ready_;
  std::size_t held_ = 0;
  bool ownerWaits_ = false, workerWaits_ = false; // each wake is given only to a side that waits
  std::atomic<bool> stop_{false};

  // The worker's own.
  std::unique_ptr<Stream> volume_;
  std::string volumePath_;
  bool mediumPays_ = true;

  RunContext::AheadCounts& counts_;
};

} // namespace kalvora
