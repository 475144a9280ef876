#pragma once
// The adaptive Huffman tree of the LZH method, shared by the decoder and the
// encoder so that both change it identically after every symbol (the update is
// in LzhTreeUpdate.h). Nodes are kept in order of frequency (the sibling
// property); the two children of an inner node are adjacent, the second at an
// odd index.
#include <cstdint>

namespace kalvora::lzh {

inline constexpr unsigned kWindow = 4096;    // N
inline constexpr unsigned kMaxMatch = 60;    // F
inline constexpr unsigned kThreshold = 2;    // matches of more bytes are coded
inline constexpr unsigned kSymbols = 314;    // N_CHAR: 256 bytes and lengths 3..60
inline constexpr unsigned kNodes = 627;      // T
inline constexpr unsigned kRoot = 626;       // R
inline constexpr unsigned kMaxFreq = 0x8000; // the root's frequency that forces a rebuild

// Whether the processor runs SSE2 instructions.
bool processorHasSse2();

class Tree {
public:
  Tree() { init(); }
  void init();

  // The longest path from the root's child to a leaf.
  static constexpr unsigned kMaxDepth = kNodes;

  // Halves the frequencies and builds the tree anew, when the root's reaches kMaxFreq.
  void rebuild();

  // How many times the frequencies were halved and the tree rebuilt.
  std::uint32_t rebuilds() const { return rebuilds_; }

  // freq[kNodes] is a sentinel; the 0xFFFF after it let a search read 32
  // bytes from any node on.
  static constexpr unsigned kFreqPadding = 15;
  std::uint16_t freq[kNodes + 1 + kFreqPadding];
  std::uint16_t son[kNodes];             // first child; >= kNodes marks a leaf
  std::uint16_t prnt[kNodes + kSymbols]; // parents; prnt[kNodes + v] is symbol v's leaf

  // Whether the update searches frequencies with SSE2 (LzhTreeUpdate.h), else
  // a machine word at a time: where the processor has it, unless a test asks
  // for the other search.
  bool searchBySse2 = processorHasSse2();

private:
  std::uint32_t rebuilds_ = 0;
};

} // namespace kalvora::lzh
