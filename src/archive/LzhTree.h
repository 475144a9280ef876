#pragma once
// The adaptive Huffman tree of the LZH method, shared by the decoder and the
// encoder so that both change it identically after every symbol. Nodes are kept
// in order of frequency (the sibling property); the two children of an inner
// node are adjacent, the second at an odd index.
#include <cstdint>

namespace kalvora::lzh {

inline constexpr unsigned kWindow = 4096;    // N
inline constexpr unsigned kMaxMatch = 60;    // F
inline constexpr unsigned kThreshold = 2;    // matches of more bytes are coded
inline constexpr unsigned kSymbols = 314;    // N_CHAR: 256 bytes and lengths 3..60
inline constexpr unsigned kNodes = 627;      // T
inline constexpr unsigned kRoot = 626;       // R
inline constexpr unsigned kMaxFreq = 0x8000; // the root's frequency that forces a rebuild

class Tree {
public:
  Tree() { init(); }
  void init();

  // Counts one more occurrence of symbol and restores the frequency order.
  void update(unsigned symbol) {
    if (freq[kRoot] == kMaxFreq) rebuild();
    climb(prnt[symbol + kNodes]);
  }

  // The same, given the nodes from the symbol's leaf up to the root's child as
  // the coder just walked them: no parent lookups while nothing moves.
  void update(unsigned symbol, const std::uint16_t* path, unsigned depth) {
    if (freq[kRoot] == kMaxFreq) {
      rebuild();
      climb(prnt[symbol + kNodes]);
      return;
    }
    for (unsigned i = 0; i < depth; ++i) {
      unsigned n = path[i];
      const unsigned k = ++freq[n];
      if (k > freq[n + 1]) {
        swapUp(n, k);
        climb(prnt[n]);
        return;
      }
    }
    ++freq[kRoot]; // never moves: the sentinel above it is larger
  }

  // The longest path from the root's child to a leaf.
  static constexpr unsigned kMaxDepth = kNodes;

  // Halves the frequencies and builds the tree anew, when the root's reaches kMaxFreq.
  void rebuild();

  // How many times the frequencies were halved and the tree rebuilt.
  std::uint32_t rebuilds() const { return rebuilds_; }

  // freq[kNodes] is a sentinel; the 0xFFFF after it let a search read 16
  // bytes from any node on.
  static constexpr unsigned kFreqPadding = 7;
  std::uint16_t freq[kNodes + 1 + kFreqPadding];
  std::uint16_t son[kNodes];             // first child; >= kNodes marks a leaf
  std::uint16_t prnt[kNodes + kSymbols]; // parents; prnt[kNodes + v] is symbol v's leaf

private:
  void climb(unsigned n) {
    do {
      const unsigned k = ++freq[n];
      if (k > freq[n + 1]) swapUp(n, k);
    } while ((n = prnt[n]) != 0);
  }
  void swapUp(unsigned& n, unsigned k);

  std::uint32_t rebuilds_ = 0;
};

inline void Tree::swapUp(unsigned& n, unsigned k) {
  // Move node n past the last node whose frequency is still below k.
  unsigned l = n + 1;
  while (k > freq[l + 1])
    ++l;
  freq[n] = freq[l];
  freq[l] = static_cast<std::uint16_t>(k);

  const unsigned i = son[n];
  prnt[i] = static_cast<std::uint16_t>(l);
  if (i < kNodes) prnt[i + 1] = static_cast<std::uint16_t>(l);
  const unsigned j = son[l];
  son[l] = static_cast<std::uint16_t>(i);
  prnt[j] = static_cast<std::uint16_t>(n);
  if (j < kNodes) prnt[j + 1] = static_cast<std::uint16_t>(n);
  son[n] = static_cast<std::uint16_t>(j);
  n = l;
}

} // namespace kalvora::lzh
