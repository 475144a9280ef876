#pragma once
// A platform that wraps another and makes chosen calls fail: the n-th call of
// one kind, or every call of that kind from the n-th on (a disk that is full
// from then on). Everything else goes to the wrapped platform unchanged. It
// counts the calls of each kind, so a test can first run without a fault to
// learn how many fault points a run has, then fail each one in turn.
#include <array>

#include "platform/ForwardingPlatform.h"

namespace kalvora {

enum class FaultKind {
  CreateFile,      // openFile for creating
  WriteFile,       // one write of a stream opened by this platform
  ReadFile,        // one read of a stream opened for reading (a volume that vanishes)
  CopyFile,        // copyFile
  CreateDirectory, // createDirectory
  FreeSpace,       // freeDiskSpace answers -1 (cannot be determined)
  IniWrite,        // writeProfileString
  RegistryKey,     // createRegistryKey
  RegistryValue,   // writeRegistryString, writeRegistryDword
  ProgramStart,    // startProgram, startHiddenProgram
  ShellLink,       // writeShellLink
  MoveFile,        // moveFile
};
inline constexpr std::size_t kFaultKinds = 12;

const char* faultKindName(FaultKind kind);

class FaultPlatform : public ForwardingPlatform {
public:
  explicit FaultPlatform(Platform& inner) : ForwardingPlatform(inner) {}

  // Fails call number n (1-based) of kind; with persistent, every later one too.
  // One fault at a time: a new one replaces the last.
  void failAt(FaultKind kind, int n, bool persistent = false);
  // Calls of a kind so far, and whether the arranged fault has struck.
  int calls(FaultKind kind) const { return calls_[index(kind)]; }
  bool struck() const { return struck_; }

  bool writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value) override;
  std::unique_ptr<Stream> openFile(const std::string& path, OpenMode mode) override;
  bool createDirectory(const std::string& path) override;
  bool copyFile(const std::string& source, const std::string& target) override;
  bool moveFile(const std::string& source, const std::string& target) override;
  bool writeRegistryDword(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                          std::uint32_t value) override;
  std::int64_t freeDiskSpace(const std::string& path) override;
  bool writeRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                           const std::string& value) override;
  bool createRegistryKey(RegistryRoot root, const std::string& keyPath) override;
  bool writeShellLink(const std::string& path, const ShellLink& link) override;
  bool startProgram(const std::string& commandLine) override;
  bool startHiddenProgram(const std::string& commandLine) override;

  // Counts a call of kind; true when it is to fail.
  bool fails(FaultKind kind);

private:
  static std::size_t index(FaultKind kind) { return static_cast<std::size_t>(kind); }
  class FaultStream;

  std::array<int, kFaultKinds> calls_{};
  FaultKind kind_ = FaultKind::CreateFile;
  int at_ = 0; // 0: no fault arranged
  bool persistent_ = false;
  bool struck_ = false;
};

} // namespace kalvora
