#include "media/MediumCheck.h"

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <tuple>

#include "archive/MemberPaths.h"
#include "archive/Volumes.h"
#include "media/AnsiText.h"
#include "media/FileSelection.h"
#include "media/MediumReader.h"
#include "media/Project.h"
#include "media/ScriptKeys.h"
#include "platform/NoCase.h"
#include "platform/SpaceText.h"
#include "script/SetupScript.h"
#include "script/SystemRootMarker.h"

namespace kalvora::media {
namespace {

constexpr std::int64_t kMaxInt32 = 2147483647;

std::string slashes(std::string path) {
  std::replace(path.begin(), path.end(), '\\', '/');
  return path;
}

std::optional<std::vector<std::uint8_t>> readAll(Platform& platform, const std::string& path) {
  auto in = platform.openFile(path, OpenMode::ReadExclusive);
  if (!in) return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max<std::int64_t>(in->size(), 0)));
  if (!bytes.empty() && in->read(bytes.data(), bytes.size()) != bytes.size()) return std::nullopt;
  return bytes;
}

class Checker {
public:
  Checker(Platform& p, const std::string& dir)
      : platform_(p), medium_(locateMedium(dir)), script_(medium_.pathOf("setup.inf"), p) {}

  CheckReport run() {
    if (!platform_.fileExists(medium_.pathOf("setup.inf"))) {
      const bool diskSet = platform_.fileExists(medium_.dir + "disk1/setup.inf");
      report_.faults.push_back("no setup.inf in " + medium_.dir +
                               (diskSet ? " (a disk set: check its disk1 directory)" : ""));
      return report_;
    }
    if (script_.ReadInteger("kalvora", "version", 1) != 220)
      report_.warnings.push_back("[kalvora] version is not 220: the setup program warns of a conflict");
    mode_ = script_.ReadInteger("compression", "mode", 0);
    files();
    options();
    configurations();
    pictures();
    companions();
    programListEntry();
    volumes();
    return report_;
  }

private:
  void fault(const std::string& text) { report_.faults.push_back(text); }
  void warn(const std::string& text) { report_.warnings.push_back(text); }

  void files() {
    const auto entries = readFileEntries(script_);
    const std::int32_t rows = script_.ReadInteger("directories", "total", 2);
    std::set<std::string> targets;
    std::int64_t largest = 0;
    for (const auto& e : entries) {
      const auto k = static_cast<std::size_t>(e.option);
      ++count_[k];
      if (const auto nameFault = fileNameFault(e.name)) fault(e.label() + ": " + *nameFault);
      std::string dir = "\\";
      if (e.directory != 0) {
        const std::string key = numberedKey("d", e.option, "_") + std::to_string(e.directory);
        dir = script_.ReadString("directories", key, "[]");
        if (dir == "[]")
          fault(e.label() + ": its directory " + std::to_string(e.directory) + " has no row [directories] " + key);
        else if (const auto why = directoryValueFault(dir); !why.empty())
          fault(e.label() + ": [directories] " + key + ": " + why);
        else if (!startsWithSystemRoot(dir) && e.directory > rows)
          fault(e.label() + ": directory " + std::to_string(e.directory) +
                " lies beyond [directories] total=" + std::to_string(rows) + ", so the setup never creates it");
      }
      if (!targets.insert(lowerCase(dir + e.name)).second)
        warn(e.label() + ": a second file for " + ansiToUtf8(dir + e.name) + " overwrites the first");
      const ExpandedFile file = readFileEntry(platform_, medium_, e, mode_);
      for (const auto& s : file.spans) // an entry with a fault uses its bytes too
        spans_[s.path].push_back({s.offset, s.offset + s.length});
      if (!file.fault.empty()) {
        fault(e.label() + ": " + file.fault);
        continue;
      }
      expanded_[k] += static_cast<std::int64_t>(file.bytes.size());
      stored_[k] += file.chunkSize;
      largest = std::max(largest, file.chunkSize);
      ++good_;
    }
    total_ = static_cast<int>(entries.size());
    if (!entries.empty() && script_.ReadInteger("software", "medium", -1) == -1)
      warn("[software] medium is missing or -1: the setup installs none of the " + std::to_string(entries.size()) +
           " files");
    if (mode_ == 1 && script_.ReadInteger("compression", "size", 0) < largest)
      warn("[compression] size is smaller than the largest chunk (" + std::to_string(largest) +
           " bytes), which the setup stages as compress.tmp");
  }

  void options() {
    std::int64_t allExpanded = 0, allStored = 0;
    for (std::size_t k = 1; k <= 7; ++k) {
      if (count_[k] == 0) continue;
      const std::string n = std::to_string(k);
      const std::int32_t space = script_.ReadInteger("software", "Opt" + n + "_space", 0);
      if (space != expanded_[k])
        fault("[software] Opt" + n + "_space=" + std::to_string(space) + ", but option " + n + "'s files expand to " +
              std::to_string(expanded_[k]) + " bytes");
      const std::string cs = script_.ReadString("software", "Opt" + n + "_cs", "");
      if (cs.empty() && mode_ == 1)
        warn("[software] Opt" + n + "_cs is missing: the progress bar does not count option " + n);
      else if (!cs.empty() && parseScriptInteger(cs).value_or(-1) != stored_[k])
        fault("[software] Opt" + n + "_cs=" + cs + ", but option " + n + "'s chunks hold " +
              std::to_string(stored_[k]) + " bytes");
      report_.summary.push_back("option " + n + " \"" +
                                ansiToUtf8(script_.ReadString("software", "Opt" + n + "_name", "")) +
                                "\": " + std::to_string(count_[k]) + (count_[k] == 1 ? " file, " : " files, ") +
                                std::to_string(expanded_[k]) + " bytes (" + showSpace(expanded_[k]).joined() +
                                "), stored in " + std::to_string(stored_[k]) + " bytes");
      allExpanded += expanded_[k];
      allStored += stored_[k];
    }
    report_.summary.insert(report_.summary.begin(),
                           "files: " + std::to_string(good_) + " of " + std::to_string(total_) + " entries read back" +
                               (mode_ == 1 ? " and expanded" : "") + ", " + std::to_string(allExpanded) +
                               " bytes installed, " + std::to_string(allStored) + " bytes in the volumes");
  }

  // The totals of start-up and the figures the wizard shows for them.
  void configurations() {
    const struct {
      const char* offer;
      const char* member;
      const char* label;
    } configs[] = {
        {"o_standard", "standard", "standard"}, {"o_min", "min", "minimal"}, {"o_custom", "custom", "custom"}};
    const std::int32_t extra = mode_ != 0 ? script_.ReadInteger("compression", "size", 0) : 0;
    std::string line;
    for (const auto& c : configs) {
      if (!script_.ReadBool("software", c.offer, false)) continue;
      std::int64_t total = extra;
      for (int k = 1; k <= 7; ++k)
        if (script_.ReadBool("software", numberedKey("Opt", k, "_") + c.member, false))
          total += script_.ReadInteger("software", numberedKey("Opt", k, "_space"), 0);
      if (total > kMaxInt32) fault(std::string("the ") + c.label + " configuration's total exceeds 32 bits");
      line += (line.empty() ? "" : ", ") + std::string(c.label) + " " + showSpace(total).joined();
    }
    if (script_.ReadBool("software", "o_cd", false))
      line += (line.empty() ? "" : ", ") + std::string("CD (runs from the medium)");
    if (line.empty()) warn("[software] offers no configuration");
    report_.summary.push_back("space shown by the wizard: " + (line.empty() ? "none" : line));
  }

  // The bytes a picture or the uninstaller gives once the setup has it, or nullopt after a fault.
  std::optional<std::vector<std::uint8_t>> companion(const std::string& what, const std::string& fileName,
                                                     const std::string& member) {
    const std::string path = medium_.pathOf(slashes(fileName));
    const auto bytes = readAll(platform_, path);
    if (!bytes) {
      fault(what + " " + ansiToUtf8(fileName) + " is missing from the medium");
      return std::nullopt;
    }
    if (mode_ != 1) return bytes;
    const ExpandedFile out = expandArchive(*bytes, member);
    if (!out.fault.empty()) {
      fault(what + " " + ansiToUtf8(fileName) + ": " + out.fault);
      return std::nullopt;
    }
    return out.bytes;
  }

  void pictures() {
    static const char* const kLabels[kPictureRoles] = {"wizard picture", "information picture", "logo",
                                                       "background picture"};
    std::string line;
    for (int r = 0; r < kPictureRoles; ++r) {
      const ScriptKeyName where = pictureScriptKey(static_cast<PictureRole>(r));
      const std::string label = kLabels[r];
      const std::string value = script_.ReadString(where.section, where.key, "_");
      if (value == "_" || value.empty()) continue;
      const auto bytes = companion(label, value, packedPictureMember(value));
      if (!bytes) continue;
      if (bytes->size() < 2 || (*bytes)[0] != 'B' || (*bytes)[1] != 'M')
        warn(label + " " + ansiToUtf8(value) + " is not a BMP picture");
      line += (line.empty() ? "" : ", ") + ansiToUtf8(value);
    }
    report_.summary.push_back("pictures: " + (line.empty() ? "none" : line));
  }

  void companions() {
    if (script_.ReadBool("software", "uniyes", true)) {
      if (companion("the uninstaller", "uninst.ex_", "uninst32.ex_"))
        report_.summary.push_back("uninstaller: uninst.ex_");
    }
    const std::string readme = script_.ReadString("software", "readme", "");
    if (!readme.empty()) {
      if (platform_.fileExists(medium_.pathOf(slashes(readme))))
        report_.summary.push_back("readme: " + ansiToUtf8(readme));
      else
        fault("the readme " + ansiToUtf8(readme) + " ([software] readme) is missing from the medium");
    }
    if (!platform_.fileExists(medium_.pathOf("setup.exe")))
      warn("no setup.exe beside setup.inf: the medium needs its setup program before it can be used");
  }

  // What Windows' list of programs shows for the product once it is installed.
  void programListEntry() {
    if (!script_.ReadBool("software", "CP", true)) {
      report_.summary.push_back("list of programs: no entry ([software] CP=0)");
      return;
    }
    std::string line = ansiToUtf8(script_.ReadString("software", "name_display", "_"));
    for (const auto& [section, key, label] :
         {std::tuple{"kalvora", "versionname", "version "}, std::tuple{"software", "publisher", "publisher "},
          std::tuple{"software", "helplink", "help "}}) {
      const std::string value = script_.ReadString(section, key, "");
      line += std::string(", ") + label + (value.empty() || value == "_" ? "none" : ansiToUtf8(value));
    }
    report_.summary.push_back("list of programs: " + line);
  }

  // Bytes of a volume that no chunk uses, and volumes after the last one used.
  void volumes() {
    int highest = 0;
    for (auto& [path, ranges] : spans_) {
      std::sort(ranges.begin(), ranges.end());
      std::int64_t covered = 0, reach = 0;
      for (const auto& [from, to] : ranges) {
        covered += std::max<std::int64_t>(0, to - std::max(from, reach));
        reach = std::max(reach, to);
      }
      const auto info = platform_.fileInfo(path);
      if (info && info->size > covered)
        warn(path + " has " + std::to_string(info->size - covered) + " bytes that no file entry uses");
      const auto slash = path.find_last_of("/\\");
      const auto number = parseScriptInteger(path.substr(slash + 7, path.size() - slash - 11));
      highest = std::max(highest, number.value_or(0));
    }
    const std::string next = volumeFileName(highest + 1);
    if (highest > 0 && platform_.fileExists(medium_.volumePath(platform_, next, highest + 1)))
      warn(next + " is not used by any file entry");
    report_.summary.insert(report_.summary.begin(), "medium " + medium_.dir + ": " + std::to_string(highest) +
                                                        " volume" + (highest == 1 ? "" : "s") +
                                                        (medium_.setRoot.empty() ? "" : " in a disk set") +
                                                        (mode_ == 1 ? ", compressed" : ", not compressed"));
  }

  Platform& platform_;
  MediumLocation medium_;
  SetupScript script_;
  CheckReport report_;
  std::int32_t mode_ = 0;
  std::array<int, 8> count_{};
  std::array<std::int64_t, 8> expanded_{}, stored_{};
  std::map<std::string, std::vector<std::pair<std::int64_t, std::int64_t>>> spans_;
  int good_ = 0, total_ = 0;
};

} // namespace

CheckReport checkMedium(Platform& platform, const std::string& mediumDir) { return Checker(platform, mediumDir).run(); }

} // namespace kalvora::media
