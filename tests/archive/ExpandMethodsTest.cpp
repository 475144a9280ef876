#include "archive/ExpandMethods.h"

#include <gtest/gtest.h>

#include "ArchiveTestUtil.h"
#include "TracedStreams.h"
#include "archive/LzhEncoder.h"
#include "support/ErrorText.h"

namespace kalvora {
namespace {

using test::Bytes;
using test::errorOf;

struct Expanded {
  Bytes bytes;
  std::uint32_t sum = 0;
  std::vector<std::int32_t> reports;
  std::int64_t consumed = 0; // archive bytes read
};

Expanded expand(std::uint8_t method, const Bytes& data, std::int32_t expandedSize,
                std::function<void(std::int32_t&)> handler = nullptr) {
  MemoryPlatform platform;
  MemoryStream source(data);
  MemoryStream dest;
  Expanded result;
  TShowProgressEvent progress = [&](std::int32_t& p) {
    result.reports.push_back(p);
    if (handler) handler(p);
  };
  const ExpandJob job{source,       dest,      platform, static_cast<std::int32_t>(data.size()),
                      expandedSize, &progress, nullptr,  "LZH"};
  const Result<std::uint32_t> expanded = expandByMethod(method, job);
  EXPECT_EQ(errorOf(expanded), "");
  result.sum = expanded.ok() ? expanded.value() : 0;
  result.bytes = dest.bytes();
  result.consumed = source.position();
  return result;
}

Bytes rle(std::initializer_list<int> in) { return Bytes(in.begin(), in.end()); }

TEST(ExpandRle, EscapesAndRepeats) {
  struct Case {
    Bytes in, out;
  } cases[] = {
      {rle({0x41, 0x94, 0x05}), Bytes(5, 0x41)},
      {rle({0x94, 0x00, 0x94, 0x00}), rle({0x94, 0x94})},
      {rle({0x94, 0x04}), Bytes(3, 0x00)}, // the last byte starts as 0
      {rle({0x41, 0x94, 0x00, 0x94, 0x03}), rle({0x41, 0x94, 0x94, 0x94})},
      {rle({0x41, 0x94}), rle({0x41, 0x94})},             // a lone escape at the end stands for itself
      {rle({0x41, 0x94, 0x01, 0x42}), rle({0x41, 0x42})}, // count 1 repeats nothing
      {rle({0x41, 0x94, 0xFF}), Bytes(255, 0x41)},
  };
  for (const auto& c : cases) {
    const Expanded e = expand(kMethodRle, c.in, 999);
    EXPECT_EQ(e.bytes, c.out);
    EXPECT_EQ(e.sum, byteSum(c.out.data(), c.out.size()));
  }
}

TEST(ExpandRle, RunsAcrossChunkAndBlockBoundaries) {
  // An escape pair split by the 8192-byte chunk edge, and output past several blocks.
  Bytes in(8191, 0x11);
  in.push_back(0x94);
  in.push_back(0xFF);
  for (int i = 0; i < 100; ++i) {
    in.push_back(static_cast<std::uint8_t>(i));
    in.push_back(0x94);
    in.push_back(200);
  }
  Bytes want(8191 + 254, 0x11);
  for (int i = 0; i < 100; ++i)
    want.insert(want.end(), 200, static_cast<std::uint8_t>(i));
  EXPECT_EQ(expand(kMethodRle, in, static_cast<std::int32_t>(want.size())).bytes, want);
}

TEST(ExpandRle, StopsAtTheDeclaredSizeAndPassesOverTheRest) {
  Bytes bomb;
  for (int i = 0; i < 10000; ++i)
    bomb.insert(bomb.end(), {0x41, 0x94, 0xFF});
  struct Case {
    Bytes in;
    std::int32_t declared;
    Bytes out;
  } cases[] = {
      {rle({0x41, 0x94, 0xFF}), 10, Bytes(10, 0x41)},
      {rle({0x41, 0x94, 0x00, 0x42}), 2, rle({0x41, 0x94})},
      {rle({0x41, 0x42, 0x43}), 0, {}},
      {rle({0x41, 0x42, 0x43}), -5, {}},
      {bomb, 100000, Bytes(100000, 0x41)}, // 30000 bytes of data would make 2.5 MB
  };
  for (const auto& c : cases) {
    const Expanded e = expand(kMethodRle, c.in, c.declared);
    EXPECT_EQ(e.bytes, c.out) << c.declared;
    EXPECT_EQ(e.consumed, static_cast<std::int64_t>(c.in.size())) << c.declared;
  }
}

TEST(ExpandMethods, ProgressOncePerChunk) {
  EXPECT_EQ(expand(kMethodRle, Bytes(8192, 1), 8192).reports, (std::vector<std::int32_t>{100}));
  EXPECT_EQ(expand(kMethodRle, Bytes(8193, 1), 8193).reports, (std::vector<std::int32_t>{99, 100}));
  EXPECT_EQ(expand(kMethodRle, Bytes(20000, 1), 20000).reports, (std::vector<std::int32_t>{40, 81, 100}));
  EXPECT_TRUE(expand(kMethodStored, Bytes(20000, 1), 0).reports.empty());
  Bytes lzh;
  lzhEncode(test::randomBytes(30000, 1), lzh);
  ASSERT_GT(lzh.size(), 3 * 8192u);
  EXPECT_EQ(expand(kMethodLzh, lzh, 30000).reports.size(), 4u);
}

TEST(ExpandMethods, NegativeProgressAbandonsTheMember) {
  const Bytes data = test::textLike(40000, 3);
  Bytes rleData;
  rleEncode(data, rleData);
  const Expanded r = expand(kMethodRle, rleData, 40000, [](std::int32_t& p) { p = p > 30 ? -1 : p; });
  EXPECT_EQ(r.reports.size(), 2u);
  EXPECT_LT(r.bytes.size(), 9000u); // stopped at once: about the first chunk's bytes only
  EXPECT_EQ(r.consumed, 16384);     // and nothing more read

  Bytes lzh;
  lzhEncode(data, lzh);
  const Expanded l = expand(kMethodLzh, lzh, 40000, [](std::int32_t& p) { p = -1; });
  EXPECT_EQ(l.reports.size(), 1u);
  EXPECT_NE(l.sum, byteSum(data.data(), data.size()));
  EXPECT_LT(l.bytes.size(), 40000u);
}

TEST(ExpandMethods, OutputGoesInBlocksOf8192WithAYieldEach) {
  test::CountingPlatform platform;
  const Bytes data = test::binaryLike(20000, 5);
  Bytes lzh;
  lzhEncode(data, lzh);
  MemoryStream source(lzh);
  test::RecordingStream dest;
  const ExpandJob job{source, dest, platform, static_cast<std::int32_t>(lzh.size()), 20000, nullptr, nullptr, ""};
  EXPECT_EQ(errorOf(expandLzh(job)), "");
  EXPECT_EQ(dest.writes, (std::vector<std::size_t>{8192, 8192, 20000 - 16384}));
  EXPECT_EQ(dest.bytes(), data);
  // Two full blocks written, plus one per input chunk loaded.
  EXPECT_EQ(platform.yields, 2 + static_cast<int>((lzh.size() + 8191) / 8192));
}

TEST(ExpandMethods, StoredCustomAndUnknownMethods) {
  const Expanded stored = expand(kMethodStored, test::bytesOf("abcdef"), 3);
  EXPECT_EQ(test::textOf(stored.bytes), "abcdef"); // ExpandedSize is not used
  EXPECT_EQ(stored.sum, 0u);
  EXPECT_TRUE(expand(kMethodStored, {}, 0).bytes.empty());

  for (std::uint8_t method : {std::uint8_t{3}, std::uint8_t{4}, std::uint8_t{7}, std::uint8_t{255}}) {
    const Expanded e = expand(method, test::bytesOf("abc"), 3);
    EXPECT_TRUE(e.bytes.empty());
    EXPECT_EQ(e.sum, 0u);
    EXPECT_EQ(e.consumed, 0); // the data are not consumed
  }
}

TEST(ExpandMethods, StoredMemberCutShortIsAReadError) {
  MemoryPlatform platform;
  MemoryStream source(test::bytesOf("abc"));
  MemoryStream dest;
  const ExpandJob job{source, dest, platform, 10, 10, nullptr, nullptr, ""};
  EXPECT_EQ(errorOf(expandStored(job)), "Stream-Read-Fehler ");
}

TEST(ExpandMethods, ARefusedWriteStopsTheMethodWithTheWriteError) {
  // Refused at the first block, a middle one and the last, short one: the
  // method does what it did up to that write and nothing after it (no read,
  // yield, report or skip), and gives EWriteError.
  using test::Trace;
  const Bytes data = test::textLike(30000, 6);
  for (const std::uint8_t method : {kMethodStored, kMethodRle, kMethodLzh}) {
    Bytes coded;
    if (method == kMethodStored) coded = data;
    if (method == kMethodRle) rleEncode(data, coded);
    if (method == kMethodLzh) lzhEncode(data, coded);
    const auto run = [&](int refused, Trace& trace) {
      test::TracedSource source(coded, trace);
      test::TracedSink sink(trace, refused);
      test::TracedPlatform platform(trace);
      const TShowProgressEvent progress = [&](std::int32_t& p) { trace.push_back("progress " + std::to_string(p)); };
      const ExpandJob job{
          source,    sink,    platform, static_cast<std::int32_t>(coded.size()), static_cast<std::int32_t>(data.size()),
          &progress, nullptr, "LZH"};
      return expandByMethod(method, job);
    };
    Trace whole;
    ASSERT_EQ(errorOf(run(0, whole)), "");
    const auto writes = std::count_if(whole.begin(), whole.end(), [](const std::string& e) { return e[0] == 'w'; });
    ASSERT_EQ(writes, 4); // 3 blocks of 8192 and the rest
    for (const int refused : {1, 2, 4}) {
      Trace trace;
      EXPECT_EQ(errorOf(run(refused, trace)), EWriteError().what()) << int(method) << " " << refused;
      auto end = whole.begin();
      for (int w = 0; w < refused; ++end)
        w += (*end)[0] == 'w';
      EXPECT_EQ(trace, Trace(whole.begin(), end)) << int(method) << " " << refused;
    }
  }
}

TEST(ExpandLzh, ZeroSizeReadsNothing) {
  const Expanded e = expand(kMethodLzh, test::bytesOf("garbage"), 0);
  EXPECT_TRUE(e.bytes.empty());
  EXPECT_EQ(e.sum, 0u);
  EXPECT_EQ(e.consumed, 0);
  EXPECT_TRUE(e.reports.empty());
}

TEST(ExpandLzh, StreamsMayReferToTheInitialSpaces) {
  // 60 spaces as one match at the very start, then a byte and a copy of the
  // window's never-written tail (the decoder's spaces), then a short overlap.
  Bytes data;
  LzhStreamWriter w(data);
  w.match(60, 1);
  w.literal('x');
  w.match(5, 4096);
  w.literal('a');
  w.literal('b');
  w.match(7, 2); // overlapping copy: ababab a
  w.finish();
  const Expanded e = expand(kMethodLzh, data, 60 + 1 + 5 + 2 + 7);
  EXPECT_EQ(test::textOf(e.bytes), std::string(60, ' ') + "x" + std::string(5, ' ') + "ab" + "abababa");
}

TEST(ExpandLzh, AMatchIsDeliveredWholePastExpandedSize) {
  Bytes data;
  LzhStreamWriter w(data);
  w.literal('q');
  w.match(10, 1);
  w.finish();
  EXPECT_EQ(test::textOf(expand(kMethodLzh, data, 3).bytes), std::string(11, 'q'));
}

TEST(ExpandLzh, StopsWhenTheDataRunOut) {
  // A huge ExpandedSize over a few bytes: decoding stops soon after the end.
  Bytes data;
  LzhStreamWriter w(data);
  for (char c : std::string("hello"))
    w.literal(static_cast<std::uint8_t>(c));
  w.finish();
  MemoryPlatform platform;
  MemoryStream source(data), dest;
  const ExpandJob job{source, dest, platform, static_cast<std::int32_t>(data.size()), 0x7FFFFFFF, nullptr, nullptr, ""};
  LzhDecodeStats stats;
  EXPECT_EQ(errorOf(expandLzh(job, &stats)), "");
  EXPECT_TRUE(stats.inputExhausted);
  EXPECT_EQ(test::textOf(Bytes(dest.bytes().begin(), dest.bytes().begin() + 5)), "hello");
  EXPECT_LT(dest.bytes().size(), 5u + 6 * 8 * 60); // at most a few zero bytes' worth of symbols
}

TEST(ExpandLzh, EncoderNeverReadsTheInitialWindow) {
  // Decoded with a window of other bytes, the encoder's streams give the same data.
  for (const Bytes& data :
       {Bytes(100, ' '), test::bytesOf(std::string(70, ' ') + "x" + std::string(70, '\0')), test::textLike(9000, 2)}) {
    Bytes lzh;
    lzhEncode(data, lzh);
    MemoryPlatform platform;
    MemoryStream source(lzh), dest;
    const ExpandJob job{
        source,  dest,    platform, static_cast<std::int32_t>(lzh.size()), static_cast<std::int32_t>(data.size()),
        nullptr, nullptr, ""};
    EXPECT_EQ(errorOf(expandLzh(job, nullptr, 0x00)), "");
    EXPECT_EQ(dest.bytes(), data);
  }
}

TEST(ExpandLzh, TreeRebuildsInStepWithTheEncoder) {
  // Far more than 0x8000 symbols: the root frequency reaches 0x8000 many times.
  const Bytes data = test::binaryLike(400000, 9);
  Bytes lzh;
  LzhEncodeStats encoded;
  lzhEncode(data, lzh, &encoded);
  ASSERT_GT(encoded.literals + encoded.matches, 3u * 0x8000);
  MemoryPlatform platform;
  MemoryStream source(lzh), dest;
  const ExpandJob job{
      source,  dest,    platform, static_cast<std::int32_t>(lzh.size()), static_cast<std::int32_t>(data.size()),
      nullptr, nullptr, ""};
  LzhDecodeStats decoded;
  EXPECT_EQ(expandLzh(job, &decoded).value(), byteSum(data.data(), data.size()));
  EXPECT_EQ(dest.bytes(), data);
  EXPECT_GE(decoded.treeRebuilds, 3u);
  EXPECT_EQ(decoded.treeRebuilds, encoded.treeRebuilds);
  EXPECT_FALSE(decoded.inputExhausted);
}

TEST(ExpandLzh, EncoderRoundTripsShortTailsAndTheWindowEdge) {
  // Every length up to 80 of data of few and of many byte values: the tails where
  // fewer than four bytes are left to hash and match.
  for (std::size_t n = 0; n <= 80; ++n) {
    Bytes twoLetters = test::randomBytes(n, static_cast<unsigned>(n));
    for (auto& b : twoLetters)
      b = 'a' + (b & 1);
    for (const Bytes& data : {Bytes(n, 'z'), twoLetters, test::textLike(n, 4), test::randomBytes(n, 5)}) {
      Bytes lzh;
      lzhEncode(data, lzh);
      const Expanded e = expand(kMethodLzh, lzh, static_cast<std::int32_t>(n));
      EXPECT_EQ(e.bytes, data) << "length " << n;
    }
  }
  // A random block repeated at periods around the window: whatever the period, a
  // repeat 4096 bytes back or nearer is found, so the repeats cost little.
  for (const std::size_t period : {4094u, 4095u, 4096u}) {
    const Bytes block = test::randomBytes(period, static_cast<unsigned>(period));
    Bytes data;
    for (int i = 0; i < 3; ++i)
      data.insert(data.end(), block.begin(), block.end());
    data.resize(data.size() - 7);
    Bytes lzh;
    lzhEncode(data, lzh);
    EXPECT_EQ(expand(kMethodLzh, lzh, static_cast<std::int32_t>(data.size())).bytes, data) << "period " << period;
    EXPECT_LT(lzh.size(), period + period / 2) << "period " << period;
  }
}

TEST(ExpandLzh, RepeatsInsideIncompressibleDataAreFoundAtEveryDistance) {
  // A repeat of some of a long stretch of noise, at any distance and any
  // alignment, must be found and cost little.
  const Bytes noise = test::randomBytes(6000, 11);
  for (const std::size_t distance : {1000u, 1001u, 2002u, 3003u, 4096u}) {
    Bytes data = noise;
    data.insert(data.end(), noise.end() - static_cast<std::ptrdiff_t>(distance),
                noise.end() - static_cast<std::ptrdiff_t>(distance) + 900);
    Bytes lzh;
    lzhEncode(data, lzh);
    EXPECT_EQ(expand(kMethodLzh, lzh, static_cast<std::int32_t>(data.size())).bytes, data) << "distance " << distance;
    EXPECT_LT(lzh.size(), noise.size() + 200) << "distance " << distance; // 900 bytes as bytes: 6900
  }
}

// A short unit repeated with one byte in every few changed: matches shorter
// than the length that ends a block cover every position, so blocks run on to
// their limit; the longer units make matches long enough to end blocks early.
Bytes mutatedRepeats(std::size_t n, std::size_t unit) {
  Bytes data = test::randomBytes(unit, static_cast<unsigned>(unit));
  while (data.size() < n)
    data.push_back(data[data.size() - unit]);
  for (std::size_t k = unit; k < n; k += 2 * unit + 1)
    data[k] ^= static_cast<std::uint8_t>(1 + k % 7);
  return data;
}

TEST(ExpandLzh, EncoderRoundTripsMatchesThatRunPastBlocks) {
  for (const std::size_t unit : {5u, 9u, 14u, 20u, 33u, 61u}) {
    const Bytes data = mutatedRepeats(50000, unit);
    Bytes lzh;
    lzhEncode(data, lzh);
    EXPECT_EQ(expand(kMethodLzh, lzh, static_cast<std::int32_t>(data.size())).bytes, data) << "unit " << unit;
    EXPECT_LT(lzh.size(), data.size() / 3) << "unit " << unit;
  }
}

} // namespace
} // namespace kalvora
