#include "archive/RecordedExpansion.h"

#include <gtest/gtest.h>

#include "ArchiveTestUtil.h"
#include "TracedStreams.h"
#include "support/ErrorText.h"

namespace kalvora {
namespace {

using test::Bytes;
using test::Trace;
using test::TracedPlatform;
using test::TracedSink;
using test::TracedSource;

struct Expansion {
  Trace trace;
  Bytes output;
  std::uint32_t checksum = 0;
  std::string error;
  std::int64_t endPosition = 0;
  bool handedOver = false;
};

// What the real archive does differently from the one recorded.
struct Difference {
  const char* what;
  std::int64_t changedByte; // from the member's data; -1: none
  int failingRead;          // 0: none
  int abandoningReport;     // the handler leaves -1 at this report; 0: never
  int failingWrite;         // the output takes nothing of this write; 0: none
};

RecordedExpansion::Bytes heldCopy(const Bytes& bytes) {
  RecordedExpansion::Bytes held;
  EXPECT_TRUE(held.allocate(bytes.size()));
  held.add(bytes.data(), bytes.size());
  return held;
}

Expansion expand(const Bytes& archive, std::int64_t dataOffset, const MemberHeader& member, const Difference& d,
                 const RecordedExpansion* recorded) {
  Expansion run;
  Bytes real = archive;
  // A byte past the member's data is not changed: such data are read as recorded.
  if (d.changedByte >= 0 && d.changedByte < member.compressedSize)
    real[static_cast<std::size_t>(dataOffset + d.changedByte)] ^= 0x5A;
  TracedSource source(real, run.trace, d.failingRead);
  source.seek(dataOffset);
  TracedSink sink(run.trace, d.failingWrite);
  TracedPlatform platform(run.trace);
  int reports = 0;
  const TShowProgressEvent progress = [&](std::int32_t& percentage) {
    if (++reports == d.abandoningReport) percentage = -1;
    run.trace.push_back("progress " + std::to_string(percentage));
  };
  const ExpandJob job{source, sink, platform, member.compressedSize, member.expandedSize, &progress, nullptr, {}};
  if (recorded) {
    EXPECT_TRUE(recorded->fits(member.method, job));
    const RecordedExpansion::Outcome outcome = recorded->replay(job);
    run.checksum = outcome.checksum.ok() ? outcome.checksum.value() : 0;
    run.error = test::errorOf(outcome.checksum);
    run.handedOver = outcome.handedOver;
  } else {
    const Result<std::uint32_t> expanded = expandByMethod(member.method, job);
    run.checksum = expanded.ok() ? expanded.value() : 0;
    run.error = test::errorOf(expanded);
  }
  run.output = sink.bytes();
  run.endPosition = source.position();
  return run;
}

TEST(RecordedExpansion, ReplayDoesWhatTheMethodDoesWhateverTheRealFilesAnswer) {
  const Difference differences[] = {
      {"as recorded", -1, 0, 0, 0},
      {"a byte changed in the third chunk", 20000, 0, 0, 0},
      {"the first byte changed", 0, 0, 0, 0},
      {"the fourth read fails", -1, 4, 0, 0},
      {"the first read fails", -1, 1, 0, 0},
      {"the handler abandons at the second report", -1, 0, 2, 0},
      {"the first write fails", -1, 0, 0, 1},
      {"the third write fails", -1, 0, 0, 3},
      {"a byte changed in the third chunk, then the last write of the text fails", 20000, 0, 0, 9},
  };
  for (const std::uint8_t method : {kMethodRle, kMethodLzh}) {
    for (const Bytes& content : {test::textLike(70000, 3), test::longRuns(50000, 4)}) {
      const test::RawMember coded = test::codedMember("a.txt", content, method);
      const Bytes archive = test::rawArchive(method == kMethodLzh ? "LZH" : "RLE", test::totalOf({coded}), {coded});
      const auto dataOffset = static_cast<std::int64_t>(kArchiveHeaderSize + kMemberHeaderSize + coded.name.size());
      // Abandoned before it starts, the recording is not made.
      const std::atomic<bool> abandon{true};
      EXPECT_EQ(RecordedExpansion::make(heldCopy(archive), dataOffset, method, coded.header.compressedSize,
                                        coded.header.expandedSize, &abandon),
                nullptr);
      const auto recorded = RecordedExpansion::make(heldCopy(archive), dataOffset, method, coded.header.compressedSize,
                                                    coded.header.expandedSize);
      ASSERT_NE(recorded, nullptr);
      for (const Difference& d : differences) {
        const Expansion direct = expand(archive, dataOffset, coded.header, d, nullptr);
        const Expansion replayed = expand(archive, dataOffset, coded.header, d, recorded.get());
        const std::string name = std::string(d.what) + ", method " + std::to_string(method);
        EXPECT_EQ(replayed.trace, direct.trace) << name;
        EXPECT_EQ(replayed.output, direct.output) << name;
        EXPECT_EQ(replayed.checksum, direct.checksum) << name;
        EXPECT_EQ(replayed.error, direct.error) << name;
        EXPECT_EQ(replayed.endPosition, direct.endPosition) << name;
        // A difference counts where the method gets so far.
        const auto calls = [&](const char* kind) {
          return std::count_if(direct.trace.begin(), direct.trace.end(),
                               [&](const std::string& call) { return call.rfind(kind, 0) == 0; });
        };
        const bool differs = (d.changedByte >= 0 && d.changedByte < coded.header.compressedSize) ||
                             (d.failingRead > 0 && d.failingRead <= calls("read")) ||
                             (d.abandoningReport > 0 && d.abandoningReport <= calls("progress"));
        EXPECT_EQ(replayed.handedOver, differs) << name;
        // A refused write ends the method with the write error, replayed or not.
        const bool refused = d.failingWrite > 0 && d.failingWrite <= calls("write");
        EXPECT_EQ(direct.error, refused ? EWriteError().what() : "") << name;
        if (!differs && !refused) {
          EXPECT_EQ(direct.output, content) << name;
        }
      }
    }
  }
}

} // namespace
} // namespace kalvora
