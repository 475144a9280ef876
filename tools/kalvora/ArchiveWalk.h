#pragma once
// Walks an archive's members the way a full expansion does: the archive header
// tested first, then member headers until a short read or until the members so
// far add up to the header's total. Used by the commands that only read.
#include <cstdint>
#include <memory>
#include <string>

#include "archive/Compress.h"

namespace kalvora::tool {

struct MemberEntry {
  MemberHeader header;
  std::string name;
  std::int64_t dataOffset = 0; // where the member data start
};

class ArchiveWalk {
public:
  // Opens the archive and tests its header: the archive's own exceptions on failure.
  ArchiveWalk(TCompress& compress, const std::string& archivePath);

  const ArchiveHeader& header() const { return header_; }
  Stream& source() { return *source_; }
  // The next member's header and name, with the source at its data; false at the end.
  bool next(MemberEntry& entry);
  // Moves past the member's data and counts it as expanded.
  void finish(const MemberEntry& entry);
  // Bytes after the last member the walk read.
  std::int64_t trailingBytes() const;
  // After the walk: says on stderr why the archive looks cut short (members
  // missing, or the last member's data past the end of the file); whether it does.
  bool reportCutShort() const;

private:
  TCompress& compress_;
  std::unique_ptr<Stream> source_;
  ArchiveHeader header_;
  std::int64_t expanded_ = 0;
  std::int64_t end_ = 0;
  bool endedEarly_ = false;   // the file ended before the members reached the header's total
  bool negativeSize_ = false; // a member's header gives a negative expanded size
};

// "A", "RA", "HSA": the Windows attribute letters of the bits set, or "-".
std::string attributeLetters(std::int32_t attributes);
// "NON", "RLE", "LZH", the archive's tag for a custom member, "#7" for others.
std::string methodName(std::uint8_t method, const ArchiveHeader& header);
// A stored name fit for a terminal: control characters shown as \xNN, so that
// a hostile archive cannot send escape sequences.
std::string displayName(const std::string& storedName);
// "2024-02-29 23:59:58" from a DOS date and time.
std::string dosDateTimeText(std::uint32_t dosDateTime);

} // namespace kalvora::tool
