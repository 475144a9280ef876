#include "archive/RecordedExpansion.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <span>

#include "archive/ByteSink.h"
#include "archive/ByteSource.h"
#include "platform/Crc32.h"

namespace kalvora {

template <typename T> bool RecordedExpansion::Store<T>::allocate(std::size_t n) {
  items.reset(new (std::nothrow) T[n]);
  capacity = items ? n : 0;
  return items != nullptr;
}

template <typename T> bool RecordedExpansion::Store<T>::add(const T* from, std::size_t n) {
  if (n > capacity - size) {
    full = true;
    return false;
  }
  std::copy_n(from, n, items.get() + size);
  size += n;
  return true;
}

template struct RecordedExpansion::Store<std::uint8_t>; // Bytes, also taken by the decode-ahead

namespace {

using Event = RecordedExpansion::Event;
using Kind = RecordedExpansion::Kind;
using Events = RecordedExpansion::Store<Event>;

void note(Events& events, const Event& event) { events.add(&event, 1); }

// The archive's bytes as the method reads them, each read and seek recorded.
class RecordingSource : public Stream {
public:
  RecordingSource(std::span<const std::uint8_t> bytes, std::int64_t start, Events& events)
      : bytes_(bytes), position_(start), events_(events) {}
  std::size_t read(void* buffer, std::size_t n) override {
    const auto size = static_cast<std::int64_t>(bytes_.size());
    const auto got =
        static_cast<std::size_t>(std::clamp<std::int64_t>(size - position_, 0, static_cast<std::int64_t>(n)));
    if (got != 0) std::memcpy(buffer, bytes_.data() + position_, got);
    note(events_, {Kind::Read, position_, static_cast<std::int64_t>(n), static_cast<std::int64_t>(got)});
    position_ += static_cast<std::int64_t>(got);
    return got;
  }
  std::size_t write(const void*, std::size_t) override { return 0; }
  std::int64_t position() const override { return position_; }
  void seek(std::int64_t position) override {
    note(events_, {Kind::Seek, position});
    position_ = std::max<std::int64_t>(position, 0);
  }
  std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size()); }

private:
  std::span<const std::uint8_t> bytes_;
  std::int64_t position_;
  Events& events_;
};

// The output kept in memory, each write recorded. A write past the room
// made for the member's size is refused, which ends the method.
class RecordingSink : public Stream {
public:
  RecordingSink(RecordedExpansion::Store<std::uint8_t>& bytes, Events& events) : bytes_(bytes), events_(events) {}
  std::size_t read(void*, std::size_t) override { return 0; }
  std::size_t write(const void* buffer, std::size_t n) override {
    note(events_, {Kind::Write, static_cast<std::int64_t>(bytes_.size), static_cast<std::int64_t>(n)});
    return bytes_.add(static_cast<const std::uint8_t*>(buffer), n) ? n : 0;
  }
  std::int64_t position() const override { return static_cast<std::int64_t>(bytes_.size); }
  void seek(std::int64_t) override {}
  std::int64_t size() const override { return static_cast<std::int64_t>(bytes_.size); }

private:
  RecordedExpansion::Store<std::uint8_t>& bytes_;
  Events& events_;
};

// The platform of a method, which makes one call of it, yield: here handed
// to a function. Everything else is answered inertly, so that a recording on
// a worker thread reaches no system.
class YieldPlatform : public Platform {
public:
  explicit YieldPlatform(std::function<void()> onYield) : onYield_(std::move(onYield)) {}
  void yield() override { onYield_(); }
  std::string readProfileString(const std::string&, const std::string&, const std::string&,
                                const std::string& defaultValue) override {
    return defaultValue;
  }
  bool writeProfileString(const std::string&, const std::string&, const std::string&, const std::string&) override {
    return false;
  }
  std::unique_ptr<Stream> openFile(const std::string&, OpenMode) override { return nullptr; }
  std::optional<FileInfo> fileInfo(const std::string&) override { return std::nullopt; }
  bool createDirectory(const std::string&) override { return false; }
  bool deleteFile(const std::string&) override { return false; }
  bool setFileDosTime(const std::string&, std::uint32_t) override { return false; }
  bool setFileAttributes(const std::string&, std::uint32_t) override { return false; }
  std::int64_t freeDiskSpace(const std::string&) override { return -1; }
  char currentDrive() override { return 'C'; }
  std::int64_t clockSeconds() override { return 0; }

private:
  std::function<void()> onYield_;
};

} // namespace

RecordedExpansion::RecordedExpansion(Bytes archive, std::int64_t dataOffset, std::uint8_t method,
                                     std::int32_t compressedSize, std::int32_t expandedSize)
    : archive_(std::move(archive)), dataOffset_(dataOffset), method_(method), compressedSize_(compressedSize),
      expandedSize_(expandedSize) {}

std::unique_ptr<RecordedExpansion> RecordedExpansion::make(Bytes archive, std::int64_t dataOffset, std::uint8_t method,
                                                           std::int32_t compressedSize, std::int32_t expandedSize,
                                                           const std::atomic<bool>* abandon) {
  std::unique_ptr<RecordedExpansion> recorded(
      new (std::nothrow) RecordedExpansion(std::move(archive), dataOffset, method, compressedSize, expandedSize));
  if (!recorded || !recorded->record(abandon)) return nullptr;
  return recorded;
}

bool RecordedExpansion::record(const std::atomic<bool>* abandon) {
  // Room for all a method can do: its output overruns the member's size by
  // less than the sink's slack; each chunk of input is a read, a report and
  // a yield, each block of output a write and a yield, and the end of the
  // input adds a read and a seek.
  const auto expanded = static_cast<std::size_t>(std::max<std::int32_t>(expandedSize_, 0)) + ByteSink::kSlack;
  const std::size_t chunks =
      static_cast<std::size_t>(std::max<std::int32_t>(compressedSize_, 0)) / ByteSource::kChunkSize + 2;
  const std::size_t blocks = expanded / ByteSink::kBlockSize + 2;
  if (!output_.allocate(expanded) || !events_.allocate(3 * chunks + 2 * blocks + 2)) return false;

  bool abandoned = false;
  RecordingSource source({archive_.items.get(), archive_.size}, dataOffset_, events_);
  RecordingSink sink(output_, events_);
  YieldPlatform platform([this] { note(events_, {Kind::Yield}); });
  const TShowProgressEvent progress = [this, abandon, &abandoned](std::int32_t& percentage) {
    if (abandon && *abandon) {
      abandoned = true;
      percentage = -1; // the method stops as at the end of its input
      return;
    }
    note(events_, {Kind::Progress, percentage});
  };
  const ExpandJob job{source, sink, platform, compressedSize_, expandedSize_, &progress, nullptr, {}};
  const Result<std::uint32_t> expandedSum = expandByMethod(method_, job);
  if (abandoned || events_.full || !expandedSum.ok()) return false;
  checksum_ = expandedSum.value();
  // The output's own checksum, here rather than by reading the file back later.
  outputCrc_ = crc32Finish(crc32Update(kCrc32Start, output_.items.get(), output_.size));

  // The events as they came, in no more memory than they take, where it can be had.
  Events exact;
  if (events_.size < events_.capacity && exact.allocate(events_.size)) {
    exact.add(events_.items.get(), events_.size);
    events_ = std::move(exact);
  }
  return true;
}

bool RecordedExpansion::fits(std::uint8_t method, const ExpandJob& job) const {
  return method == method_ && job.compressedSize == compressedSize_ && job.expandedSize == expandedSize_ &&
         job.progress && *job.progress && job.source.position() == dataOffset_;
}

std::size_t RecordedExpansion::bytesHeld() const {
  return archive_.capacity + output_.capacity + events_.capacity * sizeof(Event);
}

struct RecordedExpansion::Done {
  std::size_t reads = 0, seeks = 0, yields = 0, writes = 0;
  std::vector<std::int32_t> percentages; // as the handler left them
  std::vector<std::uint8_t> lastRead;    // what the read that differed gave
  bool readDiffered = false;
};

RecordedExpansion::Outcome RecordedExpansion::replay(const ExpandJob& job) const {
  Done done;
  std::vector<std::uint8_t> scratch;
  for (const Event& event : std::span(events_.items.get(), events_.size)) {
    switch (event.kind) {
    case Kind::Read: {
      scratch.resize(static_cast<std::size_t>(event.count));
      const std::size_t got = job.source.read(scratch.data(), scratch.size());
      ++done.reads;
      if (static_cast<std::int64_t>(got) != event.got ||
          (got != 0 && std::memcmp(scratch.data(), archive_.items.get() + event.at, got) != 0)) {
        scratch.resize(got);
        done.lastRead = std::move(scratch);
        done.readDiffered = true;
        return {resume(job, done), true};
      }
      break;
    }
    case Kind::Seek:
      job.source.seek(event.at);
      ++done.seeks;
      break;
    case Kind::Progress: {
      auto percentage = static_cast<std::int32_t>(event.at);
      (*job.progress)(percentage);
      done.percentages.push_back(percentage);
      if (percentage < 0) return {resume(job, done), true};
      break;
    }
    case Kind::Yield:
      job.platform.yield();
      ++done.yields;
      break;
    case Kind::Write:
      // The method stops at a refused write, with the same error.
      if (Status written = job.dest.writeBuffer(output_.items.get() + event.at, static_cast<std::size_t>(event.count));
          !written.ok())
        return {written.error(), false};
      ++done.writes;
      break;
    }
  }
  return {checksum_, false, WrittenContent{outputCrc_, static_cast<std::int64_t>(output_.size)}};
}

namespace {

// The real streams, handler and platform behind a method that starts over:
// what the replay has already done to them is not done again, and the method
// gets the answers that the replay got.
class ResumedSource : public Stream {
public:
  ResumedSource(Stream& real, std::int64_t start, std::vector<std::vector<std::uint8_t>> answers, std::size_t seeks)
      : real_(real), position_(start), answers_(std::move(answers)), seeksDone_(seeks) {}
  std::size_t read(void* buffer, std::size_t n) override {
    std::size_t got;
    if (next_ < answers_.size()) {
      const std::vector<std::uint8_t>& answer = answers_[next_++];
      got = std::min(n, answer.size());
      std::copy_n(answer.begin(), got, static_cast<std::uint8_t*>(buffer));
    } else {
      got = real_.read(buffer, n);
    }
    position_ += static_cast<std::int64_t>(got);
    return got;
  }
  std::size_t write(const void*, std::size_t) override { return 0; }
  std::int64_t position() const override { return position_; }
  void seek(std::int64_t position) override {
    if (seeksDone_ > 0) {
      --seeksDone_;
      position_ = std::max<std::int64_t>(position, 0);
    } else {
      real_.seek(position);
      position_ = real_.position();
    }
  }
  std::int64_t size() const override { return real_.size(); }

private:
  Stream& real_;
  std::int64_t position_;
  std::vector<std::vector<std::uint8_t>> answers_;
  std::size_t next_ = 0, seeksDone_;
};

class ResumedSink : public Stream {
public:
  ResumedSink(Stream& real, std::size_t writesDone) : real_(real), writesDone_(writesDone) {}
  std::size_t read(void* buffer, std::size_t n) override { return real_.read(buffer, n); }
  std::size_t write(const void* buffer, std::size_t n) override {
    if (writesDone_ == 0) return real_.write(buffer, n);
    --writesDone_;
    return n;
  }
  std::int64_t position() const override { return real_.position(); }
  void seek(std::int64_t position) override { real_.seek(position); }
  std::int64_t size() const override { return real_.size(); }

private:
  Stream& real_;
  std::size_t writesDone_;
};

} // namespace

Result<std::uint32_t> RecordedExpansion::resume(const ExpandJob& job, const Done& done) const {
  std::vector<std::vector<std::uint8_t>> answers;
  for (const Event& event : std::span(events_.items.get(), events_.size)) {
    if (answers.size() == done.reads) break;
    if (event.kind != Kind::Read) continue;
    if (event.got == 0) {
      answers.emplace_back();
    } else {
      const std::uint8_t* from = archive_.items.get() + event.at;
      answers.emplace_back(from, from + event.got);
    }
  }
  if (done.readDiffered) answers.back() = done.lastRead;
  ResumedSource source(job.source, dataOffset_, std::move(answers), done.seeks);
  ResumedSink sink(job.dest, done.writes);
  std::size_t yieldsDone = done.yields;
  YieldPlatform platform([&] {
    if (yieldsDone == 0)
      job.platform.yield();
    else
      --yieldsDone;
  });
  std::size_t calls = 0;
  const TShowProgressEvent progress = [&](std::int32_t& percentage) {
    if (calls < done.percentages.size())
      percentage = done.percentages[calls];
    else
      (*job.progress)(percentage);
    ++calls;
  };
  const ExpandJob resumed{source,        sink,      platform,     compressedSize_,
                          expandedSize_, &progress, job.onExpand, job.compressId};
  return expandByMethod(method_, resumed);
}

} // namespace kalvora
