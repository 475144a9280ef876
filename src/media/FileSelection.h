#pragma once
// Turning the [files_k] source rules of a project into the setup's file
// entries: globs and directory trees expanded in a fixed order, names checked
// for Windows, and directory rows made for the subdirectories of trees.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "media/Diagnostics.h"
#include "media/Project.h"

namespace kalvora::media {

// One file entry of [Option_k]: fj, dj (the chunk's place is the builder's).
struct MediumFile {
  int option = 1;
  int directory = 0;
  std::string name; // ANSI
  std::filesystem::path source;
  std::int64_t size = 0;
  std::uint32_t dosDateTime = 0;
  int line = 0; // the [files_k] line that selected it
};

// A [directories] dk_n row, as written or made for a tree's subdirectory.
struct DirectoryRow {
  int option = 1;
  int number = 1;
  std::string value; // ANSI
  int line = 0;
  bool generated = false;
};

struct FileSelection {
  std::vector<MediumFile> files; // option 1 first, each option in project order
  std::vector<DirectoryRow> rows;

  // The row's value; "\" for directory 0; nullptr-like empty when missing.
  const DirectoryRow* row(int option, int number) const;
};

// The rows that the project writes in [directories], with their checks.
std::vector<DirectoryRow> writtenDirectoryRows(const Project& project, Diagnostics& diag);

// excluded: directories that no source may come from (the output being built).
FileSelection selectFiles(const Project& project, const std::vector<std::filesystem::path>& excluded,
                          Diagnostics& diag);

// Why the setup program would misplace files of a directory row, or empty.
std::string directoryValueFault(const std::string& value);

} // namespace kalvora::media
