// Encoding and decoding speed of the RLE and LZH methods. Decoding runs the
// real engine: TCompress::ExpandMember from memory into a stream that discards.
#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "BenchData.h"
#include "Comparison.h"
#include "archive/ArchiveWriter.h"
#include "archive/Compress.h"

namespace kalvora::bench {
namespace {

class DiscardStream : public Stream {
public:
  std::size_t read(void*, std::size_t) override { return 0; }
  std::size_t write(const void*, std::size_t n) override {
    written_ += static_cast<std::int64_t>(n);
    return n;
  }
  std::int64_t position() const override { return written_; }
  void seek(std::int64_t) override {}
  std::int64_t size() const override { return written_; }

private:
  std::int64_t written_ = 0;
};

using Encoder = void (*)(std::span<const std::uint8_t>, std::vector<std::uint8_t>&);

Encoder encoderOf(std::uint8_t method) { return method == kMethodRle ? rleEncode : lzhEncode; }

void encode(benchmark::State& state, const DataSet* set, std::uint8_t method) {
  std::vector<std::uint8_t> out;
  for (auto _ : state) {
    out.clear();
    encoderOf(method)(set->bytes, out);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * set->bytes.size()));
  state.counters["ratio%"] = 100.0 * static_cast<double>(out.size()) / static_cast<double>(set->bytes.size());
}

void decode(benchmark::State& state, const DataSet* set, std::uint8_t method) {
  std::vector<std::uint8_t> packed;
  encoderOf(method)(set->bytes, packed);
  const auto checksum = static_cast<std::int32_t>(byteSum(set->bytes.data(), set->bytes.size()));
  const auto expanded = static_cast<std::int32_t>(set->bytes.size());
  const auto compressed = static_cast<std::int32_t>(packed.size());
  TCompress compress;
  for (auto _ : state) {
    ViewStream source(packed.data(), packed.size());
    DiscardStream sink;
    if (!compress.ExpandMember(sink, source, false, methodTag(method), method, checksum, expanded, compressed).ok())
      state.SkipWithError("expansion failed");
    if (sink.size() != expanded) state.SkipWithError("expanded size differs");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * set->bytes.size()));
}

void registerAll() {
  for (const DataSet& set : dataSets()) {
    for (const std::uint8_t method : {kMethodRle, kMethodLzh}) {
      const std::string tag = methodTag(method);
      benchmark::RegisterBenchmark(("encode/" + tag + "/" + set.name).c_str(), encode, &set, method)
          ->Unit(benchmark::kMillisecond);
      benchmark::RegisterBenchmark(("decode/" + tag + "/" + set.name).c_str(), decode, &set, method)
          ->Unit(benchmark::kMillisecond);
    }
  }
}

} // namespace
} // namespace kalvora::bench

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--write-comparison") == 0)
    return kalvora::bench::writeComparisonFiles(argv[2]);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
  kalvora::bench::registerAll();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
