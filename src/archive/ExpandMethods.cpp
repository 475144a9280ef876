#include "archive/ExpandMethods.h"

namespace kalvora {
namespace {

Result<std::uint32_t> expandNothing(const ExpandJob&) { return 0u; }

using ExpandFunction = Result<std::uint32_t> (*)(const ExpandJob&);
constexpr ExpandFunction kMethods[] = {expandStored, expandRle, expandLzh, expandCustom};

} // namespace

Result<std::uint32_t> expandStored(const ExpandJob& job) {
  if (job.compressedSize > 0) {
    if (Status copied = job.dest.copyFrom(job.source, job.compressedSize); !copied.ok()) return copied.error();
  }
  return 0u;
}

Result<std::uint32_t> expandCustom(const ExpandJob& job) {
  std::int32_t checksum = 0;
  if (job.onExpand && *job.onExpand) {
    Status expanded =
        (*job.onExpand)(job.dest, job.source, job.compressedSize, job.expandedSize, job.compressId, checksum);
    if (!expanded.ok()) return expanded.error();
  }
  return static_cast<std::uint32_t>(checksum);
}

Result<std::uint32_t> expandByMethod(std::uint8_t method, const ExpandJob& job) {
  const ExpandFunction expand = method < std::size(kMethods) ? kMethods[method] : expandNothing;
  return expand(job);
}

} // namespace kalvora
