// The platform of the Windows programs: the real Win32 calls.
#include "platform/Win32Platform.h"

#include <algorithm>

#include "platform/Win32Messages.h"

namespace kalvora {
namespace {

MessageFilter messageFilter = nullptr;

// A DOS date and time, taken as local time, as the system's file time.
bool utcFileTime(std::uint32_t dosDateTime, FILETIME& utc) {
  FILETIME local;
  return DosDateTimeToFileTime(static_cast<WORD>(dosDateTime >> 16), static_cast<WORD>(dosDateTime), &local) &&
         LocalFileTimeToFileTime(&local, &utc);
}

class HandleStream : public Stream {
public:
  explicit HandleStream(HANDLE handle) : handle_(handle) {}
  ~HandleStream() override { CloseHandle(handle_); }
  HandleStream(const HandleStream&) = delete;
  HandleStream& operator=(const HandleStream&) = delete;

  std::size_t read(void* buffer, std::size_t n) override {
    std::size_t done = 0;
    while (done < n) {
      DWORD got = 0;
      const DWORD want = static_cast<DWORD>(n - done);
      if (!ReadFile(handle_, static_cast<char*>(buffer) + done, want, &got, nullptr) || got == 0) break;
      done += got;
    }
    position_ += static_cast<std::int64_t>(done);
    return done;
  }
  std::size_t write(const void* buffer, std::size_t n) override {
    std::size_t done = 0;
    while (done < n) {
      DWORD put = 0;
      const DWORD want = static_cast<DWORD>(n - done);
      if (!WriteFile(handle_, static_cast<const char*>(buffer) + done, want, &put, nullptr) || put == 0) break;
      done += put;
    }
    position_ += static_cast<std::int64_t>(done);
    return done;
  }
  std::int64_t position() const override { return position_; }
  void seek(std::int64_t position) override {
    LARGE_INTEGER to;
    to.QuadPart = position < 0 ? 0 : position;
    if (SetFilePointerEx(handle_, to, nullptr, FILE_BEGIN)) position_ = to.QuadPart;
  }
  std::int64_t size() const override {
    LARGE_INTEGER size;
    return GetFileSizeEx(handle_, &size) ? size.QuadPart : -1;
  }
  bool truncate() override { return SetEndOfFile(handle_) != 0; }
  bool flush() override { return FlushFileBuffers(handle_) != 0; }
  bool setDosTime(std::uint32_t dosDateTime) override {
    FILETIME utc;
    return utcFileTime(dosDateTime, utc) && SetFileTime(handle_, nullptr, nullptr, &utc) != 0;
  }

private:
  HANDLE handle_;
  std::int64_t position_ = 0;
};

HKEY rootKey(RegistryRoot root) {
  return root == RegistryRoot::ClassesRoot   ? HKEY_CLASSES_ROOT
         : root == RegistryRoot::CurrentUser ? HKEY_CURRENT_USER
                                             : HKEY_LOCAL_MACHINE;
}

// Key paths may start with "\"; the registry functions want them without.
std::string relativeKeyPath(const std::string& keyPath) {
  const std::size_t start = keyPath.find_first_not_of('\\');
  return start == std::string::npos ? std::string() : keyPath.substr(start);
}

} // namespace

std::string Win32Platform::readProfileString(const std::string& file, const std::string& section,
                                             const std::string& key, const std::string& defaultValue) {
  char buffer[1024];
  const DWORD n =
      GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, sizeof buffer, file.c_str());
  return std::string(buffer, n);
}

bool Win32Platform::writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                                       const std::string& value) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
}

std::unique_ptr<Stream> Win32Platform::openFile(const std::string& path, OpenMode mode) {
  DWORD access = GENERIC_READ, share = 0, disposition = OPEN_EXISTING;
  if (mode == OpenMode::ReadWrite) {
    access = GENERIC_READ | GENERIC_WRITE;
    share = FILE_SHARE_READ;
  } else if (mode == OpenMode::Create) {
    access = GENERIC_READ | GENERIC_WRITE;
    share = FILE_SHARE_READ;
    disposition = CREATE_ALWAYS;
  } else if (mode == OpenMode::ReadShared) {
    share = FILE_SHARE_READ;
  }
  // A file that is not there yet is made new rather than truncated: truncating
  // one (even an empty one) makes some file systems write it out when it is
  // closed, which costs every file the run creates. It is tried first rather
  // than looked for: under Wine a name that is not there costs a scan of its
  // directory for other letter cases, for every look.
  HANDLE h = INVALID_HANDLE_VALUE;
  if (mode == OpenMode::Create) {
    h = CreateFileA(path.c_str(), access, share, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return nullptr;
  }
  if (h == INVALID_HANDLE_VALUE)
    h = CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<HandleStream>(h);
}

std::optional<FileInfo> Win32Platform::fileInfo(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  FileInfo info;
  info.isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  info.attributes = data.dwFileAttributes;
  info.size = info.isDirectory ? 0 : static_cast<std::int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
  FILETIME local;
  WORD date = 0, time = 0;
  if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &date, &time))
    info.dosDateTime = static_cast<std::uint32_t>(date) << 16 | time;
  return info;
}

bool Win32Platform::createDirectory(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

bool Win32Platform::deleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != 0; }

bool Win32Platform::setFileDosTime(const std::string& path, std::uint32_t dosDateTime) {
  FILETIME utc;
  if (!utcFileTime(dosDateTime, utc)) return false;
  HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const BOOL ok = SetFileTime(h, nullptr, nullptr, &utc);
  CloseHandle(h);
  return ok != 0;
}

bool Win32Platform::setFileAttributes(const std::string& path, std::uint32_t attributes) {
  // A look costs less than a change, which opens the file: a new file mostly has them already.
  if (GetFileAttributesA(path.c_str()) == attributes) return true;
  return SetFileAttributesA(path.c_str(), attributes) != 0;
}

std::int64_t Win32Platform::freeDiskSpace(const std::string& path) {
  return freeSpace_.available(driveLetterOf(path).value_or(currentDrive()));
}

char Win32Platform::currentDrive() {
  char dir[MAX_PATH];
  const DWORD n = GetCurrentDirectoryA(sizeof dir, dir);
  if (n == 0 || n >= sizeof dir) return 'C';
  return driveLetterOf(dir).value_or('C');
}

void Win32Platform::yield() { Sleep(0); }

std::optional<std::string> Win32Platform::readRegistryString(RegistryRoot root, const std::string& keyPath,
                                                             const std::string& valueName) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(rootKey(root), relativeKeyPath(keyPath).c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return std::nullopt;
  std::optional<std::string> result;
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
      (type == REG_SZ || type == REG_EXPAND_SZ)) {
    std::string data(size, '\0');
    if (RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
        ERROR_SUCCESS) {
      data.resize(std::min<std::size_t>(size, data.size()));
      while (!data.empty() && data.back() == '\0')
        data.pop_back();
      result = data;
    }
  }
  RegCloseKey(key);
  return result;
}

bool Win32Platform::writeRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                                        const std::string& value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(rootKey(root), relativeKeyPath(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const LONG result = RegSetValueExA(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>(value.size() + 1));
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

std::optional<std::uint32_t> Win32Platform::readRegistryDword(RegistryRoot root, const std::string& keyPath,
                                                              const std::string& valueName) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(rootKey(root), relativeKeyPath(keyPath).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  DWORD type = 0, data = 0, size = sizeof data;
  const LONG result = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
  RegCloseKey(key);
  if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data) return std::nullopt;
  return data;
}

bool Win32Platform::writeRegistryDword(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                                       std::uint32_t value) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(rootKey(root), relativeKeyPath(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  const DWORD data = value;
  const LONG result =
      RegSetValueExA(key, valueName.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

bool Win32Platform::registryValueExists(RegistryRoot root, const std::string& keyPath, const std::string& valueName) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(rootKey(root), relativeKeyPath(keyPath).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  const LONG result = RegQueryValueExA(key, valueName.c_str(), nullptr, nullptr, nullptr, nullptr);
  RegCloseKey(key);
  return result == ERROR_SUCCESS;
}

bool Win32Platform::createRegistryKey(RegistryRoot root, const std::string& keyPath) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(rootKey(root), relativeKeyPath(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

bool Win32Platform::registryKeyExists(RegistryRoot root, const std::string& keyPath) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(rootKey(root), relativeKeyPath(keyPath).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool Win32Platform::removeDirectory(const std::string& path) { return RemoveDirectoryA(path.c_str()) != 0; }

std::vector<std::string> Win32Platform::readProfileKeys(const std::string& file, const std::string& section) {
  // The names come as a list of zero-ended strings; a full buffer may have cut it.
  for (DWORD size = 4096;; size *= 2) {
    std::string buffer(size, '\0');
    const DWORD n = GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(), size, file.c_str());
    if (n + 2 >= size && size < (DWORD{1} << 24)) continue;
    std::vector<std::string> keys;
    for (std::size_t at = 0; at < n;) {
      const std::size_t end = buffer.find('\0', at);
      if (end == at || end == std::string::npos) break;
      keys.push_back(buffer.substr(at, end - at));
      at = end + 1;
    }
    return keys;
  }
}

bool Win32Platform::deleteProfileKey(const std::string& file, const std::string& section, const std::string& key) {
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()) != 0;
}

bool Win32Platform::deleteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName) {
  HKEY key = nullptr;
  const LONG opened = RegOpenKeyExA(rootKey(root), relativeKeyPath(keyPath).c_str(), 0, KEY_SET_VALUE, &key);
  if (opened == ERROR_FILE_NOT_FOUND) return true;
  if (opened != ERROR_SUCCESS) return false;
  const LONG result = RegDeleteValueA(key, valueName.c_str());
  RegCloseKey(key);
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

bool Win32Platform::deleteEmptyRegistryKey(RegistryRoot root, const std::string& keyPath) {
  const std::string path = relativeKeyPath(keyPath);
  if (path.empty()) return false;
  HKEY key = nullptr;
  if (RegOpenKeyExA(rootKey(root), path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  DWORD subkeys = 0, values = 0;
  const LONG queried = RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr,
                                        nullptr, nullptr, nullptr);
  RegCloseKey(key);
  if (queried != ERROR_SUCCESS || subkeys != 0 || values != 0) return false;
  return RegDeleteKeyA(rootKey(root), path.c_str()) == ERROR_SUCCESS;
}

std::string Win32Platform::tempDirectory() {
  char dir[MAX_PATH];
  const DWORD n = GetTempPathA(sizeof dir, dir);
  std::string result(dir, n > 0 && n < sizeof dir ? n : 0);
  if (result.empty()) return Platform::tempDirectory();
  if (result.size() > 3 && result.back() == '\\') result.pop_back();
  return result;
}

bool Win32Platform::moveFile(const std::string& source, const std::string& target) {
  // A virus scanner, an indexer or a viewer may hold the target open for a
  // moment, and Windows refuses to replace an open file: the move is tried
  // again for a little over a second before it counts as refused.
  for (DWORD pause = 10;; pause *= 2) {
    if (MoveFileExA(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD error = GetLastError();
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) || pause > 640) return false;
    Sleep(pause);
  }
}

bool Win32Platform::copyFile(const std::string& source, const std::string& target) {
  if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) return false;
  // Files from a CD arrive read-only; a copy must stay replaceable and deletable.
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
    SetFileAttributesA(target.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
  return true;
}

std::string Win32Platform::windowsDirectory() {
  char dir[MAX_PATH];
  const UINT n = GetWindowsDirectoryA(dir, sizeof dir);
  std::string result(dir, n < sizeof dir ? n : 0);
  if (result.size() > 3 && result.back() == '\\') result.pop_back();
  return result;
}

MessageResult Win32Platform::messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                                        MessageIcon icon) {
  UINT flags = buttons == MessageButtons::OkCancel ? MB_OKCANCEL : buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
  if (icon == MessageIcon::Information) flags |= MB_ICONINFORMATION;
  if (icon == MessageIcon::Exclamation) flags |= MB_ICONEXCLAMATION;
  if (icon == MessageIcon::Error) flags |= MB_ICONERROR;
  switch (MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags)) {
  case IDCANCEL: return MessageResult::Cancel;
  case IDYES: return MessageResult::Yes;
  case IDNO: return MessageResult::No;
  default: return MessageResult::Ok;
  }
}

std::string Win32Platform::programPath() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  return std::string(path, n < sizeof path ? n : 0);
}

ScreenSize Win32Platform::screenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

void Win32Platform::processMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      quitRequested_ = true;
      break;
    }
    dispatchMessage(msg);
  }
}

void Win32Platform::processMessagesBetweenBlocks() {
  // The tick count is read without a call to the system; 25 ms keep the
  // windows and the cancel keys responsive.
  const DWORD now = GetTickCount();
  if (now - lastDelivery_ < 25) return;
  lastDelivery_ = now;
  processMessages();
}

void Win32Platform::requestQuit() { PostQuitMessage(0); }

// The performance counter is what std::chrono::steady_clock reads, without
// the thread library that the static run-time brings for it.
std::int64_t Win32Platform::clockSeconds() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return count.QuadPart / frequency.QuadPart;
}

// The C library's localtime reads the time zone from the registry at every call.
DosTime Win32Platform::localTime() {
  SYSTEMTIME t;
  GetLocalTime(&t);
  return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

void setMessageFilter(MessageFilter filter) { messageFilter = filter; }

void dispatchMessage(MSG& msg) {
  if (messageFilter && messageFilter(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

bool Win32Platform::takeInstallerLock() {
  // Set in the holder's environment, which the programs it starts inherit.
  constexpr const char* kHeldMark = "KALVORA_INSTALLER_LOCK";
  char held[4];
  if (GetEnvironmentVariableA(kHeldMark, held, sizeof held) != 0) return true;
  // Global\: one installer per machine, whichever session it runs in. Systems
  // before the session namespaces refuse the prefix: the plain name serves there.
  HANDLE lock = CreateMutexA(nullptr, FALSE, "Global\\kalvora.installer");
  if (!lock && GetLastError() != ERROR_ACCESS_DENIED) lock = CreateMutexA(nullptr, FALSE, "kalvora.installer");
  // Denied: another user's installer made it. Kept open until the process ends.
  if (!lock) return GetLastError() != ERROR_ACCESS_DENIED;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(lock);
    return false;
  }
  SetEnvironmentVariableA(kHeldMark, "1");
  return true;
}

} // namespace kalvora
