#pragma once
// A platform that wraps another and makes chosen calls fail: the n-th call of
// one kind, or every call of that kind from the n-th on (a disk that is full
// from then on). Everything else goes to the wrapped platform unchanged. It
// counts the calls of each kind, so a test can first run without a fault to
// learn how many fault points a run has, then fail each one in turn. Every
// call that changes the system, and every open, is of one kind. A file copy
// runs through this platform's own streams, so its create and writes count too.
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
  OpenFile,        // openFile for reading or updating, openFileForWorker
  DeleteFile,      // deleteFile, removeDirectory
  FileTime,        // setFileDosTime, a stream's setDosTime
  FileAttributes,  // setFileAttributes
  ShellCommand,    // sendShellCommands
  IniDelete,       // deleteProfileKey
  RegistryDelete,  // deleteRegistryValue, deleteEmptyRegistryKey
  FlushFile,       // a stream's flush or truncate
};
inline constexpr std::size_t kFaultKinds = 20;

const char* faultKindName(FaultKind kind);

class FaultPlatform : public ForwardingPlatform {
public:
  explicit FaultPlatform(Platform& inner) : ForwardingPlatform(inner) {}

  // Fails call number n (1-based) of kind; with persistent, every later one too.
  // One fault at a time: a new one replaces the last.
  void failAt(FaultKind kind, int n, bool persistent = false);
  // Fails every counted call from now on: a system that is gone (after a kill).
  void failEverything() { everything_ = true; }
  // Calls of a kind so far, and whether the arranged fault has struck.
  int calls(FaultKind kind) const { return calls_[index(kind)]; }
  // Calls of every kind so far.
  int totalCalls() const;
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
  std::optional<std::uint32_t> runHiddenProgram(const std::string& commandLine) override;
  std::unique_ptr<Stream> openFileForWorker(const std::string& path) override;
  bool deleteFile(const std::string& path) override;
  bool removeDirectory(const std::string& path) override;
  bool setFileDosTime(const std::string& path, std::uint32_t dosDateTime) override;
  bool setFileAttributes(const std::string& path, std::uint32_t attributes) override;
  bool sendShellCommands(const std::string& commands) override;
  bool deleteProfileKey(const std::string& file, const std::string& section, const std::string& key) override;
  bool deleteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName) override;
  bool deleteEmptyRegistryKey(RegistryRoot root, const std::string& keyPath) override;

  // Counts a call of kind; true when it is to fail.
  bool fails(FaultKind kind);

protected:
  // Called before each counted call is made (for a write, with the stream and
  // the bytes about to be written): a test that stops the program at a call,
  // as a kill would, overrides it.
  virtual void beforeCall(FaultKind kind, Stream* stream, const void* data, std::size_t n) {
    (void)kind, (void)stream, (void)data, (void)n;
  }

private:
  static std::size_t index(FaultKind kind) { return static_cast<std::size_t>(kind); }
  // Counts a call of kind without the hook; true when it is to fail.
  bool count(FaultKind kind);
  bool failsWrite(Stream& inner, const void* buffer, std::size_t n);
  class FaultStream;

  std::array<int, kFaultKinds> calls_{};
  FaultKind kind_ = FaultKind::CreateFile;
  int at_ = 0; // 0: no fault arranged
  bool persistent_ = false;
  bool struck_ = false;
  bool everything_ = false;
};

} // namespace kalvora
