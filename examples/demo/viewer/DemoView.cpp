// demoview.exe, the Kalvora Demo's program: shows a .kdm document, a text file
// whose first line is its title and whose other lines are its text. The file
// association starts it as "demoview.exe PATH" (the path not quoted, so it may
// hold blanks); without an argument it shows welcome.kdm beside itself.
#include <windows.h>

#include <string>
#include <vector>

namespace {

struct Document {
  std::string title;
  std::string text;
};

std::string directoryOfProgram() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string dir(path, n < sizeof path ? n : 0);
  return dir.substr(0, dir.find_last_of('\\') + 1);
}

// The whole command line after the program's name, without surrounding quotes.
std::string argumentOf(const char* commandLine) {
  std::string line = commandLine;
  std::size_t i = 0;
  if (!line.empty() && line[0] == '"') {
    const std::size_t close = line.find('"', 1);
    i = close == std::string::npos ? line.size() : close + 1;
  } else {
    while (i < line.size() && line[i] != ' ' && line[i] != '\t')
      ++i;
  }
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
    ++i;
  std::string argument = line.substr(i);
  while (!argument.empty() && (argument.back() == ' ' || argument.back() == '\t'))
    argument.pop_back();
  if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"')
    argument = argument.substr(1, argument.size() - 2);
  return argument;
}

bool readFile(const std::string& path, std::string& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  content.clear();
  char block[4096];
  DWORD got = 0;
  bool ok = true;
  while ((ok = ReadFile(file, block, sizeof block, &got, nullptr) != 0) && got > 0)
    content.append(block, got);
  CloseHandle(file);
  return ok;
}

// First line: the title; the rest, with its line ends as CR LF, the text.
Document parse(const std::string& content) {
  Document d;
  std::size_t end = content.find('\n');
  d.title = content.substr(0, end);
  if (!d.title.empty() && d.title.back() == '\r') d.title.pop_back();
  const std::string rest = end == std::string::npos ? "" : content.substr(end + 1);
  for (char c : rest) {
    if (c == '\r') continue;
    if (c == '\n') d.text += '\r';
    d.text += c;
  }
  return d;
}

Document load(const std::string& argument) {
  const std::string path = argument.empty() ? directoryOfProgram() + "welcome.kdm" : argument;
  std::string content;
  if (readFile(path, content)) return parse(content);
  if (!argument.empty()) {
    const std::string message = "Cannot open the document\r\n" + path + ".";
    MessageBoxA(nullptr, message.c_str(), "Demo Viewer", MB_OK | MB_ICONEXCLAMATION);
  }
  return {"Kalvora Demo", "Welcome to the Kalvora Demo.\r\n\r\nOpen a .kdm document to see it here."};
}

Document document;
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
  RECT title{16, 0, client.right - 16, 48};
  DrawTextA(dc, document.title.c_str(), -1, &title, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  SelectObject(dc, textFont);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  RECT text{16, 64, client.right - 16, client.bottom - 16};
  DrawTextA(dc, document.text.c_str(), -1, &text, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
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
  document = load(argumentOf(GetCommandLineA()));
  titleFont = font(24, true);
  textFont = font(16, false);
  WNDCLASSA wc{};
  wc.lpfnWndProc = windowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
  wc.lpszClassName = "KalvoraDemoViewer";
  RegisterClassA(&wc);
  const std::string caption = document.title + " - Demo Viewer";
  HWND window = CreateWindowA(wc.lpszClassName, caption.c_str(), WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 560,
                              380, nullptr, nullptr, instance, nullptr);
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
