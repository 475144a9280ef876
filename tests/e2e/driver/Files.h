#pragma once
// The files of the prefix that a scenario prepares and checks.
#include <string>

namespace kvdrive {

// Deletes a directory with everything in it; a missing one is no error.
// Links are removed, never followed.
void removeTree(const std::string& path);
// The bytes of a file; a missing file fails the step.
std::string fileBytes(const std::string& path);
void copyFile(const std::string& from, const std::string& to);
// Writes a file of BYTES bytes that no other size repeats: a sequence seeded by
// its size, so that a large file need not be kept in the tree.
void makeFile(const std::string& path, unsigned long long bytes);
// Benchmarks time the steps between two marks: NAME and the driver's clock in seconds.
void appendTimeMark(const std::string& path, const std::string& name);

} // namespace kvdrive
