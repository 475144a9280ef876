// The platform of the Windows program: the real Win32 calls.
#include <windows.h>

#include <algorithm>

#include "platform/Platform.h"
#include "platform/SystemWorker.h"
#include "platform/Win32Messages.h"
#include "platform/Win32Shell.h"

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

class Win32Platform : public Platform {
public:
  std::string readProfileString(const std::string& file, const std::string& section, const std::string& key,
                                const std::string& defaultValue) override {
    char buffer[1024];
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, sizeof buffer,
                                             file.c_str());
    return std::string(buffer, n);
  }

  bool writeProfileString(const std::string& file, const std::string& section, const std::string& key,
                          const std::string& value) override {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), file.c_str()) != 0;
  }

  std::unique_ptr<Stream> openFile(const std::string& path, OpenMode mode) override {
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
    // closed, which costs every file the run creates.
    HANDLE h = INVALID_HANDLE_VALUE;
    if (mode == OpenMode::Create && GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
      h = CreateFileA(path.c_str(), access, share, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
      h = CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    return std::make_unique<HandleStream>(h);
  }

  std::optional<FileInfo> fileInfo(const std::string& path) override {
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

  bool createDirectory(const std::string& path) override { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

  bool deleteFile(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }

  bool setFileDosTime(const std::string& path, std::uint32_t dosDateTime) override {
    FILETIME utc;
    if (!utcFileTime(dosDateTime, utc)) return false;
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const BOOL ok = SetFileTime(h, nullptr, nullptr, &utc);
    CloseHandle(h);
    return ok != 0;
  }

  bool setFileAttributes(const std::string& path, std::uint32_t attributes) override {
    // A look costs less than a change, which opens the file: a new file mostly has them already.
    if (GetFileAttributesA(path.c_str()) == attributes) return true;
    return SetFileAttributesA(path.c_str(), attributes) != 0;
  }

  std::int64_t freeDiskSpace(const std::string& path) override {
    const char drive = driveLetterOf(path).value_or(currentDrive());
    const char root[4] = {drive, ':', '\\', 0};
    ULARGE_INTEGER available;
    if (!GetDiskFreeSpaceExA(root, &available, nullptr, nullptr)) return -1;
    return static_cast<std::int64_t>(available.QuadPart);
  }

  char currentDrive() override {
    char dir[MAX_PATH];
    const DWORD n = GetCurrentDirectoryA(sizeof dir, dir);
    if (n == 0 || n >= sizeof dir) return 'C';
    return driveLetterOf(dir).value_or('C');
  }

  std::string driveLetters() override {
    const DWORD mask = GetLogicalDrives();
    std::string letters;
    for (int i = 0; i < 26; ++i)
      if (mask & (DWORD{1} << i)) letters += static_cast<char>('A' + i);
    return letters;
  }

  std::string driveCurrentDirectory(char drive) override {
    const char drivePath[3] = {drive, ':', 0};
    char path[MAX_PATH];
    const DWORD n = GetFullPathNameA(drivePath, sizeof path, path, nullptr);
    if (n == 0 || n >= sizeof path) return std::string(1, drive) + ":\\";
    return path;
  }

  std::optional<std::vector<std::string>> listSubdirectories(const std::string& dir) override {
    std::string pattern = dir;
    if (!pattern.empty() && pattern.back() != '\\') pattern += '\\';
    pattern += '*';
    // A drive without a medium answers with an error, not with the system's "not ready" box.
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    const DWORD error = find == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    SetErrorMode(oldMode);
    if (find == INVALID_HANDLE_VALUE) {
      if (error == ERROR_FILE_NOT_FOUND) return std::vector<std::string>{};
      return std::nullopt;
    }
    std::vector<std::string> names;
    const DWORD skipped = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    do {
      const std::string name = data.cFileName;
      if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(data.dwFileAttributes & skipped) && name != "." &&
          name != "..")
        names.push_back(name);
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return names;
  }

  void yield() override { Sleep(0); }
  std::unique_ptr<Worker> startWorker(WorkerJob job) override { return startSystemWorker(std::move(job)); }
  std::unique_ptr<Stream> openFileForWorker(const std::string& path) override {
    return openFile(path, OpenMode::ReadShared);
  }

  std::optional<std::string> readRegistryString(RegistryRoot root, const std::string& keyPath,
                                                const std::string& valueName) override {
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

  bool writeRegistryString(RegistryRoot root, const std::string& keyPath, const std::string& valueName,
                           const std::string& value) override {
    HKEY key = nullptr;
    if (RegCreateKeyExA(rootKey(root), relativeKeyPath(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
      return false;
    const LONG result = RegSetValueExA(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                       static_cast<DWORD>(value.size() + 1));
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
  }

  bool createRegistryKey(RegistryRoot root, const std::string& keyPath) override {
    HKEY key = nullptr;
    if (RegCreateKeyExA(rootKey(root), relativeKeyPath(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }

  bool registryKeyExists(RegistryRoot root, const std::string& keyPath) override {
    HKEY key = nullptr;
    if (RegOpenKeyExA(rootKey(root), relativeKeyPath(keyPath).c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return false;
    RegCloseKey(key);
    return true;
  }

  bool removeDirectory(const std::string& path) override { return RemoveDirectoryA(path.c_str()) != 0; }

  std::vector<std::string> readProfileKeys(const std::string& file, const std::string& section) override {
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

  bool deleteProfileKey(const std::string& file, const std::string& section, const std::string& key) override {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, file.c_str()) != 0;
  }

  bool deleteRegistryValue(RegistryRoot root, const std::string& keyPath, const std::string& valueName) override {
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExA(rootKey(root), relativeKeyPath(keyPath).c_str(), 0, KEY_SET_VALUE, &key);
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    const LONG result = RegDeleteValueA(key, valueName.c_str());
    RegCloseKey(key);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
  }

  bool deleteEmptyRegistryKey(RegistryRoot root, const std::string& keyPath) override {
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

  std::string tempDirectory() override {
    char dir[MAX_PATH];
    const DWORD n = GetTempPathA(sizeof dir, dir);
    std::string result(dir, n > 0 && n < sizeof dir ? n : 0);
    if (result.empty()) return Platform::tempDirectory();
    if (result.size() > 3 && result.back() == '\\') result.pop_back();
    return result;
  }

  bool sendShellCommands(const std::string& commands) override { return sendProgmanCommands(commands); }
  std::string programsFolder(bool common) override { return startMenuPrograms(common); }
  std::optional<ShellLink> readShellLink(const std::string& path) override { return loadShellLink(path); }
  bool writeShellLink(const std::string& path, const ShellLink& link) override { return saveShellLink(path, link); }

  bool startProgram(const std::string& commandLine) override {
    return WinExec(commandLine.c_str(), SW_SHOWNORMAL) > 31;
  }

  bool startHiddenProgram(const std::string& commandLine) override {
    return WinExec(commandLine.c_str(), SW_HIDE) > 31;
  }

  bool runHiddenProgram(const std::string& commandLine) override {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process{};
    std::string line = commandLine; // CreateProcessA may write into it
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
      return false;
    WaitForSingleObject(process.hProcess, INFINITE);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
  }

  bool copyFile(const std::string& source, const std::string& target) override {
    if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) return false;
    // Files from a CD arrive read-only; a copy must stay replaceable and deletable.
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesA(target.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    return true;
  }

  std::string windowsDirectory() override {
    char dir[MAX_PATH];
    const UINT n = GetWindowsDirectoryA(dir, sizeof dir);
    std::string result(dir, n < sizeof dir ? n : 0);
    if (result.size() > 3 && result.back() == '\\') result.pop_back();
    return result;
  }

  MessageResult messageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                           MessageIcon icon) override {
    UINT flags = buttons == MessageButtons::OkCancel ? MB_OKCANCEL
                 : buttons == MessageButtons::YesNo  ? MB_YESNO
                                                     : MB_OK;
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

  std::string programPath() override {
    char path[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    return std::string(path, n < sizeof path ? n : 0);
  }

  ScreenSize screenSize() override { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

  void processMessages() override {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) {
        quitRequested_ = true;
        break;
      }
      dispatchMessage(msg);
    }
  }

  void processMessagesBetweenBlocks() override {
    // The tick count is read without a call to the system; 25 ms keep the
    // windows and the cancel keys responsive.
    const DWORD now = GetTickCount();
    if (now - lastDelivery_ < 25) return;
    lastDelivery_ = now;
    processMessages();
  }

  void requestQuit() override { PostQuitMessage(0); }

  // The performance counter is what std::chrono::steady_clock reads, without
  // the thread library that the static run-time brings for it.
  std::int64_t clockSeconds() override {
    LARGE_INTEGER count, frequency;
    QueryPerformanceCounter(&count);
    QueryPerformanceFrequency(&frequency);
    return count.QuadPart / frequency.QuadPart;
  }

  // The C library's localtime reads the time zone from the registry at every call.
  DosTime localTime() override {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
  }

  std::string foregroundWindowTitle() override {
    HWND window = GetForegroundWindow();
    char title[256] = "";
    const int n = window ? GetWindowTextA(window, title, sizeof title) : 0;
    return std::string(title, n > 0 ? static_cast<std::size_t>(n) : 0);
  }

  bool endSession(SessionEnd how) override {
    if (how == SessionEnd::LogOff) return ExitWindowsEx(EWX_LOGOFF, 0) != 0;
    // Windows NT restarts only for a process holding the shutdown privilege.
    enableShutdownPrivilege();
    return ExitWindowsEx(EWX_REBOOT, SHTDN_REASON_FLAG_PLANNED) != 0;
  }

private:
  DWORD lastDelivery_ = 0;

  static void enableShutdownPrivilege() {
    HANDLE token = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return;
    TOKEN_PRIVILEGES privileges{};
    privileges.PrivilegeCount = 1;
    privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
    if (LookupPrivilegeValueA(nullptr, SE_SHUTDOWN_NAME, &privileges.Privileges[0].Luid))
      AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
    CloseHandle(token);
  }
};

} // namespace

void setMessageFilter(MessageFilter filter) { messageFilter = filter; }

void dispatchMessage(MSG& msg) {
  if (messageFilter && messageFilter(msg)) return;
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

Platform& systemPlatform() {
  static Win32Platform platform;
  return platform;
}

} // namespace kalvora
