#pragma once
// The originals the run replaces: before a file that exists is written over,
// it is kept in the work directory's "backup" directory, so that a rollback
// can put it back byte for byte with its time and attributes. A complete run
// removes its backups.
#include <cstdint>
#include <string>

#include "install/RunContext.h"

namespace kalvora {

inline constexpr std::string_view kBackupDirectoryName = "backup";
// The suffix of a backup while it is copied; only a complete copy gets the backup's name.
inline constexpr std::string_view kPartialBackupSuffix = ".part";

// targetDir\setup\backup.
std::string backupDirectory(std::string_view targetDir);

// Where the original of file <n> of section is kept: the value of [section] bak<n>,
// which the run logs with the file's other records, before anything is done to it.
std::string backupPath(std::string_view targetDir, std::string_view section, std::int64_t number);

// Keeps target, which exists and whose bak<n> is on disk, before the run
// writes over it: it is moved to backup, or, where it cannot be moved
// (another volume, read-only), copied with its time and attributes. False
// when the run is to leave; the target is then as it was.
[[nodiscard]] bool keepOriginal(RunContext& run, const std::string& target, const std::string& backup);

// The end of a complete run: [uninstall] complete = 1 on disk, then the
// backups go. False when the log refuses the record.
[[nodiscard]] bool completeRun(RunContext& run);

} // namespace kalvora
