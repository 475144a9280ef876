// The shell of the Windows program: the Program Manager's DDE service and
// shell links in the Start Menu.
#include <windows.h>
// after windows.h
#include <ddeml.h>
#include <objidl.h>
#include <shlobj.h>

#include "platform/Win32Shell.h"

namespace kalvora {
namespace {

HDDEDATA CALLBACK ignoreDdeEvents(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }

// The Program Manager conversation runs on a thread of its own, so that the
// user-interface thread's wait for it stays bounded: opening a conversation
// asks every top-level window of the desktop in turn, and one window that
// answers nothing would hold the asking thread for good.
constexpr DWORD kShellConversationMs = 20000;
constexpr DWORD kProgmanStartMs = 5000;
constexpr DWORD kExecuteMs = 10000;

struct ShellConversation {
  std::string commands;
  volatile LONG sent = 0;
  volatile LONG owners = 2; // the waiting thread and the conversation's thread
  void release() {
    if (InterlockedDecrement(&owners) == 0) delete this;
  }
};

// The service "Progman" with the empty topic; shells that refuse it take the topic "Progman".
HCONV connectProgman(DWORD instance, HSZ name) {
  HCONV conversation = DdeConnect(instance, name, nullptr, nullptr);
  return conversation ? conversation : DdeConnect(instance, name, name, nullptr);
}

// No server answers: start the Program Manager minimised and ask again while it comes up.
HCONV startProgmanAndConnect(DWORD instance, HSZ name) {
  WinExec("Progman ", SW_SHOWMINNOACTIVE);
  const DWORD start = GetTickCount();
  HCONV conversation = nullptr;
  while (!conversation && GetTickCount() - start < kProgmanStartMs) {
    Sleep(250);
    conversation = connectProgman(instance, name);
  }
  return conversation;
}

DWORD WINAPI holdShellConversation(void* parameter) {
  auto* job = static_cast<ShellConversation*>(parameter);
  DWORD instance = 0;
  if (DdeInitializeA(&instance, ignoreDdeEvents, APPCMD_CLIENTONLY, 0) == DMLERR_NO_ERROR) {
    HSZ name = DdeCreateStringHandleA(instance, "Progman", CP_WINANSI);
    HCONV conversation = connectProgman(instance, name);
    if (!conversation) conversation = startProgmanAndConnect(instance, name);
    if (conversation) {
      std::string data = job->commands; // sent with its terminating zero
      // Waiting for the answer keeps the commands from being dropped when the
      // conversation closes before the shell has taken them.
      if (DdeClientTransaction(reinterpret_cast<BYTE*>(data.data()), static_cast<DWORD>(data.size() + 1), conversation,
                               nullptr, CF_TEXT, XTYP_EXECUTE, kExecuteMs, nullptr))
        InterlockedExchange(&job->sent, 1);
      DdeDisconnect(conversation);
    }
    DdeFreeStringHandle(instance, name);
    DdeUninitialize(instance);
  }
  job->release();
  return 0;
}

std::wstring widePath(const std::string& path) {
  std::wstring wide(path.size() + 1, L'\0');
  const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  wide.resize(n > 0 ? static_cast<std::size_t>(n - 1) : 0);
  return wide;
}

// A shell link object with its file interface, on an initialised COM apartment.
class ShellLinkObject {
public:
  ShellLinkObject() {
    initialised_ = SUCCEEDED(CoInitialize(nullptr));
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                   reinterpret_cast<void**>(&link_))))
      link_->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file_));
  }
  ~ShellLinkObject() {
    if (file_) file_->Release();
    if (link_) link_->Release();
    if (initialised_) CoUninitialize();
  }
  ShellLinkObject(const ShellLinkObject&) = delete;
  ShellLinkObject& operator=(const ShellLinkObject&) = delete;

  IShellLinkA* link() const { return file_ ? link_ : nullptr; }
  IPersistFile* file() const { return file_; }

private:
  bool initialised_ = false;
  IShellLinkA* link_ = nullptr;
  IPersistFile* file_ = nullptr;
};

} // namespace

bool sendProgmanCommands(const std::string& commands) {
  auto* job = new ShellConversation{commands};
  HANDLE thread = CreateThread(nullptr, 0, holdShellConversation, job, 0, nullptr);
  if (!thread) {
    delete job;
    return false;
  }
  // Only messages sent from other threads are handled meanwhile: the
  // conversation's own question reaches this thread's windows too.
  const DWORD start = GetTickCount();
  for (DWORD waited = 0; waited < kShellConversationMs; waited = GetTickCount() - start) {
    if (MsgWaitForMultipleObjects(1, &thread, FALSE, kShellConversationMs - waited, QS_SENDMESSAGE) !=
        WAIT_OBJECT_0 + 1)
      break;
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
  }
  CloseHandle(thread);
  // A conversation still hanging is left to end with the program.
  const bool sent = job->sent != 0;
  job->release();
  return sent;
}

std::string startMenuPrograms(bool common) {
  char path[MAX_PATH];
  if (SHGetFolderPathA(nullptr, common ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS, nullptr, SHGFP_TYPE_CURRENT, path) !=
      S_OK)
    return {};
  std::string folder = path;
  if (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  return folder;
}

std::optional<ShellLink> loadShellLink(const std::string& path) {
  ShellLinkObject object;
  if (!object.link() || FAILED(object.file()->Load(widePath(path).c_str(), STGM_READ))) return std::nullopt;
  char target[MAX_PATH] = "", arguments[1024] = "", directory[MAX_PATH] = "";
  if (FAILED(object.link()->GetPath(target, sizeof target, nullptr, SLGP_RAWPATH)) ||
      FAILED(object.link()->GetArguments(arguments, sizeof arguments)) ||
      FAILED(object.link()->GetWorkingDirectory(directory, sizeof directory)))
    return std::nullopt;
  return ShellLink{target, arguments, directory};
}

bool saveShellLink(const std::string& path, const ShellLink& link) {
  ShellLinkObject object;
  return object.link() && SUCCEEDED(object.link()->SetPath(link.target.c_str())) &&
         SUCCEEDED(object.link()->SetArguments(link.arguments.c_str())) &&
         SUCCEEDED(object.link()->SetWorkingDirectory(link.workingDirectory.c_str())) &&
         SUCCEEDED(object.file()->Save(widePath(path).c_str(), TRUE));
}

} // namespace kalvora
