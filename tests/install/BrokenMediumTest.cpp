// Archive volumes that are damaged, short, foreign or that vanish while they
// are read: each run ends with its error or at the volume prompt, writes
// nothing outside the target and the Windows directory, leaves no expanded
// file that failed its test, and its log names every file it may have begun.
#include <gtest/gtest.h>

#include "InstallFixture.h"
#include "install/FileIdentity.h"
#include "platform/Crc32.h"
#include "platform/FaultPlatform.h"

namespace kalvora {
namespace {

using testing::archiveOf;

std::string varied(std::size_t n) {
  std::string text(n, '\0');
  std::uint32_t x = 12345;
  for (char& c : text) {
    x = x * 1103515245 + 12345;
    c = static_cast<char>('a' + (x >> 16) % 26);
  }
  return text;
}

// Changes 4 bytes of the first member's header (offset within it) to value.
std::string withMemberField(std::string archive, std::size_t offset, std::int32_t value) {
  for (std::size_t i = 0; i < 4; ++i)
    archive[kArchiveHeaderSize + offset + i] = static_cast<char>(static_cast<std::uint32_t>(value) >> (8 * i));
  return archive;
}

std::string storedArchiveOf(const std::string& member, const std::string& content) {
  MemoryStream out;
  Result<ArchiveWriter> writer = ArchiveWriter::start(out, "NON");
  EXPECT_TRUE(
      writer.ok() &&
      writer.value()
          .addMember(member, std::vector<std::uint8_t>(content.begin(), content.end()), {kMethodStored, 0, 0x20, {}})
          .ok() &&
      writer.value().finish().ok());
  return std::string(out.bytes().begin(), out.bytes().end());
}

struct Row {
  const char* what;
  bool compressed;
  std::string volume;        // zdata_01.dsk
  std::int64_t chunkSize;    // z1
  int vanishAtRead;          // reads of the volume from this one on return nothing; 0: never
  const char* message;       // part of the error's message; nullptr: the run stops at the volume prompt
  bool targetLeft;           // whether C:\App\a.txt may remain (its log entry covers it)
  std::string next = {};     // zdata_02.dsk; none when empty
  std::string checksum = {}; // c1, as a stored medium records it
};

std::string crc32Of(const std::string& bytes) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", crc32Finish(crc32Update(kCrc32Start, bytes.data(), bytes.size())));
  return text;
}

TEST(BrokenMedium, EveryDamagedVolumeEndsWithItsErrorOrThePromptAndLosesNothing) {
  const std::string content = varied(6000);
  const std::string chunk = archiveOf("a.txt", content);
  const auto size = static_cast<std::int64_t>(chunk.size());
  const std::string stored = storedArchiveOf("a.txt", content);
  const Row rows[] = {
      {"cut short, the script's size", true, chunk.substr(0, chunk.size() / 2), size / 2, 0,
       "Bad checksum during expansion", false},
      {"cut short, no next volume", true, chunk.substr(0, chunk.size() / 2), size, 0, nullptr, false},
      {"member data past the volume's end", true, withMemberField(stored, 12, 6000 + 5000),
       static_cast<std::int64_t>(stored.size()), 0, "Stream-Read-Fehler", false},
      {"wrong checksum", true, withMemberField(chunk, 17, 4711), size, 0, "Bad checksum during expansion", false},
      {"member name leaving the target", true, archiveOf("..\\..\\a.txt", content), size, 0,
       "Kann Datei C:\\App\\a.txt nicht erstellen", false},
      {"rooted member name", true, archiveOf("\\WINDOWS\\a.txt", content), size, 0,
       "Kann Datei C:\\App\\a.txt nicht erstellen", false},
      {"another product's volume", true, varied(static_cast<std::size_t>(size)), size, 0,
       "Can't recognize compressed file header", false},
      {"volume vanishing between blocks", true, chunk, size, 3, nullptr, false}, // read 1 copies setup.inf
      {"plain volume vanishing between blocks", false, content, 6000, 3, nullptr, true},
      {"plain volume cut short", false, content.substr(0, 3000), 6000, 0, nullptr, true},
      {"plain volume cut short, the next one there", false, content.substr(0, 3000), 6000, 0, "Bad checksum", true,
       varied(4000), crc32Of(content)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    testing::RunPlatform memory;
    memory.putFile("D:\\setup.inf", "[software]\nmedium=1\n[Option_1]\nf1=a.txt\ns1=01\nz1=" +
                                        std::to_string(row.chunkSize) + "\nc1=" + row.checksum + "\n");
    memory.putFile("D:\\zdata_01.dsk", row.volume);
    if (!row.next.empty()) memory.putFile("D:\\zdata_02.dsk", row.next);
    memory.putDirectory("C:\\WINDOWS");
    memory.answerNextBox(MessageResult::Cancel); // the prompt for volume 2
    FaultPlatform platform(memory);
    if (row.vanishAtRead) platform.failAt(FaultKind::ReadFile, row.vanishAtRead, true);
    InstallState state;
    prepareRun(state, memory, 1000);
    state.Setup.CompressionMode = row.compressed ? 1 : 0;
    testing::RecordingView view(platform);
    testing::RecordingStages stages;
    InstallRun run(state, platform, view, stages);

    const std::optional<Exception> ended = run.FormActivate();
    const std::string error = ended ? ended->what() : "";
    if (row.message) {
      EXPECT_NE(error.find(row.message), std::string::npos) << error;
      EXPECT_TRUE(memory.shownBoxes().empty());
    } else {
      EXPECT_EQ(error, "");
      ASSERT_EQ(memory.shownBoxes().size(), 1u);
      EXPECT_NE(memory.shownBoxes()[0].text.find("\"2\""), std::string::npos);
      EXPECT_TRUE(memory.terminated());
    }
    EXPECT_TRUE(stages.calls.empty()); // nothing after the file stage
    EXPECT_TRUE(row.targetLeft || !memory.fileExists("C:\\App\\a.txt"));
    EXPECT_EQ(memory.readProfileString("C:\\App\\setup\\uninst.log", "files", "f1", ""), "\\a.txt");
    EXPECT_EQ(memory.readProfileString("C:\\App\\setup\\uninst.log", "files", "total", ""), "1");
    for (const std::string& path : memory.listFiles()) {
      const std::string key = MemoryPlatform::normalize(path);
      EXPECT_TRUE(key.rfind("C:\\APP\\", 0) == 0 || key.rfind("D:\\", 0) == 0) << path;
    }
  }
}

// A stored file's identity record is taken from its chunk's checksum, checked
// while it was copied, rather than read back: it must be what reading gives.
TEST(BrokenMedium, AStoredFilesIdentityFromItsChecksumIsTheFilesOwn) {
  const std::string content = varied(6000);
  testing::RunPlatform memory;
  memory.putFile("D:\\setup.inf",
                 "[software]\nmedium=1\n[Option_1]\nf1=a.txt\ns1=01\nz1=6000\nc1=" + crc32Of(content) + "\n");
  memory.putFile("D:\\zdata_01.dsk", content);
  memory.putDirectory("C:\\WINDOWS");
  InstallState state;
  prepareRun(state, memory, 1000);
  state.Setup.CompressionMode = 0;
  testing::RecordingView view(memory);
  testing::RecordingStages stages;
  InstallRun run(state, memory, view, stages);
  ASSERT_FALSE(run.FormActivate().has_value());
  const std::optional<std::string> readBack = fileIdentity(memory, "C:\\App\\a.txt");
  ASSERT_TRUE(readBack.has_value());
  EXPECT_EQ(memory.readProfileString("C:\\App\\setup\\uninst.log", "files", "id1", ""), *readBack);
}

} // namespace
} // namespace kalvora
