#include "install/RunProgress.h"

#include <algorithm>
#include <cmath>

namespace kalvora {

std::int64_t roundHalfEven(double value) {
  // nearbyint rounds in the default mode, to nearest with ties to even.
  return static_cast<std::int64_t>(std::nearbyint(value));
}

int clampPercent(std::int64_t value) { return static_cast<int>(std::clamp<std::int64_t>(value, 0, 100)); }

namespace {

// part * scale / whole, in that order so that exact halves stay exact.
double share(std::int64_t part, double scale, std::int64_t whole) {
  // A script may name a chunk of no bytes: it is complete at once.
  return whole <= 0 ? scale : static_cast<double>(part) * scale / static_cast<double>(whole);
}

std::int64_t atLeastOne(std::int64_t total) { return std::max<std::int64_t>(total, 1); }

} // namespace

std::optional<std::int64_t> compressedRunProgress(std::int64_t bytesDone, std::int64_t progressTotal) {
  const std::int64_t v = roundHalfEven(share(bytesDone, 96.0, atLeastOne(progressTotal))) + 2;
  if (v < 98) return v;
  return std::nullopt;
}

BlockProgress blockProgress(bool compressed, std::int64_t written, std::int64_t size, std::int64_t remaining,
                            std::int64_t bytesDone, std::int64_t progressTotal) {
  BlockProgress p;
  if (compressed) {
    p.item = roundHalfEven(share(size - remaining, 20.0, size));
    p.bytesDone = bytesDone + roundHalfEven(static_cast<double>(written) * 0.01 * 20.0);
    p.run = compressedRunProgress(p.bytesDone, progressTotal);
  } else {
    p.item = roundHalfEven(share(size - remaining, 100.0, size));
    p.bytesDone = bytesDone + written;
    p.run = roundHalfEven(share(p.bytesDone, 96.0, atLeastOne(progressTotal))) + 1;
  }
  return p;
}

std::int64_t expansionItemProgress(std::int32_t percentageDone) {
  return roundHalfEven(static_cast<double>(percentageDone) * 0.01 * 80.0) + 20;
}

} // namespace kalvora
