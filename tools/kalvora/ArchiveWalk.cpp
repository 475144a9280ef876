#include "ArchiveWalk.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>

#include "archive/ArchiveErrors.h"
#include "media/Raise.h"
#include "platform/Errors.h"

namespace kalvora::tool {

ArchiveWalk::ArchiveWalk(TCompress& compress, const std::string& archivePath) : compress_(compress) {
  source_ = compress.platform().openFile(archivePath, OpenMode::ReadExclusive);
  if (!source_) throw EFOpenError(archivePath);
  std::uint8_t bytes[kArchiveHeaderSize] = {};
  if (source_->read(bytes, sizeof bytes) != sizeof bytes) throw EInvalidHeader();
  header_ = decodeArchiveHeader(bytes);
  if (!std::equal(std::begin(kArchiveMagic), std::end(kArchiveMagic), header_.magic)) throw EInvalidHeader();
  if (header_.archiveType != kArchiveTypeMultiFile) throw EInvalidHeaderArchiveType();
  media::raiseOnError(compress_.MethodFromID(header_.compressIdText()).status());
  end_ = source_->position();
}

bool ArchiveWalk::next(MemberEntry& entry) {
  if (!compress_.ReadMemberHeader(*source_, entry.header, entry.name)) {
    endedEarly_ = expanded_ < header_.totalExpandedSize;
    return false;
  }
  if (expanded_ >= header_.totalExpandedSize) return false;
  entry.dataOffset = source_->position();
  end_ = entry.dataOffset;
  return true;
}

void ArchiveWalk::finish(const MemberEntry& entry) {
  // A negative size moves nowhere: an expansion consumes nothing for it either.
  end_ = entry.dataOffset + std::max<std::int32_t>(entry.header.compressedSize, 0);
  source_->seek(end_);
  expanded_ += entry.header.expandedSize;
  negativeSize_ = negativeSize_ || entry.header.expandedSize < 0;
}

std::int64_t ArchiveWalk::trailingBytes() const { return std::max<std::int64_t>(source_->size() - end_, 0); }

bool ArchiveWalk::reportCutShort() const {
  const char* const cut = "kalvora: the archive is cut short:";
  if (const std::int64_t lacking = end_ - source_->size(); lacking > 0) {
    std::fprintf(stderr, "%s the data of its last member lack %" PRId64 " bytes\n", cut, lacking);
    return true;
  }
  // A member of a negative size makes the members' sum say nothing.
  if (endedEarly_ && !negativeSize_) {
    std::fprintf(stderr, "%s its members expand to %" PRId64 " bytes, its header counts %" PRId32 "\n", cut, expanded_,
                 header_.totalExpandedSize);
    return true;
  }
  return false;
}

std::string attributeLetters(std::int32_t attributes) {
  std::string letters;
  if (attributes & kAttrReadOnly) letters += 'R';
  if (attributes & kAttrHidden) letters += 'H';
  if (attributes & kAttrSystem) letters += 'S';
  if (attributes & kAttrDirectory) letters += 'D';
  if (attributes & kAttrArchive) letters += 'A';
  return letters.empty() ? "-" : letters;
}

std::string methodName(std::uint8_t method, const ArchiveHeader& header) {
  switch (method) {
  case kMethodStored: return "NON";
  case kMethodRle: return "RLE";
  case kMethodLzh: return "LZH";
  case kMethodCustom: return header.compressIdText();
  default: break;
  }
  std::string other(1, '#'); // built in steps: GCC 12 -O3 warns wrongly about "#" + to_string
  other += std::to_string(method);
  return other;
}

std::string displayName(const std::string& storedName) {
  std::string shown;
  for (const char c : storedName) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      shown += c;
      continue;
    }
    char escaped[8];
    std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
    shown += escaped;
  }
  return shown;
}

std::string dosDateTimeText(std::uint32_t dosDateTime) {
  const DosTime t = unpackDosDateTime(dosDateTime);
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
  return text;
}

} // namespace kalvora::tool
