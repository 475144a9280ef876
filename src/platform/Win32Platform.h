#pragma once
// The platform of the Windows programs: the real Win32 calls for files, INI
// files, the registry, message boxes, window messages and the clock, which
// every Windows program of kalvora needs. Win32ShellPlatform (setup.exe) adds
// the shell and the session; the uninstaller links this class alone.
#include <windows.h>

#include "platform/Platform.h"
#include "platform/Win32FreeSpace.h"

namespace kalvora {

class Win32Platform : public Platform {
public:
  std::string readProfileString(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& defaultValue) override;
  bool writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value) override;
  std::unique_ptr<Stream> openFile(const std::string& path, OpenMode mode) override;
  std::optional<FileInfo> fileInfo(const std::string& path) override;
  bool createDirectory(const std::string& path) override;
  bool deleteFile(const std::string& path) override;
  bool setFileDosTime(const std::string& path, std::uint32_t dosDateTime) override;
  bool setFileAttributes(const std::string& path, std::uint32_t attributes) override;
  std::int64_t freeDiskSpace(const std::string& path) override;
  char currentDrive() override;
  void yield() override;
  std::optional<std::string> readRegistryString(RegistryRoot root, const std::string& keyPath,
                                                const std::string& valueName) override;
  bool writeRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                           const std::string& value) override;
  std::optional<std::uint32_t> readRegistryDword(RegistryRoot root, const std::string& keyPath,
                                                 const std::string& valueName) override;
  bool writeRegistryDword(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                          std::uint32_t value) override;
  bool registryValueExists(RegistryRoot root, const std::string& keyPath, const std::string& valueName) override;
  bool createRegistryKey(RegistryRoot root, const std::string& keyPath) override;
  bool registryKeyExists(RegistryRoot root, const std::string& keyPath) override;
  bool removeDirectory(const std::string& path) override;
  std::vector<std::string> readProfileKeys(const std::string& file, const std::string& section) override;
  bool deleteProfileKey(const std::string& file, const std::string& section, const std::string& key) override;
  bool deleteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName) override;
  bool deleteEmptyRegistryKey(RegistryRoot root, const std::string& keyPath) override;
  std::string tempDirectory() override;
  bool copyFile(const std::string& source, const std::string& target) override;
  bool moveFile(const std::string& source, const std::string& target) override;
  std::string windowsDirectory() override;
  MessageResult messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                           MessageIcon icon) override;
  std::string programPath() override;
  ScreenSize screenSize() override;
  void processMessages() override;
  void processMessagesBetweenBlocks() override;
  void requestQuit() override;
  std::int64_t clockSeconds() override;
  DosTime localTime() override;
  bool takeInstallerLock() override;

private:
  DWORD lastDelivery_ = 0;
  Win32FreeSpace freeSpace_;
};

} // namespace kalvora
