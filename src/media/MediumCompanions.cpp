#include "media/MediumCompanions.h"

#include <fstream>

#include "media/AnsiText.h"
#include "media/ChunkEncoder.h"
#include "platform/Errors.h"
#include "platform/NoCase.h"
#include "platform/Platform.h"

namespace kalvora::media {
namespace fs = std::filesystem;
namespace {

bool endsWithNoCase(const std::string& s, const std::string& suffix) {
  return s.size() >= suffix.size() && sameNoCase(s.substr(s.size() - suffix.size()), suffix);
}

class Planner {
public:
  Planner(const Project& p, Diagnostics& d) : project_(p), diag_(d) {}

  // The ANSI file name of a source that must exist; nullopt after an error.
  std::optional<std::string> source(const Located& l, fs::path& path) {
    path = project_.resolve(l.text);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
      diag_.error(project_.where(l.line), "missing source " + utf8Of(path));
      return std::nullopt;
    }
    const auto name = utf8ToAnsi(utf8Of(path.filename()));
    if (!name) {
      diag_.error(utf8Of(path), "the name has characters that Windows-1252 cannot hold");
      return std::nullopt;
    }
    if (const auto fault = fileNameFault(*name)) {
      diag_.error(utf8Of(path), *fault);
      return std::nullopt;
    }
    return name;
  }

  void add(const std::string& name, const fs::path& source, const std::string& member, int line) {
    static const char* const kReserved[] = {"setup.inf", "setup.tmp"};
    for (const char* r : kReserved)
      if (sameNoCase(name, r))
        return diag_.error(project_.where(line), "the medium's own file " + name + " has this name");
    if (name.size() == 13 && sameNoCase(name.substr(0, 6), "zdata_") && sameNoCase(name.substr(8), ".dsk"))
      return diag_.error(project_.where(line), "the name " + name + " is that of an archive volume");
    for (const auto& c : plan.files)
      if (sameNoCase(c.name, name)) {
        if (c.source == source && c.member == member) return; // one picture in two roles
        return diag_.error(project_.where(line), "two files named " + ansiToUtf8(name) + " on the medium (" +
                                                     utf8Of(c.source) + " and " + utf8Of(source) + ")");
      }
    plan.files.push_back({name, source, member, project_.where(line)});
  }

  CompanionPlan plan;

private:
  const Project& project_;
  Diagnostics& diag_;
};

} // namespace

CompanionPlan planCompanions(const Project& project, const std::optional<fs::path>& setupExe,
                             const std::optional<fs::path>& builtUninstaller, Diagnostics& diag) {
  Planner p(project, diag);
  const bool packed = project.compression != Compression::None;
  if (setupExe) p.plan.files.push_back({"setup.exe", *setupExe, "", utf8Of(*setupExe)});
  fs::path path;
  if (project.readme)
    if (const auto name = p.source(*project.readme, path)) {
      p.add(*name, path, "", project.readme->line);
      p.plan.readmeName = *name;
      std::error_code ec;
      p.plan.readmeSize = static_cast<std::int64_t>(fs::file_size(path, ec));
    }
  if (project.registry)
    if (p.source(*project.registry, path)) p.add("zsys.re_", path, "", project.registry->line);
  for (std::size_t r = 0; r < kPictureRoles; ++r) {
    const auto& picture = project.pictures[r];
    if (!picture) continue;
    const auto name = p.source(*picture, path);
    if (!name) continue;
    if (!endsWithNoCase(*name, ".bmp")) {
      diag.error(project.where(picture->line), "a picture must be a .bmp file; " + utf8Of(path) + " is not");
      continue;
    }
    // The wizard forms the member name from the packed file's name by putting
    // "p" in place of its last character: tile.bm_ holds tile.bmp.
    const std::string onMedium = packed ? name->substr(0, name->size() - 1) + "_" : *name;
    p.add(onMedium, path, packed ? *name : "", picture->line);
    p.plan.pictureNames[r] = onMedium;
  }
  const std::string uninstallerMember = packed ? "uninst32.ex_" : "";
  if (project.uninstaller && p.source(*project.uninstaller, path))
    p.add("uninst.ex_", path, uninstallerMember, project.uninstaller->line);
  else if (builtUninstaller)
    p.plan.files.push_back({"uninst.ex_", *builtUninstaller, uninstallerMember, utf8Of(*builtUninstaller)});
  return std::move(p.plan);
}

std::vector<std::uint8_t> readWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::error_code ec;
  const auto size = fs::file_size(path, ec);
  if (!in || ec) throw Exception("cannot read " + utf8Of(path));
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  // A file that grows or shrinks while it is read would not match its recorded size.
  if (static_cast<std::uintmax_t>(in.gcount()) != size || in.peek() != std::ifstream::traits_type::eof())
    throw Exception("cannot read " + utf8Of(path) + " (it changed while being read)");
  return bytes;
}

void writeWholeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw Exception("cannot write " + utf8Of(path));
}

WrittenCompanions writeCompanions(const CompanionPlan& plan, Compression compression, const fs::path& dir,
                                  std::int64_t cluster, std::optional<std::uint32_t> fixedTime) {
  WrittenCompanions written;
  for (const auto& c : plan.files) {
    std::vector<std::uint8_t> bytes = readWholeFile(c.source);
    if (!c.member.empty()) {
      const auto info = systemPlatform().fileInfo(c.source.string());
      const std::uint32_t time = fixedTime ? *fixedTime : info ? info->dosDateTime : 0;
      bytes = encodeChunk(compression, c.member, std::move(bytes), time);
      if (c.name == "uninst.ex_") written.packedUninstaller = static_cast<std::int64_t>(bytes.size());
    }
    writeWholeFile(dir / pathFromUtf8(ansiToUtf8(c.name)), bytes);
    written.clusterBytes += cluster <= 1 ? static_cast<std::int64_t>(bytes.size())
                                         : (static_cast<std::int64_t>(bytes.size()) + cluster - 1) / cluster * cluster;
  }
  return written;
}

} // namespace kalvora::media
