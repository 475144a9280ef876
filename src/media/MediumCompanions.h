#pragma once
// The files beside the first volume: setup.exe, the readme, the registry
// import file zsys.re_, the pictures (packed as .bm_ with compression) and the
// uninstaller uninst.ex_ (packed with the member "uninst32.ex_").
#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "media/Diagnostics.h"
#include "media/Project.h"

namespace kalvora::media {

struct Companion {
  std::string name; // ANSI name on the medium
  std::filesystem::path source;
  std::string member; // ANSI member name; empty: copied as it is
  std::string where;  // the project line that names it, for messages
};

struct CompanionPlan {
  std::vector<Companion> files;
  std::string readmeName; // ANSI; empty without a readme
  std::int64_t readmeSize = 0;
  std::array<std::string, kPictureRoles> pictureNames;
};

// Checks the sources and names; setupExe is the setup program to copy, if any,
// builtUninstaller the uninstaller for a project that names none.
CompanionPlan planCompanions(const Project& project, const std::optional<std::filesystem::path>& setupExe,
                             const std::optional<std::filesystem::path>& builtUninstaller, Diagnostics& diag);

struct WrittenCompanions {
  std::int64_t clusterBytes = 0;      // the room they take, in whole clusters
  std::int64_t packedUninstaller = 0; // uninst.ex_'s size when packed (staged as compress.tmp)
};

// Writes the companions into dir; packed members get fixedTime when given,
// else their source's time. Raises kalvora::Exception on a read or write failure.
WrittenCompanions writeCompanions(const CompanionPlan& plan, Compression compression, const std::filesystem::path& dir,
                                  std::int64_t cluster, std::optional<std::uint32_t> fixedTime = std::nullopt);

// The bytes of a file. Raises kalvora::Exception naming the path.
std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path);
void writeWholeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

} // namespace kalvora::media
