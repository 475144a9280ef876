#include "archive/LzhTree.h"

#include <algorithm>
#include <cstring>

#if defined(__i386__) && !defined(__SSE2__) && defined(__GNUC__)
#include <cpuid.h>
#endif

namespace kalvora::lzh {

bool processorHasSse2() {
#if defined(__SSE2__)
  return true;
#elif defined(__i386__) && defined(__GNUC__)
  // The feature bit asked of the processor itself: __builtin_cpu_supports would
  // bring libgcc's whole processor model detection (5 KB) for this one bit.
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  return __get_cpuid(1, &eax, &ebx, &ecx, &edx) && (edx & bit_SSE2) != 0;
#else
  return false;
#endif
}

void Tree::init() {
  for (unsigned v = 0; v < kSymbols; ++v) {
    freq[v] = 1;
    son[v] = static_cast<std::uint16_t>(v + kNodes);
    prnt[v + kNodes] = static_cast<std::uint16_t>(v);
  }
  for (unsigned i = 0, j = kSymbols; j < kNodes; i += 2, ++j) {
    freq[j] = static_cast<std::uint16_t>(freq[i] + freq[i + 1]);
    son[j] = static_cast<std::uint16_t>(i);
    prnt[i] = prnt[i + 1] = static_cast<std::uint16_t>(j);
  }
  for (unsigned i = kNodes; i <= kNodes + kFreqPadding; ++i)
    freq[i] = 0xFFFF;
  prnt[kRoot] = 0;
  rebuilds_ = 0;
}

void Tree::rebuild() {
  ++rebuilds_;
  // The leaves, in node order, to the front with their frequencies halved.
  unsigned leaves = 0;
  for (unsigned i = 0; i < kNodes; ++i) {
    if (son[i] >= kNodes) {
      freq[leaves] = static_cast<std::uint16_t>((freq[i] + 1u) / 2);
      son[leaves] = son[i];
      ++leaves;
    }
  }
  // Pair them up again, each new node inserted where its frequency keeps the
  // order: after the last node not above it, found by a binary search of the
  // nodes from its sons on, which are in order.
  for (unsigned i = 0, j = kSymbols; j < kNodes; i += 2, ++j) {
    const unsigned f = freq[i] + freq[i + 1];
    const auto k = static_cast<unsigned>(std::upper_bound(&freq[i], &freq[j], f) - freq);
    std::memmove(&freq[k + 1], &freq[k], (j - k) * sizeof freq[0]);
    std::memmove(&son[k + 1], &son[k], (j - k) * sizeof son[0]);
    freq[k] = static_cast<std::uint16_t>(f);
    son[k] = static_cast<std::uint16_t>(i);
  }
  for (unsigned i = 0; i < kNodes; ++i) {
    const unsigned s = son[i];
    prnt[s] = static_cast<std::uint16_t>(i);
    if (s < kNodes) prnt[s + 1] = static_cast<std::uint16_t>(i);
  }
}

} // namespace kalvora::lzh
