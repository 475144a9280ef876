#include "install/ChunkCopy.h"

#include <array>
#include <optional>

#include "archive/ArchiveErrors.h"
#include "archive/Volumes.h"
#include "install/RunProgress.h"
#include "platform/Crc32.h"

namespace kalvora {

bool waitForVolume(RunContext& run, const std::string& path, std::int64_t number) {
  while (!run.platform.fileExists(path)) {
    run.HeldVolume.close(); // no volume stays open while the user changes disks
    const std::string prompt = run.text(20) + "\"" + std::to_string(number) + "\".";
    if (run.platform.messageBox(prompt, "kalvora", MessageButtons::OkCancel, MessageIcon::Exclamation) ==
        MessageResult::Cancel) {
      run.view.showCancelConfirmation();
      if (!run.goesOn()) return false;
    }
  }
  return true;
}

namespace {

// Nothing when the volume cannot be opened: that is the run's error.
std::optional<VolumeReader> openVolume(RunContext& run, const std::string& path, std::int64_t offset) {
  // Shared with other readers: the decode-ahead reads the volumes meanwhile.
  auto volume = run.platform.openFile(path, OpenMode::ReadShared);
  if (!volume) {
    run.fail(EFOpenError(path));
    return std::nullopt;
  }
  return VolumeReader(std::move(volume), path, offset);
}

// The volume the previous chunk ended in when it is this one, else the volume opened anew.
std::optional<VolumeReader> firstVolume(RunContext& run, const std::string& path, std::int64_t offset) {
  if (!run.HeldVolume.isOpen()) return openVolume(run, path, offset);
  VolumeReader volume = std::move(run.HeldVolume);
  volume.moveTo(offset);
  return volume;
}

bool writeAll(RunContext& run, Stream& output, const std::uint8_t* data, std::int64_t count) {
  const auto n = static_cast<std::size_t>(count);
  return output.write(data, n) == n || run.fail(EInOutError(101)); // the disk is full
}

// The staging file of the previous chunk is written over and cut to this
// chunk's length afterwards, rather than truncated or made anew: a file
// truncated to nothing is written out by ext4 when it is closed (the staged
// chunk, read back at once, need never reach the disk), and a file made anew
// for every chunk costs an inode allocation that looks past every inode
// deleted recently. A staging file that cannot be opened so is made anew.
std::unique_ptr<Stream> openOutput(RunContext& run, const std::string& output, bool staging) {
  if (staging) {
    if (auto reused = run.platform.openFile(output, OpenMode::ReadWrite)) return reused;
  }
  return run.platform.openFile(output, OpenMode::Create);
}

} // namespace

bool copyChunk(RunContext& run, const Chunk& chunk, const std::string& output) {
  if (chunk.offset < 0) return run.fail(Exception("Ungültige Position in setup.inf: " + std::to_string(chunk.offset)));
  run.setItemProgress(0);
  std::string path = run.state.Setup.SourceDir + firstVolumeName(chunk.volumeText);
  if (run.HeldVolume.path() != path) run.HeldVolume.close();
  if (!waitForVolume(run, path, chunk.volumeNumber + run.ContinuationCount)) return false;
  std::optional<VolumeReader> volume = firstVolume(run, path, chunk.offset);
  if (!volume) return false;

  const bool staging = output == run.CompressTmpPath;
  auto out = openOutput(run, output, staging);
  if (!out) return run.fail(EFCreateError(output));

  const bool compressed = run.state.Setup.CompressionMode == 1;
  std::array<std::uint8_t, kVolumeBlockSize> buffer{};
  ChunkBlocks blocks(chunk.size);
  std::uint32_t crc = kCrc32Start;
  for (bool done = false; !done;) {
    const ChunkBlocks::Step step = blocks.step(volume->read(buffer.data(), buffer.size()));
    done = step.done;
    const auto written = static_cast<std::int64_t>(step.taken);
    if (chunk.checksum) crc = crc32Update(crc, buffer.data(), step.taken);
    if (!writeAll(run, *out, buffer.data(), written)) return false;
    if (step.volumeEnded) {
      volume->close();
      ++run.ContinuationCount;
      const std::int64_t number = chunk.volumeNumber + run.ContinuationCount;
      path = run.state.Setup.SourceDir + volumeFileName(number);
      if (!waitForVolume(run, path, number)) return false;
      volume = openVolume(run, path, 0);
      if (!volume) return false;
    }
    const BlockProgress p = blockProgress(compressed, written, chunk.size, blocks.remaining(), run.BytesDone,
                                          run.state.Choices.ProgressTotal);
    run.setItemProgress(p.item);
    run.BytesDone = p.bytesDone;
    if (p.run) run.setRunProgress(*p.run);
    if (!run.goesOn()) return false; // leaving closes the volume and the output
  }
  // A staging file longer than this chunk is cut; a refusal is a refused truncation.
  if (staging && out->position() < out->size() && !out->truncate()) return run.fail(EFCreateError(output));
  run.HeldVolume = std::move(*volume); // for the next file, whose chunk mostly follows in it
  if (chunk.checksum && crc32Finish(crc) != *chunk.checksum) return run.fail(EBadChecksum());
  return true;
}

} // namespace kalvora
