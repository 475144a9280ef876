#pragma once
// The parse's arrivals and its innermost step, shared by the encoder and the
// step's vector form.
#include <cstdint>

#include "archive/LzhMatchFinder.h"
#include "archive/LzhPositionCode.h"
#include "archive/LzhTree.h"

namespace kalvora::lzh {

// The cheapest known way to reach a position of the block: its cost in bits
// above, its last step below (length 1 for a byte, else a match's length and
// distance), so that the smaller of two is the cheaper. Every arrival is below
// 2^63, so that signed compares order them too.
using Arrival = std::uint64_t;
constexpr Arrival arrival(std::uint32_t cost, unsigned length, unsigned distance) {
  return static_cast<Arrival>(cost) << 32 | length << 16 | distance;
}
constexpr std::uint32_t costOf(Arrival a) { return static_cast<std::uint32_t>(a >> 32); }
constexpr unsigned lengthOf(Arrival a) { return static_cast<unsigned>(a >> 16) & 0xFFFFu; }
constexpr unsigned distanceOf(Arrival a) { return static_cast<unsigned>(a) & 0xFFFFu; }
constexpr Arrival kUnreached = INT64_MAX;

// A match's length code as an arrival, added to its start's cost and its
// distance; entries past kMaxMatch let a step price four lengths at once.
struct LengthSteps {
  alignas(32) Arrival step[kMaxMatch + 4] = {};
};

constexpr unsigned positionBits(unsigned distance) { return kPositionCode.length[(distance - 1) >> 6] + 6u; }

// Lowers best[length] to the arrival by every length up to cap of the matches
// found at a position reached at cost here, each length at the nearest
// distance that has it. best must have 3 entries past cap, which it keeps.
using PriceMatches = void (*)(Arrival* best, const Match* matches, unsigned found, unsigned cap, std::uint32_t here,
                              const LengthSteps& lengths);
void priceMatches(Arrival* best, const Match* matches, unsigned found, unsigned cap, std::uint32_t here,
                  const LengthSteps& lengths);
// The same, four lengths at a time where the processor can (else priceMatches).
PriceMatches widestPriceMatches();

} // namespace kalvora::lzh
