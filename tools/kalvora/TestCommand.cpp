// kalvora test: expands every member into nothing, with the archive's own
// decoders and checks, and reports each member's state.
#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "ArchiveWalk.h"
#include "Arguments.h"
#include "Command.h"
#include "CountingStream.h"
#include "EnglishText.h"

namespace kalvora::tool {
namespace {

const char* const kHelp = R"(usage: kalvora test [-k KEY] ARCHIVE

Expands every member of ARCHIVE that a full expansion reaches, writing no
file, and checks it: the key of a locked member, the checksum, that it
expands to the size its header gives, and that its data end where the next
member begins. Stored (NON) members are checked too, although an expansion
does not check them. Prints "ok" or "FAILED" and the reason for each member,
then a summary.

Options:
  -k KEY  the key for locked members: a whole number from -2147483648 to
          2147483647 other than 0
  --help  shows this text

Member faults (exit status 1, the other members are still tested):
  File locked -- valid key required         no KEY, or the wrong one
  Bad checksum during expansion -- data may be invalid
  read error: the data end too early        a stored member is cut short
  expanded to N bytes, not the M of its header
  its data take N bytes, not the M of its header
Archive faults (exit status 1, after the members found are tested):
  the archive is cut short: ...             members are missing, or the last
                                            one's data end past the file's end
Archive errors (exit status 1, nothing tested), the archive's own messages:
  Can't recognize compressed file header
  Expand can't handle caSingle archive type in compressed header
  Unrecognized compression method in header
  cannot open file ARCHIVE
Usage errors (exit status 2): no ARCHIVE, more than one, an unknown option,
a bad KEY.
)";

// The component's own checks; then what a header promises that it does not check.
std::string memberFault(TCompress& compress, ArchiveWalk& walk, const MemberEntry& entry) {
  const MemberHeader& h = entry.header;
  const bool locked = h.lockFlag > 0;
  CountingStream sink;
  if (const Status expanded = compress.ExpandMember(sink, walk.source(), locked, walk.header().compressIdText(),
                                                    h.method, h.checksum, h.expandedSize, h.compressedSize);
      !expanded.ok())
    return expanded.error().what();
  const auto checksum = static_cast<std::uint32_t>(h.checksum);
  const auto key = static_cast<std::uint32_t>(compress.Key);
  if (h.method == kMethodStored && sink.sum() != checksum) {
    if (!locked) return EBadChecksum().what();
    if (sink.sum() + key != checksum) return EInvalidKey().what();
  }
  if (sink.count() != h.expandedSize)
    return "expanded to " + std::to_string(sink.count()) + " bytes, not the " + std::to_string(h.expandedSize) +
           " of its header";
  const std::int64_t consumed = walk.source().position() - entry.dataOffset;
  if (h.compressedSize >= 0 && consumed != h.compressedSize)
    return "its data take " + std::to_string(consumed) + " bytes, not the " + std::to_string(h.compressedSize) +
           " of its header";
  return "";
}

int test(const std::vector<std::string>& args) {
  const Arguments parsed = parseArguments(args, "k");
  if (parsed.operands.size() != 1) throw UsageError("give exactly one ARCHIVE");
  TCompress compress;
  if (parsed.has('k')) compress.Key = parseKey(parsed.value('k'));
  ArchiveWalk walk(compress, parsed.operands[0]);

  int members = 0, failed = 0;
  MemberEntry entry;
  while (walk.next(entry)) {
    ++members;
    const std::string fault = memberFault(compress, walk, entry);
    if (fault.empty()) {
      std::printf("ok      %s\n", displayName(entry.name).c_str());
    } else {
      ++failed;
      std::printf("FAILED  %s: %s\n", displayName(entry.name).c_str(), inEnglish(fault).c_str());
    }
    walk.finish(entry);
  }
  std::printf("%d member%s tested, %d failed\n", members, members == 1 ? "" : "s", failed);
  const bool cut = walk.reportCutShort();
  return failed == 0 && !cut ? 0 : 1;
}

} // namespace

KALVORA_COMMAND({"test", "check every member of an archive without writing files", kHelp, test});

} // namespace kalvora::tool
