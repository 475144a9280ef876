// kalvora pack: makes an archive with one member per file.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Arguments.h"
#include "Command.h"
#include "LocalFiles.h"
#include "archive/ArchiveWriter.h"
#include "archive/StoredName.h"
#include "media/EncodeAhead.h"
#include "media/Raise.h"
#include "platform/Errors.h"
#include "platform/Platform.h"

namespace kalvora::tool {
namespace {

const char* const kHelp = R"(usage: kalvora pack [-m NON|RLE|LZH] [-k KEY] ARCHIVE FILE...

Creates ARCHIVE with one member per FILE. Each member is stored under the
file's own name (the last element of its path), with the file's modification
time and its attributes (read-only, hidden, system, archive). An existing
ARCHIVE is replaced only once the new one is complete.

Members keep the order of the FILEs, except that empty files come first: an
expansion stops as soon as the members it has read add up to the archive's
total size, so an empty member behind the last non-empty one would never be
expanded. For the same reason an archive of empty files only is refused.

Options:
  -m METHOD  how members are compressed, and the archive's method tag:
             NON (stored), RLE (run-length) or LZH (LZSS with adaptive
             Huffman coding; the default)
  -k KEY     locks every member with KEY, a whole number from -2147483648
             to 2147483647 other than 0: `expand -k KEY` and `test -k KEY`
             then take it (the setup program expands a locked stored member
             with any key but 0; `test` checks the key all the same)
  --help     shows this text

Errors (exit status 1; no archive is left behind, an existing one is kept):
  cannot read 'FILE': no such file        a FILE is missing
  cannot read 'FILE': it is a directory   (also: it cannot be opened, it ended
                                          early, its size is unknown)
  two files have the stored name 'NAME'   two FILEs end in the same name,
                                          compared without regard to case
  every FILE is empty                     such an archive would expand nothing
  cannot store 'FILE': its name ...       the name would not expand safely,
                                          e.g. it names a device such as NUL
  cannot store 'FILE': an archive member holds at most 2147483647 bytes
  ... exceeds the archive's limit of 2147483647 bytes
                                          all members together are too large
  cannot create 'ARCHIVE'                 its directory is missing or not
                                          writable (the archive is written to
                                          ARCHIVE.kvr-part, then renamed)
  cannot write 'ARCHIVE': REASON          the rename failed
  write error: the disk is full or refuses the data
Usage errors (exit status 2): a missing ARCHIVE or FILE, an unknown METHOD,
an unknown option, a KEY that is 0 or not a 32-bit whole number.
)";

std::uint8_t methodFromName(const std::string& name, std::string& tag) {
  tag = name;
  for (char& c : tag)
    c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  if (tag == "NON") return kMethodStored;
  if (tag == "RLE") return kMethodRle;
  if (tag == "LZH") return kMethodLzh;
  throw UsageError("unknown method '" + name + "'; use NON, RLE or LZH");
}

struct Input {
  std::string path;
  std::string storedName;
  FileInfo info;
};

std::vector<Input> inputsOf(const std::vector<std::string>& files) {
  std::vector<Input> inputs;
  for (const std::string& path : files) {
    const std::string name = lastPathElement(path);
    const StoredNameCheck check = checkStoredName(name, '\\');
    if (!check.relativePath || check.relativePath->find('\\') != std::string::npos)
      throw Exception("cannot store '" + path + "': its name " +
                      (check.problem.empty() ? std::string("contains '\\'") : check.problem));
    for (const Input& earlier : inputs)
      if (equalIgnoringCase(earlier.storedName, name))
        throw Exception("two files have the stored name '" + name + "': '" + earlier.path + "' and '" + path + "'");
    const auto info = systemPlatform().fileInfo(path);
    if (!info || info->isDirectory) {
      readWholeFile(systemPlatform(), path); // raises the reason
      throw Exception("cannot read '" + path + "'");
    }
    inputs.push_back({path, name, *info});
  }
  return inputs;
}

// An expansion stops once the members read add up to the archive's total, so
// empty members must not follow the last non-empty one.
std::vector<Input> emptyFirst(std::vector<Input> inputs) {
  std::stable_partition(inputs.begin(), inputs.end(), [](const Input& input) { return input.info.size == 0; });
  if (inputs.back().info.size == 0) throw Exception("every FILE is empty: such an archive would expand nothing");
  return inputs;
}

// The archive is written beside its final place and renamed there when whole.
class TempOutput {
public:
  TempOutput(Platform& platform, const std::string& target) : platform_(platform), path_(target + ".kvr-part") {
    stream_ = platform.openFile(path_, OpenMode::Create);
    if (!stream_) throw Exception("cannot create '" + target + "'");
  }
  ~TempOutput() {
    stream_.reset();
    if (!committed_) platform_.deleteFile(path_);
  }
  TempOutput(const TempOutput&) = delete;
  TempOutput& operator=(const TempOutput&) = delete;

  Stream& stream() { return *stream_; }
  void commit(const std::string& target) {
    stream_.reset();
    replaceFile(path_, target);
    committed_ = true;
  }

private:
  Platform& platform_;
  std::string path_;
  std::unique_ptr<Stream> stream_;
  bool committed_ = false;
};

int pack(const std::vector<std::string>& args) {
  const Arguments parsed = parseArguments(args, "mk");
  if (parsed.operands.size() < 2) throw UsageError("give an ARCHIVE and at least one FILE");
  std::string tag;
  MemberOptions options;
  options.method = methodFromName(parsed.value('m', "LZH"), tag);
  if (parsed.has('k')) options.lockKey = parseKey(parsed.value('k'));

  const std::string archive = parsed.operands[0];
  const std::vector<Input> inputs =
      inputsOf(std::vector<std::string>(parsed.operands.begin() + 1, parsed.operands.end()));
  const std::vector<Input> ordered = emptyFirst(inputs);

  Platform& platform = systemPlatform();
  TempOutput output(platform, archive);
  ArchiveWriter writer = media::valueOrRaise(ArchiveWriter::start(output.stream(), tag));
  // The files are read and encoded on every processor, and added in order.
  std::vector<std::int64_t> sizes;
  for (const Input& input : ordered)
    sizes.push_back(input.info.size);
  media::EncodeAhead encoded(std::move(sizes), [&](std::size_t index) {
    const Input& input = ordered[index];
    const std::vector<std::uint8_t> data = readWholeStream(platform.openFileForWorker(input.path).get(), input.path);
    MemberOptions member = options;
    member.dosDateTime = input.info.dosDateTime;
    member.attributes = input.info.attributes & (kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive);
    EncodedMember encodedMember = media::valueOrRaise(encodeMember(input.storedName, data, member));
    return media::EncodedFile{encodedMember.expandedSize, std::move(encodedMember.bytes)};
  });
  for (const Input& input : ordered) {
    media::EncodedFile file = encoded.take();
    media::raiseOnError(writer.add(EncodedMember{input.storedName, file.readBytes, std::move(file.chunk)}));
  }
  media::raiseOnError(writer.finish());
  output.commit(archive);
  std::printf("%s: %zu member%s, method %s%s\n", archive.c_str(), inputs.size(), inputs.size() == 1 ? "" : "s",
              tag.c_str(), options.lockKey ? ", locked" : "");
  return 0;
}

} // namespace

KALVORA_COMMAND({"pack", "create an archive from files", kHelp, pack});

} // namespace kalvora::tool
