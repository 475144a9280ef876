#include "media/MediumReader.h"

#include <algorithm>

#include "archive/ArchiveFormat.h"
#include "archive/Compress.h"
#include "archive/Volumes.h"
#include "media/AnsiText.h"
#include "media/Raise.h"
#include "media/ScriptKeys.h"
#include "platform/Crc32.h"
#include "platform/MemoryPlatform.h"
#include "platform/NoCase.h"
#include "platform/NumberText.h"

namespace kalvora::media {
namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

std::string withSeparator(std::string dir) {
  if (dir.empty()) return "./";
  if (!isSeparator(dir.back())) dir += '/';
  return dir;
}

std::string lastComponent(const std::string& dir) {
  std::string d = dir;
  while (!d.empty() && isSeparator(d.back()))
    d.pop_back();
  const auto slash = d.find_last_of("/\\");
  return slash == std::string::npos ? d : d.substr(slash + 1);
}

std::int32_t scriptInt(const std::string& text) { return parseScriptInteger(text).value_or(0); }

} // namespace

std::string FileEntry::label() const {
  return "[Option_" + std::to_string(option) + "] f" + std::to_string(index) + " (" + ansiToUtf8(name) + ")";
}

MediumLocation locateMedium(const std::string& dir) {
  MediumLocation m;
  m.dir = withSeparator(dir);
  if (sameNoCase(lastComponent(dir), "disk1")) {
    std::string d = m.dir;
    while (!d.empty() && isSeparator(d.back()))
      d.pop_back();
    const auto slash = d.find_last_of("/\\");
    m.setRoot = slash == std::string::npos ? "./" : d.substr(0, slash + 1);
  }
  return m;
}

std::string MediumLocation::volumePath(Platform& platform, const std::string& fileName, int volume) const {
  const std::string beside = dir + fileName;
  if (setRoot.empty() || platform.fileExists(beside)) return beside;
  return setRoot + "disk" + std::to_string(volume) + "/" + fileName;
}

std::vector<FileEntry> readFileEntries(const SetupScript& script) {
  std::vector<FileEntry> entries;
  for (int k = 1; k <= 7; ++k) {
    const std::string section = numberedKey("Option_", k);
    for (int j = 1;; ++j) {
      const std::string n = std::to_string(j);
      FileEntry e;
      e.option = k;
      e.index = j;
      e.name = script.ReadString(section, "f" + n, "[leer]");
      if (e.name == "[leer]") break;
      e.directory = script.ReadInteger(section, "d" + n, 0);
      e.volumeText = script.ReadString(section, "s" + n, "01");
      e.offset = script.ReadInteger(section, "p" + n, 0);
      e.size = script.ReadInteger(section, "z" + n, 1);
      e.checksum = hexValue8(script.ReadString(section, "c" + n, ""));
      entries.push_back(e);
    }
  }
  return entries;
}

std::string copyChunk(Platform& platform, const MediumLocation& medium, const FileEntry& entry, Stream& out,
                      std::vector<VolumeSpan>* spans) {
  if (entry.size < 0) return "its size z" + std::to_string(entry.index) + " is negative";
  if (entry.offset < 0) return "its offset p" + std::to_string(entry.index) + " is negative";
  const int first = scriptInt(entry.volumeText);
  std::string path = medium.volumePath(platform, firstVolumeName(entry.volumeText), first);
  if (!platform.fileExists(path))
    return "its volume " + path + " is missing (the setup would ask for disk " + std::to_string(first) + " forever)";
  auto volume = platform.openFile(path, OpenMode::ReadExclusive);
  if (!volume) return "cannot open " + path;
  volume->seek(entry.offset);
  std::int64_t spanStart = entry.offset;
  ChunkBlocks blocks(entry.size);
  int continuation = 0;
  std::uint8_t block[kVolumeBlockSize];
  while (true) {
    const ChunkBlocks::Step step = blocks.step(volume->read(block, kVolumeBlockSize));
    const std::size_t take = step.taken;
    if (take != 0) {
      raiseOnError(out.writeBuffer(block, take));
    }
    if (spans && take != 0) {
      if (!spans->empty() && spans->back().path == path && spans->back().offset + spans->back().length == spanStart)
        spans->back().length += static_cast<std::int64_t>(take);
      else
        spans->push_back({path, spanStart, static_cast<std::int64_t>(take)});
    }
    spanStart += static_cast<std::int64_t>(take);
    if (step.done) return "";
    if (step.volumeEnded) {
      ++continuation;
      const int next = first + continuation;
      path = medium.volumePath(platform, volumeFileName(next), next);
      if (!platform.fileExists(path))
        return "its chunk runs on into " + path + ", which is missing (the setup would ask for disk " +
               std::to_string(next) + " forever)";
      volume = platform.openFile(path, OpenMode::ReadExclusive);
      if (!volume) return "cannot open " + path;
      spanStart = 0;
    }
  }
}

ExpandedFile expandArchive(const std::vector<std::uint8_t>& archive, const std::string& member) {
  ExpandedFile result;
  result.chunkSize = static_cast<std::int64_t>(archive.size());
  MemoryPlatform memory;
  memory.setFreeSpace('C', std::int64_t{1} << 40);
  memory.createDirectory("C:\\setup");
  memory.createDirectory("C:\\target");
  const std::string staged = "C:\\setup\\compress.tmp";
  {
    auto out = memory.openFile(staged, OpenMode::Create);
    raiseOnError(out->writeBuffer(archive.data(), archive.size()));
  }
  const std::string target = "C:\\target\\out.bin";
  TCompress compress(memory);
  compress.OnCheckFile = [&](std::string& path, TCProcessMode) { path = target; };
  std::string name = member;
  if (const Status expanded = compress.ExpandFile(name, staged); !expanded.ok()) {
    result.fault = std::string("expansion fails: ") + expanded.error().what();
    return result;
  }
  const auto content = memory.fileContent(target);
  if (name.empty() || !content) {
    result.fault = "expands to nothing: the archive holds no member named " + ansiToUtf8(member);
    return result;
  }
  result.bytes.assign(content->begin(), content->end());
  // The size the archive declares for the member, against what came out.
  if (archive.size() >= kArchiveHeaderSize + kMemberHeaderSize) {
    const MemberHeader header = decodeMemberHeader(archive.data() + kArchiveHeaderSize);
    if (header.expandedSize != static_cast<std::int32_t>(result.bytes.size()))
      result.fault = "expands to " + std::to_string(result.bytes.size()) + " bytes, but its archive declares " +
                     std::to_string(header.expandedSize);
  }
  return result;
}

ExpandedFile readFileEntry(Platform& platform, const MediumLocation& medium, const FileEntry& entry,
                           std::int32_t compressionMode) {
  MemoryStream chunk;
  std::vector<VolumeSpan> spans;
  ExpandedFile result;
  try {
    result.fault = copyChunk(platform, medium, entry, chunk, &spans);
  } catch (const std::exception& e) {
    result.fault = std::string("reading its chunk fails: ") + e.what();
  }
  if (result.fault.empty() && entry.checksum &&
      crc32Finish(crc32Update(kCrc32Start, chunk.bytes().data(), chunk.bytes().size())) != *entry.checksum)
    result.fault = "its chunk differs from the checksum setup.inf records for it (c" + std::to_string(entry.index) +
                   "): the volume is damaged";
  if (result.fault.empty() && compressionMode == 1) {
    result = expandArchive(chunk.bytes(), entry.name);
  } else if (result.fault.empty()) {
    result.bytes = std::move(chunk.bytes());
    result.chunkSize = static_cast<std::int64_t>(result.bytes.size());
  }
  result.spans = std::move(spans); // as far as the chunk was read: an entry with a fault uses them too
  return result;
}

} // namespace kalvora::media
