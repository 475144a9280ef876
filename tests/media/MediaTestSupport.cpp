#include "MediaTestSupport.h"

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "media/MediumReader.h"
#include "media/Project.h"
#include "platform/Platform.h"
#include "script/SetupScript.h"

namespace kalvora::media::test {
namespace fs = std::filesystem;

std::vector<std::uint8_t> mixedBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint8_t> out;
  out.reserve(size);
  static const std::string words = "the setup expands every chunk of the volume into its target directory ";
  while (out.size() < size) {
    switch (rng() % 3) {
    case 0: out.insert(out.end(), 1 + rng() % 40u, static_cast<std::uint8_t>(rng())); break;
    case 1: {
      const std::size_t at = rng() % words.size();
      out.insert(out.end(), words.begin() + static_cast<long>(at), words.end());
      break;
    }
    default:
      for (auto n = 1 + rng() % 30; n > 0; --n)
        out.push_back(static_cast<std::uint8_t>(rng()));
    }
  }
  out.resize(size);
  return out;
}

std::vector<std::uint8_t> noiseBytes(std::size_t size, std::uint32_t seed) {
  std::mt19937 rng(seed);
  std::vector<std::uint8_t> out(size);
  for (auto& b : out)
    b = static_cast<std::uint8_t>(rng() >> 13);
  return out;
}

void writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  if (path.has_parent_path()) fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void writeText(const fs::path& path, const std::string& text) {
  writeFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
}

std::vector<std::uint8_t> readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string readText(const fs::path& path) {
  const auto b = readBytes(path);
  return {b.begin(), b.end()};
}

BuildOutcome build(const fs::path& project, const fs::path& output) {
  BuildRequest request;
  request.projectPath = utf8Of(project);
  request.outputDir = utf8Of(output);
  BuildOutcome outcome;
  try {
    outcome.summary = buildMedium(request);
    outcome.ok = true;
    for (const auto& w : outcome.summary.warnings)
      outcome.diagnostics += w.text() + "\n";
  } catch (const BuildFailed& failed) {
    for (const auto& d : failed.diagnostics())
      outcome.diagnostics += d.text() + "\n";
  }
  return outcome;
}

std::map<std::string, std::vector<std::uint8_t>> readBack(const std::string& mediumDir,
                                                          std::vector<std::string>& faults) {
  Platform& platform = systemPlatform();
  const MediumLocation medium = locateMedium(mediumDir);
  const SetupScript script(medium.pathOf("setup.inf"), platform);
  const std::int32_t mode = script.ReadInteger("compression", "mode", 0);
  std::map<std::string, std::vector<std::uint8_t>> files;
  for (const auto& entry : readFileEntries(script)) {
    ExpandedFile file = readFileEntry(platform, medium, entry, mode);
    if (!file.fault.empty()) faults.push_back(entry.label() + ": " + file.fault);
    files["[Option_" + std::to_string(entry.option) + "] f" + std::to_string(entry.index)] = std::move(file.bytes);
  }
  return files;
}

std::map<std::string, std::vector<std::uint8_t>> treeContents(const fs::path& dir) {
  std::map<std::string, std::vector<std::uint8_t>> out;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    if (e.is_regular_file()) out[utf8Of(fs::relative(e.path(), dir))] = readBytes(e.path());
  return out;
}

std::string scriptValue(const std::string& mediumDir, const std::string& section, const std::string& key) {
  const SetupScript script(locateMedium(mediumDir).pathOf("setup.inf"), systemPlatform());
  return script.ReadString(section, key, "<missing>");
}

} // namespace kalvora::media::test
