// TCompress: the handling of one member inside the walk: filter, output path,
// the OnCheckFile decision, free space, directories, the output file, expansion,
// and the file's date and attributes.
#include <algorithm>

#include "archive/Compress.h"
#include "archive/MemberPaths.h"
#include "platform/Directories.h"

namespace kalvora {

bool TCompress::skipMember(Stream& source, const MemberHeader& member) {
  // A negative size would lead back into the archive, possibly forever.
  if (member.compressedSize < 0) return false;
  source.seek(source.position() + member.compressedSize);
  return true;
}

Status TCompress::requireFreeSpace(const std::string& path, std::int32_t expandedSize) {
  std::int64_t available = platform_.freeDiskSpace(path);
  if (platform_.fileExists(path)) {
    // The file it replaces counts as free space.
    const auto existing = platform_.openFile(path, OpenMode::ReadWrite);
    if (!existing) return EInOutError(5);
    available += existing->size();
  }
  if (available < expandedSize) return EInsufficientDiskSpace(path);
  return {};
}

Result<bool> TCompress::expandOrSkip(Walk& walk, const MemberHeader& member, const std::string& name) {
  if (walk.list && std::none_of(walk.list->begin(), walk.list->end(),
                                [&](const std::string& wanted) { return sameMemberName(wanted, name); }))
    return skipMember(walk.source, member);

  std::string path = memberOutputPath(targetPath_, name);
  if (OnCheckFile) {
    OnCheckFile(path, TCProcessMode::cmExpand);
    if (path.empty()) return skipMember(walk.source, member);
    if (path == "*") return false;
  } else if (!isContainedMemberName(name)) {
    return EUnsafeMemberName(name);
  }

  if (Status space = requireFreeSpace(path, member.expandedSize); !space.ok()) return space.error();
  if (MakeDirectories && !createDirectories(platform_, directoryPart(path))) return EInOutError(5);
  auto out = platform_.openFile(path, OpenMode::Create);
  if (!out) {
    if (ExceptionOnFileError) return EFCreateError(path);
    return skipMember(walk.source, member);
  }
  const Status expanded = ExpandMember(*out, walk.source, member.lockFlag > 0, walk.compressId, member.method,
                                       member.checksum, member.expandedSize, member.compressedSize);
  if (!expanded.ok()) {
    out.reset();
    platform_.deleteFile(path);
    return expanded.error();
  }
  walk.total += member.expandedSize;
  // Set through the open file after its last write where the stream can, else
  // by its path once it is closed, so that no write can move the time.
  const auto time = static_cast<std::uint32_t>(member.fileDateTime);
  const bool timeSet = out->setDosTime(time);
  out.reset();
  if (!timeSet) platform_.setFileDosTime(path, time);
  walk.written.push_back(path);
  platform_.setFileAttributes(path, static_cast<std::uint32_t>(static_cast<std::int32_t>(member.fileAttributes)));
  return true;
}

} // namespace kalvora
