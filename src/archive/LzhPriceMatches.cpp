#include "archive/LzhArrivals.h"

#include <algorithm>

#if defined(__x86_64__) && defined(__GNUC__) && !defined(_WIN32)
#include <immintrin.h>
#define KALVORA_AVX2_PRICES 1
#endif

namespace kalvora::lzh {

void priceMatches(Arrival* best, const Match* matches, unsigned found, unsigned cap, std::uint32_t here,
                  const LengthSteps& lengths) {
  unsigned length = kThreshold + 1;
  for (unsigned m = 0; m < found; ++m) {
    const Arrival base = arrival(here + positionBits(matches[m].distance), 0, matches[m].distance);
    for (const unsigned top = std::min(matches[m].length, cap); length <= top; ++length)
      best[length] = std::min(best[length], base + lengths.step[length]);
  }
}

#ifdef KALVORA_AVX2_PRICES
namespace {

// Four lengths a step; the lanes past a match's length keep what they hold.
[[gnu::target("avx2")]] void priceMatchesAvx2(Arrival* best, const Match* matches, unsigned found, unsigned cap,
                                              std::uint32_t here, const LengthSteps& lengths) {
  const __m256i lanes = _mm256_setr_epi64x(0, 1, 2, 3);
  unsigned length = kThreshold + 1;
  for (unsigned m = 0; m < found; ++m) {
    const Arrival start = arrival(here + positionBits(matches[m].distance), 0, matches[m].distance);
    const __m256i base = _mm256_set1_epi64x(static_cast<long long>(start));
    const unsigned top = std::min(matches[m].length, cap);
    if (length > top) continue;
    const __m256i past = _mm256_set1_epi64x(top);
    for (; length <= top; length += 4) {
      auto* at = reinterpret_cast<__m256i*>(best + length);
      const __m256i old = _mm256_loadu_si256(at);
      const __m256i cand =
          _mm256_add_epi64(base, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lengths.step + length)));
      const __m256i beyond = _mm256_cmpgt_epi64(_mm256_add_epi64(_mm256_set1_epi64x(length), lanes), past);
      const __m256i lower = _mm256_andnot_si256(beyond, _mm256_cmpgt_epi64(old, cand));
      _mm256_storeu_si256(at, _mm256_blendv_epi8(old, cand, lower));
    }
    length = top + 1;
  }
}

} // namespace
#endif

PriceMatches widestPriceMatches() {
#ifdef KALVORA_AVX2_PRICES
  __builtin_cpu_init(); // for a caller that runs before the static constructors
  if (__builtin_cpu_supports("avx2")) return priceMatchesAvx2;
#endif
  return priceMatches;
}

} // namespace kalvora::lzh
