// Files encoded on several threads come out in order, errors at their own
// file, within the bound of files and bytes held, and a pipeline left early
// stops.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>

#include "media/EncodeAhead.h"

namespace kalvora::media {
namespace {

void raise(std::atomic<std::int64_t>& max, std::int64_t value) {
  for (std::int64_t m = max; value > m && !max.compare_exchange_weak(m, value);) {
  }
}

// What the encodes saw. Files count as held from the start of their encoding
// until the caller has taken them and said so, which is one file later than
// the pipeline lets go of them.
struct Counters {
  std::atomic<std::int64_t> held{0}, maxHeld{0}, maxAhead{0}, running{0}, besideAlone{0};
  std::atomic<std::size_t> encoded{0}, taken{0};
};

EncodeAhead::Encode encoder(const std::vector<std::int64_t>& sizes, Counters& c, std::size_t failAt,
                            std::size_t alone = SIZE_MAX) {
  return [&sizes, &c, failAt, alone](std::size_t index) {
    c.encoded++;
    c.running++;
    raise(c.maxHeld, c.held += sizes[index]);
    raise(c.maxAhead, static_cast<std::int64_t>(index - c.taken));
    if (index == alone) raise(c.besideAlone, c.running - 1);
    // Uneven work, so that later files often finish first.
    std::this_thread::sleep_for(std::chrono::microseconds((index * 7919) % 300));
    if (index == alone) raise(c.besideAlone, c.running - 1);
    c.running--;
    if (index == failAt) throw std::runtime_error("file " + std::to_string(index));
    return EncodedFile{sizes[index], std::vector<std::uint8_t>(index % 5, static_cast<std::uint8_t>(index))};
  };
}

void takeAll(EncodeAhead& ahead, const std::vector<std::int64_t>& sizes, Counters& c) {
  for (std::size_t i = 0; i < sizes.size(); ++i) {
    const EncodedFile file = ahead.take();
    c.held -= sizes[i];
    c.taken = i + 1;
    ASSERT_EQ(file.readBytes, sizes[i]);
    ASSERT_EQ(file.chunk, std::vector<std::uint8_t>(i % 5, static_cast<std::uint8_t>(i)));
  }
}

TEST(EncodeAhead, ResultsInOrderWithinTheBoundsOnAnyNumberOfThreads) {
  const std::int64_t bound = EncodeAhead::kHeldBytes;
  for (unsigned threads : {1u, 2u, 3u, 8u}) {
    SCOPED_TRACE(testing::Message() << threads << " threads");
    const bool inline_ = threads < 2;
    {
      // Small files: the number ahead is the bound.
      const std::vector<std::int64_t> sizes(60, 1000);
      Counters c;
      EncodeAhead ahead(sizes, encoder(sizes, c, sizes.size()), threads);
      takeAll(ahead, sizes, c);
      EXPECT_EQ(c.encoded, sizes.size());
      EXPECT_LE(c.maxAhead, inline_ ? 0 : 2 * threads);
    }
    {
      // Files of a third of the bound: the bytes are the bound. A file
      // larger than the bound is encoded with nothing beside it.
      std::vector<std::int64_t> sizes;
      for (int i = 0; i < 30; ++i)
        sizes.push_back(bound / 3 + i);
      sizes[10] = bound * 2;
      Counters c;
      EncodeAhead ahead(sizes, encoder(sizes, c, sizes.size(), 10), threads);
      takeAll(ahead, sizes, c);
      EXPECT_EQ(c.encoded, sizes.size());
      EXPECT_EQ(c.besideAlone, 0);
    }
    {
      const std::vector<std::int64_t> sizes(30, bound / 3);
      Counters c;
      EncodeAhead ahead(sizes, encoder(sizes, c, sizes.size()), threads);
      takeAll(ahead, sizes, c);
      EXPECT_LE(c.maxHeld, bound + bound / 3); // the bound, and the file just taken
    }
  }
}

TEST(EncodeAhead, AnErrorComesAtItsFileAfterTheOnesBefore) {
  for (unsigned threads : {1u, 4u}) {
    const std::vector<std::int64_t> sizes(30, 100);
    Counters c;
    EncodeAhead ahead(sizes, encoder(sizes, c, 17), threads);
    for (std::size_t i = 0; i < 17; ++i)
      EXPECT_EQ(ahead.take().readBytes, 100);
    try {
      ahead.take();
      ADD_FAILURE() << "no error at file 17";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), "file 17");
    }
  }
}

TEST(EncodeAhead, LeftEarlyItStopsWithoutEncodingTheRest) {
  const std::vector<std::int64_t> sizes(1000, 100);
  Counters c;
  {
    EncodeAhead ahead(sizes, encoder(sizes, c, sizes.size()), 4);
    ahead.take();
    ahead.take();
  }
  EXPECT_LE(c.encoded, 2 + 2 * 4u);
}

} // namespace
} // namespace kalvora::media
