#pragma once
// TCompress: expands archive members into files, with free-space, key-lock and
// checksum tests, directory creation, file date and attributes, and progress.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "archive/ArchiveErrors.h"
#include "archive/ArchiveFormat.h"
#include "archive/ChecksummedOutput.h"
#include "platform/Platform.h"

namespace kalvora {

enum class TCProcessMode { cmCompress = 0, cmExpand = 1 };

using TFilenameCheckEvent = std::function<void(std::string& filepath, TCProcessMode mode)>;
using TShowProgressEvent = std::function<void(std::int32_t& PercentageDone)>;
// A custom method's expansion; an error it returns ends the member's expansion.
using TExpandEvent = std::function<Status(Stream& dest, Stream& source, std::int32_t Sourcesize, std::int32_t Destsize,
                                          const std::string& CompressID, std::int32_t& checksum)>;
using TRecognizeEvent = std::function<void(const std::string& CompressID, bool& recognized)>;
using TCompressEvent = std::function<void(Stream& dest, Stream& source, std::string& CompressID,
                                          std::int32_t& Outputsize, std::int32_t& checksum)>;

struct ExpandJob;

// Expansions worked out beforehand. Asked before a method runs, it either does
// the member's expansion to the job exactly as the method would and gives the
// method's outcome, or gives nothing, and the method runs.
class ExpansionShortcut {
public:
  struct Expansion {
    Result<std::uint32_t> checksum = 0u;                  // or the error that stopped the method
    std::optional<WrittenContent> written = std::nullopt; // the output, when every write was made whole
  };
  virtual ~ExpansionShortcut() = default;
  virtual std::optional<Expansion> expand(std::uint8_t method, const ExpandJob& job) = 0;
};

class TCompress {
public:
  explicit TCompress(Platform& platform = systemPlatform()) : platform_(platform) {}

  TCompressEvent OnCompress; // the compressing direction; never called here
  TExpandEvent OnExpand;
  TRecognizeEvent OnRecognize;
  TFilenameCheckEvent OnCheckFile;
  TShowProgressEvent OnShowProgress;
  bool MakeDirectories = false;
  std::int32_t Key = 0;
  bool ExceptionOnFileError = false;
  ExpansionShortcut* Shortcut = nullptr; // none: every method runs
  // Keeps the checksum of what each member's expansion writes, for TakeWrittenContent.
  bool KeepWrittenContent = false;

  // A non-empty path without a trailing backslash gets one.
  void SetTargetPath(const std::string& path);
  const std::string& TargetPath() const { return targetPath_; }

  // The expansions end at the first error and return it; a member's output
  // file that the error leaves incomplete is deleted.

  // Expands the member(s) named FileName (any letter case); FileName becomes the
  // first output path, or empty when nothing was written. On an error FileName
  // stays as it was.
  Status ExpandFile(std::string& FileName, const std::string& ArchiveName);
  // Opens the archive exclusively and expands it; FileList as for ExpandStream.
  Status ExpandArchive(const std::string& ArchiveName, std::vector<std::string>* FileList);
  // Walks the archive from the start of Source. With a list, only the members it
  // names; after a walk without error the list holds the paths written (after
  // an error it is left as it was).
  Status ExpandStream(Stream& Source, std::vector<std::string>* FileList);
  // 0 to 3 for a CompressID; EUnrecognizedCompressionMethod for 0 unless "NON".
  Result<int> MethodFromID(const std::string& CompressID);
  bool ReadMemberHeader(Stream& Source, MemberHeader& Header, std::string& Name);
  // Key test, expansion by Method, checksum test. Dest keeps what was written
  // before an error.
  Status ExpandMember(Stream& Dest, Stream& Source, bool Locked, const std::string& CompressID, std::uint8_t Method,
                      std::int32_t Checksum, std::int32_t ExpandedSize, std::int32_t CompressedSize);

  Platform& platform() { return platform_; }
  // What the last member's expansion wrote, in order from the file's start,
  // when KeepWrittenContent is set; taking it forgets it.
  std::optional<WrittenContent> TakeWrittenContent() { return std::exchange(writtenContent_, std::nullopt); }

private:
  struct Walk {
    Stream& source;
    std::vector<std::string>* list;
    std::string compressId;
    std::vector<std::string> written;
    std::int64_t total; // expanded bytes so far
  };
  // Handles one member; false ends the walk, an error ends it with that error.
  Result<bool> expandOrSkip(Walk& walk, const MemberHeader& member, const std::string& name);
  bool skipMember(Stream& source, const MemberHeader& member);
  Status requireFreeSpace(const std::string& path, std::int32_t expandedSize);
  Result<std::uint32_t> expandKeepingContent(std::uint8_t method, const ExpandJob& job);

  Platform& platform_;
  std::string targetPath_;
  std::optional<WrittenContent> writtenContent_;
};

} // namespace kalvora
