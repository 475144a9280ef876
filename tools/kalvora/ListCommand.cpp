// kalvora list: one line per member of an archive, and a total.
#include <cinttypes>
#include <cstdio>
#include <string>
#include <vector>

#include "ArchiveWalk.h"
#include "Arguments.h"
#include "Command.h"

namespace kalvora::tool {
namespace {

const char* const kHelp = R"(usage: kalvora list ARCHIVE

Lists the members of ARCHIVE that a full expansion reaches, one line each:
method, expanded size, compressed size, modification date and time,
attributes (R read-only, H hidden, S system, D directory, A archive),
whether it is locked, and its stored name. A last line gives the totals.

Options:
  --help  shows this text

Errors (exit status 1), with the archive's own messages:
  Can't recognize compressed file header
      ARCHIVE is not an archive or is shorter than its header
  Expand can't handle caSingle archive type in compressed header
      the archive type is not the multi-file type
  Unrecognized compression method in header
      the archive's method tag is not NON, RLE or LZH
  cannot open file ARCHIVE
      ARCHIVE is missing or cannot be opened
  the archive is cut short: ...
      members are missing, or the last one's data end past the file's end
      (the members found are listed)
Usage errors (exit status 2): no ARCHIVE, more than one, an unknown option.
)";

int list(const std::vector<std::string>& args) {
  const Arguments parsed = parseArguments(args, "");
  if (parsed.operands.size() != 1) throw UsageError("give exactly one ARCHIVE");
  TCompress compress;
  ArchiveWalk walk(compress, parsed.operands[0]);

  std::printf("Method   Expanded Compressed Date       Time     Attr  Locked Name\n");
  std::int64_t members = 0, expanded = 0, compressed = 0;
  MemberEntry entry;
  while (walk.next(entry)) {
    const MemberHeader& h = entry.header;
    std::printf("%-6s %10" PRId32 " %10" PRId32 " %s %-5s %-6s %s\n", methodName(h.method, walk.header()).c_str(),
                h.expandedSize, h.compressedSize, dosDateTimeText(static_cast<std::uint32_t>(h.fileDateTime)).c_str(),
                attributeLetters(h.fileAttributes).c_str(), h.lockFlag > 0 ? "yes" : "no",
                displayName(entry.name).c_str());
    ++members;
    expanded += h.expandedSize;
    compressed += h.compressedSize;
    walk.finish(entry);
  }
  std::printf("%" PRId64 " member%s, %" PRId64 " bytes expanded, %" PRId64 " bytes compressed, method tag %s\n",
              members, members == 1 ? "" : "s", expanded, compressed, walk.header().compressIdText().c_str());
  if (walk.trailingBytes() > 0)
    std::fprintf(stderr, "kalvora: note: %" PRId64 " bytes after the last member are not part of any member\n",
                 walk.trailingBytes());
  return walk.reportCutShort() ? 1 : 0;
}

} // namespace

KALVORA_COMMAND({"list", "list the members of an archive", kHelp, list});

} // namespace kalvora::tool
