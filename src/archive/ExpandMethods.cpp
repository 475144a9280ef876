#include "archive/ExpandMethods.h"

namespace kalvora {
namespace {

std::uint32_t expandNothing(const ExpandJob&) { return 0; }

using ExpandFunction = std::uint32_t (*)(const ExpandJob&);
constexpr ExpandFunction kMethods[] = {expandStored, expandRle, expandLzh, expandCustom};

} // namespace

std::uint32_t expandStored(const ExpandJob& job) {
  if (job.compressedSize > 0) job.dest.copyFrom(job.source, job.compressedSize);
  return 0;
}

std::uint32_t expandCustom(const ExpandJob& job) {
  std::int32_t checksum = 0;
  if (job.onExpand && *job.onExpand)
    (*job.onExpand)(job.dest, job.source, job.compressedSize, job.expandedSize, job.compressId, checksum);
  return static_cast<std::uint32_t>(checksum);
}

std::uint32_t expandByMethod(std::uint8_t method, const ExpandJob& job) {
  const ExpandFunction expand = method < std::size(kMethods) ? kMethods[method] : expandNothing;
  return expand(job);
}

} // namespace kalvora
