#pragma once
// Counting a symbol in the adaptive tree, for the decoder and the encoder alike:
// every node from the symbol's leaf up to the root gains one, and a node whose
// frequency now exceeds the next one's moves past the last node still below it,
// exchanging subtrees with that node. Inlined into each coder's loop.
//
// A coder that keeps its own record of the tree's shape passes an observer,
// told of every pair of nodes whose sons were exchanged (moved(n, l)) and of
// every rebuild (rebuilt()).
#include <bit>
#include <cstdint>
#include <cstring>

#include "archive/LzhTree.h"

// SSE2: 1 where the target has it, 2 where a 32-bit x86 target may lack it
// and the processor is asked at run time (Tree::searchBySse2).
#if defined(__SSE2__)
#define KALVORA_SSE2 1
#define KALVORA_SSE2_FUNCTION [[gnu::always_inline]] inline
#elif defined(__i386__) && defined(__GNUC__)
#define KALVORA_SSE2 2
// Local to each translation unit, so that the decoder keeps the copy compiled
// with its own optimisation whichever copy the linker would keep.
#define KALVORA_SSE2_FUNCTION [[gnu::noinline, gnu::target("sse2")]] static inline
#else
#define KALVORA_SSE2 0
#endif
#if KALVORA_SSE2
#include <emmintrin.h>
#endif

#define KALVORA_HOT [[gnu::always_inline]] inline

namespace kalvora::lzh {

// An observer for coders that keep no record of the tree's shape.
struct NoTreeRecord {
  void moved(unsigned, unsigned) {}
  void rebuilt() {}
};

// The last node from n + 1 on whose frequency is below k, given that n + 1's
// is. The frequencies are compared sixteen at a time in SSE2 registers where the
// target has them, else a machine word at a time: k is below 0x8000 (the
// root's share), so (f | 0x8000) - k keeps each 16-bit lane from borrowing
// and has the lane's top bit set just where f >= k.
KALVORA_HOT unsigned lastBelowByWords(const Tree& t, unsigned n, unsigned k) {
  using Word = std::uintptr_t;
  constexpr unsigned kLanes = sizeof(Word) / 2;
  constexpr Word kOnes = ~Word{0} / 0xFFFF, kTops = kOnes << 15;
  static_assert(kLanes - 1 <= Tree::kFreqPadding);
  const Word ks = kOnes * k;
  for (unsigned l = n + 1;; l += kLanes) {
    Word lanes;
    std::memcpy(&lanes, &t.freq[l + 1], sizeof lanes);
    const Word atLeastK = ((lanes | kTops) - ks) & kTops;
    if (atLeastK != 0) return l + static_cast<unsigned>(std::countr_zero(atLeastK)) / 16;
  }
}

#if KALVORA_SSE2
KALVORA_SSE2_FUNCTION unsigned lastBelowBySse2(const Tree& t, unsigned n, unsigned k) {
  // Sixteen frequencies a step: most moves go no further, so the loop rarely turns.
  static_assert(15 <= Tree::kFreqPadding);
  const __m128i tops = _mm_set1_epi16(static_cast<short>(0x8000));
  const __m128i ks = _mm_set1_epi16(static_cast<short>(k));
  for (unsigned l = n + 1;; l += 16) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&t.freq[l + 1]));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&t.freq[l + 9]));
    const auto signs = static_cast<unsigned>(_mm_movemask_epi8(_mm_sub_epi16(_mm_or_si128(low, tops), ks))) |
                       static_cast<unsigned>(_mm_movemask_epi8(_mm_sub_epi16(_mm_or_si128(high, tops), ks))) << 16;
    const unsigned atLeastK = signs & 0xAAAAAAAAu; // each lane's top byte
    if (atLeastK != 0) return l + static_cast<unsigned>(std::countr_zero(atLeastK)) / 2;
  }
}
#endif

KALVORA_HOT unsigned lastBelow(const Tree& t, unsigned n, unsigned k) {
#if KALVORA_SSE2
  if (t.searchBySse2) return lastBelowBySse2(t, n, k);
#endif
  return lastBelowByWords(t, n, k);
}

// Moves node n past the last node whose frequency is still below k, where
// n's was before counting: the two exchange frequencies and subtrees.
template <typename Record> KALVORA_HOT void swapUp(Tree& t, unsigned& n, unsigned k, Record& record) {
  const unsigned l = lastBelow(t, n, k);
  t.freq[n] = static_cast<std::uint16_t>(k - 1); // l's, equal to n's before
  t.freq[l] = static_cast<std::uint16_t>(k);
  // An inner node's two children take the new parent; a leaf's symbol entry
  // is written twice instead, which saves a branch on which it is.
  const unsigned i = t.son[n];
  t.prnt[i] = static_cast<std::uint16_t>(l);
  t.prnt[i + (i < kNodes)] = static_cast<std::uint16_t>(l);
  const unsigned j = t.son[l];
  t.son[l] = static_cast<std::uint16_t>(i);
  t.prnt[j] = static_cast<std::uint16_t>(n);
  t.prnt[j + (j < kNodes)] = static_cast<std::uint16_t>(n);
  t.son[n] = static_cast<std::uint16_t>(j);
  record.moved(n, l);
  n = l;
}

// Counts node n and those above it. Not inlined: its chain of parent lookups
// is the longest in the update, and on its own its few variables stay in
// registers, which a 32-bit build cannot give them in a coder's loop.
template <typename Record> [[gnu::noinline]] void climb(Tree& t, unsigned n, Record& record) {
  do {
    const unsigned k = ++t.freq[n];
    if (k > t.freq[n + 1]) swapUp(t, n, k, record);
  } while ((n = t.prnt[n]) != 0);
}

// Counts the nodes of path from its end back to its start; true when one of
// them moved, after which the counting went on up from where it went.
template <typename Record>
KALVORA_HOT bool countAlong(Tree& t, const std::uint16_t* path, unsigned depth, Record& record) {
  for (const std::uint16_t* p = path + depth; p != path;) {
    unsigned n = *--p;
    const unsigned k = ++t.freq[n];
    if (k > t.freq[n + 1]) {
      swapUp(t, n, k, record);
      climb(t, t.prnt[n], record);
      return true;
    }
  }
  return false;
}

// Counts the symbol whose leaf was reached along upper and then lower, the
// nodes from the root's child down to the leaf: no parent lookups while
// nothing moves. upper may be empty.
template <typename Record>
KALVORA_HOT void update(Tree& t, unsigned symbol, const std::uint16_t* upper, unsigned upperDepth,
                        const std::uint16_t* lower, unsigned lowerDepth, Record& record) {
  if (t.freq[kRoot] == kMaxFreq) {
    t.rebuild();
    record.rebuilt();
    climb(t, t.prnt[symbol + kNodes], record);
    return;
  }
  if (countAlong(t, lower, lowerDepth, record) || countAlong(t, upper, upperDepth, record)) return;
  ++t.freq[kRoot]; // never moves: the sentinel above it is larger
}

} // namespace kalvora::lzh
