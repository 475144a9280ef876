#pragma once
// The formulas of the installation dialog's two bars: per copied block of a
// chunk and per progress report of the expansion component.
#include <cstdint>
#include <optional>

namespace kalvora {

// To the nearest integer, a half to the even neighbour.
std::int64_t roundHalfEven(double value);
// A bar's value: 0 to 100.
int clampPercent(std::int64_t value);

struct BlockProgress {
  std::int64_t item = 0;           // Pr_o
  std::int64_t bytesDone = 0;      // the counter after the block
  std::optional<std::int64_t> run; // Pr_u, when it moves
};

// After a block that wrote `written` of the chunk's `size` bytes, with
// `remaining` still to copy. A compressed copy fills the first fifth of the
// item bar and leaves the run bar below 98; a plain one fills both.
BlockProgress blockProgress(bool compressed, std::int64_t written, std::int64_t size, std::int64_t remaining,
                            std::int64_t bytesDone, std::int64_t progressTotal);

// The expansion fills the item bar from 20 to 100.
std::int64_t expansionItemProgress(std::int32_t percentageDone);
// The run bar while compressed data are handled; nothing once it would reach 98.
std::optional<std::int64_t> compressedRunProgress(std::int64_t bytesDone, std::int64_t progressTotal);

} // namespace kalvora
