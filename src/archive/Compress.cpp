#include "archive/Compress.h"

#include <algorithm>
#include <cstring>

#include "archive/ExpandMethods.h"
#include "archive/MemberPaths.h"

namespace kalvora {
namespace {

// Reads n bytes unless the stream ends first; the count read.
std::size_t readUpTo(Stream& source, void* buffer, std::size_t n) {
  std::size_t done = 0;
  while (done < n) {
    const std::size_t got = source.read(static_cast<std::uint8_t*>(buffer) + done, n - done);
    if (got == 0) break;
    done += got;
  }
  return done;
}

} // namespace

void TCompress::SetTargetPath(const std::string& path) {
  targetPath_ = path;
  if (!path.empty() && path.back() != '\\' && path.back() != '/') targetPath_ += '\\';
}

void TCompress::ExpandFile(std::string& FileName, const std::string& ArchiveName) {
  std::vector<std::string> list{FileName};
  ExpandArchive(ArchiveName, &list);
  FileName = list.empty() ? std::string() : list.front();
}

void TCompress::ExpandArchive(const std::string& ArchiveName, std::vector<std::string>* FileList) {
  const auto archive = platform_.openFile(ArchiveName, OpenMode::ReadExclusive);
  if (!archive) throw EFOpenError(ArchiveName);
  ExpandStream(*archive, FileList);
}

void TCompress::ExpandStream(Stream& Source, std::vector<std::string>* FileList) {
  Source.seek(0);
  std::uint8_t raw[kArchiveHeaderSize];
  const bool complete = readUpTo(Source, raw, sizeof raw) == sizeof raw;
  if (!complete || std::memcmp(raw, kArchiveMagic, sizeof kArchiveMagic) != 0) throw EInvalidHeader();
  const ArchiveHeader header = decodeArchiveHeader(raw);
  if (header.archiveType != kArchiveTypeMultiFile) throw EInvalidHeaderArchiveType();
  const std::string compressId = header.compressIdText();
  MethodFromID(compressId);

  Walk walk{Source, FileList, compressId, {}, 0};
  MemberHeader member;
  std::string name;
  while (ReadMemberHeader(Source, member, name)) {
    if (walk.total >= header.totalExpandedSize) break;
    if (!expandOrSkip(walk, member, name)) break;
  }
  if (FileList) *FileList = std::move(walk.written);
}

int TCompress::MethodFromID(const std::string& CompressID) {
  int method = 0;
  if (CompressID == "RLE") {
    method = kMethodRle;
  } else if (CompressID == "LZH") {
    method = kMethodLzh;
  } else if (OnExpand) {
    bool recognized = false;
    if (CompressID != "CUS" && OnRecognize) OnRecognize(CompressID, recognized);
    if (CompressID == "CUS" || recognized) method = kMethodCustom;
  }
  if (method == 0 && CompressID != "NON") throw EUnrecognizedCompressionMethod();
  return method;
}

bool TCompress::ReadMemberHeader(Stream& Source, MemberHeader& Header, std::string& Name) {
  std::uint8_t raw[kMemberHeaderSize];
  if (readUpTo(Source, raw, sizeof raw) != sizeof raw) return false;
  Header = decodeMemberHeader(raw);
  if (Header.nameLength < 0) return false; // nonsense, taken as the end of the archive
  Name.assign(static_cast<std::size_t>(Header.nameLength), '\0');
  return readUpTo(Source, Name.data(), Name.size()) == Name.size();
}

void TCompress::ExpandMember(Stream& Dest, Stream& Source, bool Locked, const std::string& CompressID,
                             std::uint8_t Method, std::int32_t Checksum, std::int32_t ExpandedSize,
                             std::int32_t CompressedSize) {
  if (Locked && Key == 0) throw EInvalidKey();
  const ExpandJob job{Source, Dest, platform_, CompressedSize, ExpandedSize, &OnShowProgress, &OnExpand, CompressID};
  const std::optional<std::uint32_t> ahead = Shortcut ? Shortcut->expand(Method, job) : std::nullopt;
  const std::uint32_t sum = ahead ? *ahead : expandByMethod(Method, job);
  const auto expected = static_cast<std::uint32_t>(Checksum);
  if (Method == kMethodStored || sum == expected) return;
  if (!Locked) throw EBadChecksum();
  if (sum + static_cast<std::uint32_t>(Key) != expected) throw EInvalidKey();
}

} // namespace kalvora
