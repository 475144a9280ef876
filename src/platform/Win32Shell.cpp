// The shell of the Windows program: the Program Manager's DDE service and
// shell links in the Start Menu.
#include <windows.h>
// after windows.h
#include <dde.h>
#include <objidl.h>
#include <shlobj.h>

#include <cstring>

#include "platform/Win32Shell.h"

namespace kalvora {
namespace {

// The Program Manager conversation in the DDE message protocol, held by one
// message-only window of the calling thread. A message-only window gets no
// window of the display system, and the thread needs no second one: the cost
// of a conversation is its messages. Every wait is bounded: the question to the
// desktop's windows goes to each with a time limit, hung ones are passed over.
constexpr UINT kAskWindowMs = 1000;
constexpr DWORD kProgmanStartMs = 5000;
constexpr DWORD kExecuteMs = 10000;
constexpr DWORD kTerminateMs = 1000;
const char* const kConversationClass = "KalvoraProgmanConversation";

class ProgmanConversation {
public:
  ProgmanConversation() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = handle;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kConversationClass;
    RegisterClassA(&windowClass); // a second conversation finds the class registered
    window_ = CreateWindowExA(0, kConversationClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance,
                              nullptr);
    if (window_) SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  }
  ~ProgmanConversation() {
    if (server_) terminate();
    if (window_) DestroyWindow(window_);
  }
  ProgmanConversation(const ProgmanConversation&) = delete;
  ProgmanConversation& operator=(const ProgmanConversation&) = delete;

  // The service "Progman" with the empty topic; shells that refuse it take the topic "Progman".
  bool connect() { return window_ && (initiate(false) || initiate(true)); }

  // The commands as one zero-terminated text; true when the shell took them.
  bool execute(const std::string& commands) {
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE, commands.size() + 1);
    if (!data) return false;
    if (void* text = GlobalLock(data)) {
      std::memcpy(text, commands.c_str(), commands.size() + 1);
      GlobalUnlock(data);
    }
    if (!PostMessageA(server_, WM_DDE_EXECUTE, reinterpret_cast<WPARAM>(window_), reinterpret_cast<LPARAM>(data))) {
      GlobalFree(data);
      return false;
    }
    // Waiting for the answer keeps the commands from being dropped when the
    // conversation closes before the shell has taken them.
    if (!waitFor(answered_, kExecuteMs)) return false; // the memory stays with the shell
    GlobalFree(data);
    return accepted_;
  }

private:
  bool initiate(bool namedTopic) {
    const ATOM service = GlobalAddAtomA("Progman");
    const ATOM topic = namedTopic ? GlobalAddAtomA("Progman") : 0;
    // The servers answer while the question goes round, each with a message sent back.
    SendMessageTimeoutA(HWND_BROADCAST, WM_DDE_INITIATE, reinterpret_cast<WPARAM>(window_), MAKELPARAM(service, topic),
                        SMTO_ABORTIFHUNG, kAskWindowMs, nullptr);
    GlobalDeleteAtom(service);
    if (topic) GlobalDeleteAtom(topic);
    return server_ != nullptr;
  }

  void terminate() {
    PostMessageA(server_, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window_), 0);
    waitFor(terminated_, kTerminateMs); // the server's own terminate ends the conversation
    server_ = nullptr;
  }

  // Delivers the conversation's messages until flag is set or the time is up.
  bool waitFor(const bool& flag, DWORD limitMs) {
    const DWORD start = GetTickCount();
    for (DWORD waited = 0; !flag; waited = GetTickCount() - start) {
      MSG msg;
      if (PeekMessageA(&msg, window_, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&msg);
        continue;
      }
      if (waited >= limitMs || MsgWaitForMultipleObjects(0, nullptr, FALSE, limitMs - waited,
                                                         QS_POSTMESSAGE | QS_SENDMESSAGE) == WAIT_TIMEOUT)
        return flag;
    }
    return true;
  }

  void received(UINT message, WPARAM wParam, LPARAM lParam) {
    const auto from = reinterpret_cast<HWND>(wParam);
    if (message == WM_DDE_ACK && InSendMessage()) {
      // An answer to the question: the atoms are the server's copies.
      GlobalDeleteAtom(LOWORD(lParam));
      GlobalDeleteAtom(HIWORD(lParam));
      if (!server_)
        server_ = from;
      else if (from != server_)
        PostMessageA(from, WM_DDE_TERMINATE, reinterpret_cast<WPARAM>(window_), 0); // one shell is enough
    } else if (message == WM_DDE_ACK && from == server_) {
      UINT_PTR status = 0, data = 0;
      UnpackDDElParam(WM_DDE_ACK, lParam, &status, &data);
      FreeDDElParam(WM_DDE_ACK, lParam);
      accepted_ = (status & 0x8000) != 0; // fAck
      answered_ = true;
    } else if (message == WM_DDE_TERMINATE && from == server_) {
      terminated_ = true;
      answered_ = true; // a server that ends the conversation will not answer the commands
    }
  }

  static LRESULT CALLBACK handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_DDE_FIRST && message <= WM_DDE_LAST)
      if (auto* conversation = reinterpret_cast<ProgmanConversation*>(GetWindowLongPtrA(window, GWLP_USERDATA))) {
        conversation->received(message, wParam, lParam);
        return 0;
      }
    return DefWindowProcA(window, message, wParam, lParam);
  }

  HWND window_ = nullptr, server_ = nullptr;
  bool answered_ = false, accepted_ = false, terminated_ = false;
};

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
  ProgmanConversation conversation;
  if (!conversation.connect()) {
    // No server answers: start the Program Manager minimised and ask again while it comes up.
    WinExec("Progman ", SW_SHOWMINNOACTIVE);
    const DWORD start = GetTickCount();
    bool connected = false;
    while (!connected && GetTickCount() - start < kProgmanStartMs) {
      Sleep(250);
      connected = conversation.connect();
    }
    if (!connected) return false;
  }
  return conversation.execute(commands);
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
