// demoview.exe, the Kalvora Demo's program: shows a .kdm document, a text file
// whose first line is its title and whose other lines are its text. The file
// association starts it as "demoview.exe PATH" (the path not quoted, so it may
// hold blanks); without an argument it shows welcome.kdm beside itself.
// Plain Win32 and fixed buffers, no C++ library: the program stays small enough
// for the demo's floppy disk.
#include <windows.h>

namespace {

constexpr DWORD kMaxDocument = 64 * 1024;
constexpr int kMaxTitle = 200;

// The document: its title and its text, line ends as CR LF.
char title[kMaxTitle];
char text[2 * kMaxDocument];

const char* const kWelcomeTitle = "Kalvora Demo";
const char* const kWelcomeText = "Welcome to the Kalvora Demo.\r\n\r\nOpen a .kdm document to see it here.";

// The command line after the program's name, blanks and surrounding quotes removed.
void argumentOf(const char* line, char* argument, int size) {
  if (*line == '"') {
    ++line;
    while (*line && *line != '"')
      ++line;
    if (*line) ++line;
  } else {
    while (*line && *line != ' ' && *line != '\t')
      ++line;
  }
  while (*line == ' ' || *line == '\t')
    ++line;
  lstrcpynA(argument, line, size);
  int n = lstrlenA(argument);
  while (n > 0 && (argument[n - 1] == ' ' || argument[n - 1] == '\t'))
    argument[--n] = '\0';
  if (n >= 2 && argument[0] == '"' && argument[n - 1] == '"') {
    argument[n - 1] = '\0';
    MoveMemory(argument, argument + 1, static_cast<SIZE_T>(n - 1));
  }
}

// welcome.kdm in the program's own directory.
void welcomePath(char* path, DWORD size) {
  const DWORD n = GetModuleFileNameA(nullptr, path, size);
  DWORD end = n < size ? n : 0;
  while (end > 0 && path[end - 1] != '\\')
    --end;
  path[end] = '\0';
  lstrcpynA(path + end, "welcome.kdm", static_cast<int>(size - end));
}

// Reads at most kMaxDocument bytes; false when the file cannot be read.
bool readFile(const char* path, char* content, DWORD& length) {
  HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool ok = ReadFile(file, content, kMaxDocument, &length, nullptr) != 0;
  CloseHandle(file);
  return ok;
}

// First line: the title; the rest, with its line ends made CR LF, the text.
void parse(const char* content, DWORD length) {
  DWORD i = 0;
  int t = 0;
  while (i < length && content[i] != '\n') {
    if (content[i] != '\r' && t < kMaxTitle - 1) title[t++] = content[i];
    ++i;
  }
  title[t] = '\0';
  DWORD n = 0;
  for (++i; i < length; ++i) {
    if (content[i] == '\r') continue;
    if (content[i] == '\n') text[n++] = '\r';
    text[n++] = content[i];
  }
  text[n] = '\0';
}

void load(const char* argument) {
  static char content[kMaxDocument];
  char path[MAX_PATH];
  if (*argument)
    lstrcpynA(path, argument, MAX_PATH);
  else
    welcomePath(path, MAX_PATH);
  DWORD length = 0;
  if (readFile(path, content, length)) {
    parse(content, length);
    return;
  }
  if (*argument) {
    char message[MAX_PATH + 64];
    wsprintfA(message, "Cannot open the document\r\n%s.", path);
    MessageBoxA(nullptr, message, "Demo Viewer", MB_OK | MB_ICONEXCLAMATION);
  }
  lstrcpynA(title, kWelcomeTitle, kMaxTitle);
  lstrcpynA(text, kWelcomeText, sizeof text);
}

HFONT titleFont;
HFONT textFont;

void paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
  SetBkMode(dc, TRANSPARENT);
  RECT band{0, 0, client.right, 48};
  HBRUSH navy = CreateSolidBrush(RGB(0, 0, 128));
  FillRect(dc, &band, navy);
  DeleteObject(navy);
  HGDIOBJ old = SelectObject(dc, titleFont);
  SetTextColor(dc, RGB(255, 255, 255));
  RECT heading{16, 0, client.right - 16, 48};
  DrawTextA(dc, title, -1, &heading, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, textFont);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  RECT body{16, 64, client.right - 16, client.bottom - 16};
  DrawTextA(dc, text, -1, &body, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  SelectObject(dc, old);
  EndPaint(window, &ps);
}

LRESULT CALLBACK windowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
  case WM_PAINT: paint(window); return 0;
  case WM_SIZE: InvalidateRect(window, nullptr, FALSE); return 0;
  case WM_ERASEBKGND: return 1;
  case WM_DESTROY: PostQuitMessage(0); return 0;
  default: return DefWindowProcA(window, msg, wp, lp);
  }
}

HFONT font(int height, bool bold) {
  return CreateFontA(-height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, "Arial");
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  char argument[MAX_PATH];
  argumentOf(GetCommandLineA(), argument, MAX_PATH);
  load(argument);
  titleFont = font(24, true);
  textFont = font(16, false);
  WNDCLASSA wc{};
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.lpszClassName = "KalvoraDemoViewer";
  RegisterClassA(&wc);
  char caption[kMaxTitle + 16];
  wsprintfA(caption, "%s - Demo Viewer", title);
  HWND window = CreateWindowA(wc.lpszClassName, caption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 560, 380,
                              nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  ShowWindow(window, show);
  UpdateWindow(window);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}
