#include "install/ChunkCopy.h"

#include <algorithm>
#include <array>
#include <vector>

#include "archive/Volumes.h"
#include "install/RunProgress.h"

namespace kalvora {

void waitForVolume(RunContext& run, const std::string& path, std::int64_t number) {
  while (!run.platform.fileExists(path)) {
    const std::string prompt = run.text(20) + "\"" + std::to_string(number) + "\".";
    if (run.platform.messageBox(prompt, "kalvora", MessageButtons::OkCancel, MessageIcon::Exclamation) ==
        MessageResult::Cancel) {
      run.view.showCancelConfirmation();
      run.checkForStop();
    }
  }
}

namespace {

// A volume read in large pieces and handed out in blocks: one call to the
// system per piece rather than per block. A block is short only where the
// volume ends, as when each block is read from the volume itself.
class VolumeReader {
public:
  explicit VolumeReader(std::unique_ptr<Stream> volume) : volume_(std::move(volume)) {}

  std::size_t read(std::uint8_t* block, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
      if (next_ == piece_.size() && !refill()) break;
      const std::size_t take = std::min(n - done, piece_.size() - next_);
      std::copy_n(piece_.begin() + static_cast<std::ptrdiff_t>(next_), take, block + done);
      next_ += take;
      done += take;
    }
    return done;
  }

private:
  static constexpr std::size_t kPieceSize = 64 * 1024;

  bool refill() {
    piece_.resize(kPieceSize);
    piece_.resize(volume_->read(piece_.data(), piece_.size()));
    next_ = 0;
    return !piece_.empty();
  }

  std::unique_ptr<Stream> volume_;
  std::vector<std::uint8_t> piece_;
  std::size_t next_ = 0;
};

VolumeReader openVolume(RunContext& run, const std::string& path, std::int64_t offset) {
  // Shared with other readers: the decode-ahead reads the volumes meanwhile.
  auto volume = run.platform.openFile(path, OpenMode::ReadShared);
  if (!volume) throw EFOpenError(path);
  volume->seek(offset);
  return VolumeReader(std::move(volume));
}

void writeAll(Stream& output, const std::uint8_t* data, std::int64_t count) {
  const auto n = static_cast<std::size_t>(count);
  if (output.write(data, n) != n) throw EInOutError(101); // the disk is full
}

} // namespace

void copyChunk(RunContext& run, const Chunk& chunk, const std::string& output) {
  if (chunk.offset < 0) throw Exception("Ungültige Position in setup.inf: " + std::to_string(chunk.offset));
  run.setItemProgress(0);
  std::string path = run.state.Setup.SourceDir + firstVolumeName(chunk.volumeText);
  waitForVolume(run, path, chunk.volumeNumber + run.ContinuationCount);
  auto volume = openVolume(run, path, chunk.offset);

  auto out = run.platform.openFile(output, OpenMode::Create);
  if (!out) throw EFCreateError(output);

  const bool compressed = run.state.Setup.CompressionMode == 1;
  std::array<std::uint8_t, kVolumeBlockSize> buffer{};
  ChunkBlocks blocks(chunk.size);
  for (bool done = false; !done;) {
    const ChunkBlocks::Step step = blocks.step(volume.read(buffer.data(), buffer.size()));
    done = step.done;
    const auto written = static_cast<std::int64_t>(step.taken);
    writeAll(*out, buffer.data(), written);
    if (step.volumeEnded) {
      volume = VolumeReader(nullptr);
      ++run.ContinuationCount;
      const std::int64_t number = chunk.volumeNumber + run.ContinuationCount;
      path = run.state.Setup.SourceDir + volumeFileName(number);
      waitForVolume(run, path, number);
      volume = openVolume(run, path, 0);
    }
    const BlockProgress p = blockProgress(compressed, written, chunk.size, blocks.remaining(), run.BytesDone,
                                          run.state.Choices.ProgressTotal);
    run.setItemProgress(p.item);
    run.BytesDone = p.bytesDone;
    if (p.run) run.setRunProgress(*p.run);
    run.checkForStop(); // unwinding closes the volume and the output
  }
}

} // namespace kalvora
