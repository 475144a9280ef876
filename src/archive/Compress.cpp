#include "archive/Compress.h"

#include <algorithm>
#include <cstring>

#include "archive/ChecksummedOutput.h"
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

Status TCompress::ExpandFile(std::string& FileName, const std::string& ArchiveName) {
  std::vector<std::string> list{FileName};
  if (Status expanded = ExpandArchive(ArchiveName, &list); !expanded.ok()) return expanded;
  FileName = list.empty() ? std::string() : list.front();
  return {};
}

Status TCompress::ExpandArchive(const std::string& ArchiveName, std::vector<std::string>* FileList) {
  const auto archive = platform_.openFile(ArchiveName, OpenMode::ReadExclusive);
  if (!archive) return EFOpenError(ArchiveName);
  return ExpandStream(*archive, FileList);
}

Status TCompress::ExpandStream(Stream& Source, std::vector<std::string>* FileList) {
  Source.seek(0);
  std::uint8_t raw[kArchiveHeaderSize];
  const bool complete = readUpTo(Source, raw, sizeof raw) == sizeof raw;
  if (!complete || std::memcmp(raw, kArchiveMagic, sizeof kArchiveMagic) != 0) return EInvalidHeader();
  const ArchiveHeader header = decodeArchiveHeader(raw);
  if (header.archiveType != kArchiveTypeMultiFile) return EInvalidHeaderArchiveType();
  const std::string compressId = header.compressIdText();
  if (const Result<int> method = MethodFromID(compressId); !method.ok()) return method.status();

  Walk walk{Source, FileList, compressId, {}, 0};
  MemberHeader member;
  std::string name;
  while (ReadMemberHeader(Source, member, name)) {
    if (walk.total >= header.totalExpandedSize) break;
    const Result<bool> goOn = expandOrSkip(walk, member, name);
    if (!goOn.ok()) return goOn.status();
    if (!goOn.value()) break;
  }
  if (FileList) *FileList = std::move(walk.written);
  return {};
}

Result<int> TCompress::MethodFromID(const std::string& CompressID) {
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
  if (method == 0 && CompressID != "NON") return EUnrecognizedCompressionMethod();
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

// By the shortcut where it has the member, else by its method; either way
// what was written is kept when asked for.
Result<std::uint32_t> TCompress::expandKeepingContent(std::uint8_t method, const ExpandJob& job) {
  if (auto ahead = Shortcut ? Shortcut->expand(method, job) : std::nullopt) {
    if (KeepWrittenContent) writtenContent_ = ahead->written;
    return std::move(ahead->checksum);
  }
  if (!KeepWrittenContent) return expandByMethod(method, job);
  ChecksummedOutput output(job.dest);
  const ExpandJob checksummed{job.source,       output,       job.platform, job.compressedSize,
                              job.expandedSize, job.progress, job.onExpand, job.compressId};
  Result<std::uint32_t> expanded = expandByMethod(method, checksummed);
  if (expanded.ok()) writtenContent_ = output.content();
  return expanded;
}

Status TCompress::ExpandMember(Stream& Dest, Stream& Source, bool Locked, const std::string& CompressID,
                               std::uint8_t Method, std::int32_t Checksum, std::int32_t ExpandedSize,
                               std::int32_t CompressedSize) {
  writtenContent_.reset();
  if (Locked && Key == 0) return EInvalidKey();
  const ExpandJob job{Source, Dest, platform_, CompressedSize, ExpandedSize, &OnShowProgress, &OnExpand, CompressID};
  const Result<std::uint32_t> expanded = expandKeepingContent(Method, job);
  if (!expanded.ok()) return expanded.status();
  const std::uint32_t sum = expanded.value();
  const auto expected = static_cast<std::uint32_t>(Checksum);
  if (Method == kMethodStored || sum == expected) return {};
  if (!Locked) return EBadChecksum();
  if (sum + static_cast<std::uint32_t>(Key) != expected) return EInvalidKey();
  return {};
}

} // namespace kalvora
