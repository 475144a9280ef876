// kalvora expand: expands an archive's members below a directory, refusing
// every stored name that would lead out of it.
#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "ArchiveWalk.h"
#include "Arguments.h"
#include "Command.h"
#include "LocalFiles.h"
#include "archive/Compress.h"
#include "archive/StoredName.h"
#include "media/Raise.h"

namespace kalvora::tool {
namespace {

const char* const kHelp = R"(usage: kalvora expand [-C DIR] [-k KEY] ARCHIVE [NAME...]

Expands every member of ARCHIVE, or only the members whose stored names are
given (compared without regard to case; "/" in NAME stands for "\"), below
DIR, creating the directories a member's name asks for. "\" in a stored name
separates directories. Existing files are replaced. Each file gets its stored
modification time and attributes. Prints the path of every file written.

A member whose stored name begins with "\" or "/", names a drive ("X:") or
contains ':', has a component of dots and spaces only (such as ".."), ends in
"\", names a device such as NUL, or holds a control character would not stay
below DIR: it is refused with a message naming it, skipped, and the other
members are expanded; the exit status is then 1.

Options:
  -C DIR  expands below DIR (created when missing) instead of the current
          directory
  -k KEY  the key for locked members: a whole number from -2147483648 to
          2147483647 other than 0
  --help  shows this text

Errors (exit status 1): the archive's own messages, after "kalvora: ", end the
expansion; files written before stay, a partly written file is removed:
  Can't recognize compressed file header
  Expand can't handle caSingle archive type in compressed header
  Unrecognized compression method in header
  File locked -- valid key required         no KEY, or the wrong one
  Bad checksum during expansion -- data may be invalid
  Not enough disk space to expand PATH
  cannot open file PATH / cannot create file PATH
                                            ARCHIVE or a file cannot be opened
  read error: the data end too early        a stored member is cut short
  write error: the disk is full or refuses the data
  cannot create directory 'DIR': REASON
  access denied (or another input/output error)
                                            a directory cannot be created, or an
                                            existing file cannot be replaced
Also exit status 1 (after the others are expanded):
  refusing member 'NAME': it ...            an unsafe stored name, see above
  no member named 'NAME'                    a NAME matched no member
  the archive is cut short: ...             members are missing (those found
                                            are expanded)
Usage errors (exit status 2): no ARCHIVE, an unknown option, a bad KEY.
)";

std::string storedForm(std::string name) {
  for (char& c : name)
    if (c == '/') c = '\\';
  return name;
}

int expand(const std::vector<std::string>& args) {
  const Arguments parsed = parseArguments(args, "Ck");
  if (parsed.operands.empty()) throw UsageError("give an ARCHIVE");
  const std::string archive = parsed.operands[0];
  const std::string dir = parsed.value('C', ".");
  if (dir.empty()) throw UsageError("option -C needs a directory");

  std::vector<std::string> wanted;
  for (std::size_t i = 1; i < parsed.operands.size(); ++i)
    wanted.push_back(storedForm(parsed.operands[i]));

  TCompress compress;
  compress.MakeDirectories = true;
  compress.ExceptionOnFileError = true;
  if (parsed.has('k')) compress.Key = parseKey(parsed.value('k'));

  std::vector<std::string> seen; // stored names of the candidate members reached
  int refused = 0;
  // A member is written once the walk reaches the next one, or ends without error.
  std::string pending;
  const auto report = [&pending] {
    if (!pending.empty()) std::printf("%s\n", pending.c_str());
    pending.clear();
  };
  // With TargetPath empty, the path handed in is the stored name itself.
  compress.OnCheckFile = [&](std::string& path, TCProcessMode) {
    report();
    seen.push_back(path);
    const StoredNameCheck check = checkStoredName(path, kPathSeparator);
    if (!check.relativePath) {
      std::fprintf(stderr, "kalvora: refusing member '%s': it %s\n", displayName(path).c_str(), check.problem.c_str());
      ++refused;
      path.clear(); // skips the member
      return;
    }
    path = joinPath(dir, *check.relativePath);
    pending = path;
  };

  createDirectories(dir);
  std::vector<std::string> list = wanted;
  media::raiseOnError(compress.ExpandArchive(archive, wanted.empty() ? nullptr : &list));
  report();

  int missing = 0;
  for (const std::string& name : wanted) {
    bool found = false;
    for (const std::string& s : seen)
      found = found || equalIgnoringCase(s, name);
    if (!found) {
      std::fprintf(stderr, "kalvora: no member named '%s'\n", name.c_str());
      ++missing;
    }
  }
  // The expansion stops quietly where the archive ends; a walk of the headers tells whether it ended early.
  TCompress headers;
  ArchiveWalk walk(headers, archive);
  MemberEntry entry;
  while (walk.next(entry))
    walk.finish(entry);
  const bool cut = walk.reportCutShort();
  return refused + missing == 0 && !cut ? 0 : 1;
}

} // namespace

KALVORA_COMMAND({"expand", "expand the members of an archive into files", kHelp, expand});

} // namespace kalvora::tool
