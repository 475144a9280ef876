// A compressed install with the decode-ahead on ends exactly as one without:
// the same files (compress.tmp included), logs, bars, deliveries of messages
// and yields, in the same order; also when the worker reads bytes other than
// the run's (the replay hands over to the method) or cannot read a volume.
#include <gtest/gtest.h>

#include <map>

#include "InstallFixture.h"
#include "archive/ArchiveWriter.h"
#include "platform/SystemWorker.h"
#include "support/PlatformSnapshot.h"

namespace kalvora {
namespace {

using Trace = std::vector<std::string>;

// The system's worker threads, reading the volumes from a copy made before the
// run (the in-memory files are not for two threads); every yield, delivery of
// messages and bar movement goes into one trace.
class AheadPlatform : public testing::RunPlatform {
public:
  void yield() override { trace.push_back("yield"); }
  void processMessages() override {
    trace.push_back("messages");
    testing::RunPlatform::processMessages();
  }
  DosTime localTime() override { return {}; }
  std::unique_ptr<Worker> startWorker(WorkerJob job) override {
    return workers ? startSystemWorker(std::move(job)) : nullptr;
  }
  std::unique_ptr<Stream> openFileForWorker(const std::string& path) override {
    const auto it = workerVolumes.find(normalize(path));
    return it == workerVolumes.end() ? nullptr : std::make_unique<MemoryStream>(it->second);
  }

  bool workers = false;
  std::map<std::string, std::string> workerVolumes;
  Trace trace;
};

class TracedView : public testing::RecordingView {
public:
  explicit TracedView(AheadPlatform& platform) : RecordingView(platform), trace_(platform.trace) {}
  void setItemProgress(int percent) override { trace_.push_back("item " + std::to_string(percent)); }
  void setRunProgress(int percent) override { trace_.push_back("run " + std::to_string(percent)); }
  void setItemLabel(const std::string& text) override { trace_.push_back("label " + text); }

private:
  Trace& trace_;
};

std::string archiveOf(const std::string& name, const std::vector<std::uint8_t>& content, const char* method) {
  MemoryStream out;
  Result<ArchiveWriter> writer = ArchiveWriter::start(out, method);
  EXPECT_TRUE(writer.ok() && writer.value().addMember(name, content, {}).ok() && writer.value().finish().ok());
  return std::string(out.bytes().begin(), out.bytes().end());
}

std::vector<std::uint8_t> contentOf(std::size_t n, unsigned seed) {
  std::vector<std::uint8_t> bytes(n);
  std::uint32_t x = seed;
  for (std::size_t i = 0; i < n; ++i) {
    x = x * 1103515245 + 12345;
    bytes[i] = static_cast<std::uint8_t>(i % 97 < 60 ? "setup archive member "[i % 21] : (x >> 24) % 16);
  }
  return bytes;
}

// Seven files of one byte to several chunks of input, the last one RLE, the others LZH; the fifth
// runs from volume 1 into volume 2.
struct Medium {
  std::string script = "[software]\nmedium=1\n[Option_1]\n";
  std::string volume1, volume2;
  std::vector<std::int64_t> chunkStarts, chunkSizes; // starts as if the volumes were one
  Medium() {
    std::string all;
    std::vector<std::string> names, chunks;
    const std::size_t sizes[] = {1, 5000, 90000, 30000, 120000, 17, 64000};
    for (std::size_t i = 0; i < std::size(sizes); ++i) {
      names.push_back("f" + std::to_string(i) + ".bin");
      chunks.push_back(archiveOf(names[i], contentOf(sizes[i], static_cast<unsigned>(i)),
                                 i + 1 == std::size(sizes) ? "RLE" : "LZH"));
      chunkStarts.push_back(static_cast<std::int64_t>(all.size()));
      chunkSizes.push_back(static_cast<std::int64_t>(chunks[i].size()));
      all += chunks[i];
    }
    const auto split = static_cast<std::size_t>(chunkStarts[4] + 1000);
    volume1 = all.substr(0, split);
    volume2 = all.substr(split);
    for (std::size_t i = 0; i < names.size(); ++i) {
      const std::string j = std::to_string(i + 1);
      const bool second = chunkStarts[i] >= static_cast<std::int64_t>(split);
      const std::int64_t offset = chunkStarts[i] - (second ? static_cast<std::int64_t>(split) : 0);
      script += "f" + j + "=" + names[i] + "\ns" + j + "=" + (second ? "02" : "01") + "\np" + j + "=" +
                std::to_string(offset) + "\nz" + j + "=" + std::to_string(chunks[i].size()) + "\n";
    }
  }
};

struct Outcome {
  testing::PlatformSnapshot files;
  Trace trace;
  RunContext::AheadCounts ahead;
};

enum class Ahead { Off, Reads, ReadsOtherBytes, LacksVolume2 };

Outcome install(Ahead ahead) {
  const Medium medium;
  AheadPlatform platform;
  platform.putFile("D:\\setup.inf", medium.script);
  platform.putDirectory("C:\\WINDOWS");
  platform.putFile("D:\\zdata_01.dsk", medium.volume1);
  platform.putFile("D:\\zdata_02.dsk", medium.volume2);
  platform.workers = ahead != Ahead::Off;
  platform.workerVolumes["D:\\ZDATA_01.DSK"] = medium.volume1;
  if (ahead != Ahead::LacksVolume2) platform.workerVolumes["D:\\ZDATA_02.DSK"] = medium.volume2;
  if (ahead == Ahead::ReadsOtherBytes) // in the middle of the third file's data
    platform.workerVolumes["D:\\ZDATA_01.DSK"]
                          [static_cast<std::size_t>(medium.chunkStarts[2] + medium.chunkSizes[2] / 2)] ^= 0x21;
  InstallState state;
  testing::prepareRun(state, platform, 40000);
  state.Setup.CompressionMode = 1;
  state.Setup.TextTable[14] = "Copying";
  TracedView view(platform);
  testing::RecordingStages stages;
  InstallRun runner(state, platform, view, stages);
  EXPECT_FALSE(runner.FormActivate());
  return {testing::snapshotOf(platform), platform.trace, runner.context().ExpandedAhead};
}

TEST(DecodeAhead, CompressedInstallEndsExactlyAsWithout) {
  const Outcome without = install(Ahead::Off);
  ASSERT_EQ(without.files.files.at("C:\\APP\\F2.BIN").size(), 90000u);
  EXPECT_EQ(without.ahead.replayed, 0);
  const struct {
    Ahead ahead;
    const char* what;
    int replayed, handedOver;
  } rows[] = {
      {Ahead::Reads, "reads every volume", 6, 0}, // not the last file, whose RLE gains nothing ahead
      {Ahead::ReadsOtherBytes, "reads other bytes of the third file", 6, 1},
      {Ahead::LacksVolume2, "cannot read volume 2", 4, 0},
  };
  for (const auto& row : rows) {
    const Outcome with = install(row.ahead);
    EXPECT_TRUE(with.files == without.files) << row.what; // the log's file identities among them
    EXPECT_EQ(with.trace, without.trace) << row.what;
    EXPECT_EQ(with.ahead.replayed, row.replayed) << row.what;
    EXPECT_EQ(with.ahead.handedOver, row.handedOver) << row.what;
  }
}

} // namespace
} // namespace kalvora
