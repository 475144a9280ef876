#pragma once
// A form: one top-level window of setup.exe with named child controls. Labels,
// images and bevels are graphic controls: real child windows (so that automation
// finds them by name and reads their text) that the form paints itself, back to
// front, as the framework the layouts come from paints its graphic controls.
#include <windows.h>

#include <string>

#include "app/MainLayout.h"

namespace kalvora {

enum class GraphicKind { Label, Image, Bevel, Icon };

// How a graphic control draws itself; stored with its window.
struct Graphic {
  GraphicKind kind = GraphicKind::Label;
  HFONT font = nullptr;
  COLORREF color = 0;
  bool transparent = false;
  bool wordWrap = false;
  bool stretch = false;
  bool center = false;
  HBITMAP bitmap = nullptr; // owned
  HICON icon = nullptr;
};

// The window property that names every window and control, for automation.
void setWindowName(HWND window, const std::string& name);
std::string windowName(HWND window);

// Fonts by face, height in pixels (character height) and weight; kept for the program's life.
HFONT fontOf(const char* face, int height, bool bold);
// MS Sans Serif 8 pt, the forms' font.
HFONT formFont();

// Appends a line to the file named by KALVORA_TRACE, when set: the test driver
// reads from it what passes too fast to watch (the loading screen's bar).
void automationTrace(const std::string& line);

// The mouse cursor for the whole program: the hourglass while set.
void setHourglass(bool on);

class Form {
public:
  Form(const char* className, COLORREF background);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND handle() const { return hwnd_; }
  const std::string& className() const { return className_; }

  // Creates the window hidden, with a client area of the given size, centred on the screen.
  void createWindow(const std::string& caption, DWORD style, DWORD exStyle, int clientWidth, int clientHeight);
  void setClientSize(int width, int height);
  void centre();
  void show(int command = SW_SHOW);
  void hide();
  bool visible() const;

  // Child controls, positioned in client pixels; each is named and returns its window.
  HWND addButton(const char* name, const std::string& caption, Rect r, int id, bool isDefault = false);
  HWND addEdit(const char* name, Rect r, int id, HWND parent = nullptr);
  HWND addProgressBar(const char* name, Rect r);
  HWND addPanel(const char* name, Rect r, HWND parent = nullptr);
  HWND addLabel(const char* name, const std::string& text, Rect r, HFONT font, COLORREF color, bool transparent,
                bool wordWrap, HWND parent = nullptr);
  HWND addImage(const char* name, Rect r, bool stretch, bool center, HWND parent = nullptr);
  HWND addBevel(const char* name, Rect r);
  HWND addIcon(const char* name, Rect r, HICON icon);

  // Replaces an image's picture (ownership passes to the control); repaints it.
  void setPicture(HWND image, HBITMAP bitmap);
  void setLabelColor(HWND label, COLORREF color);
  void setText(HWND control, const std::string& text);
  void place(HWND control, Rect r);
  void setVisible(HWND control, bool visible);
  static std::string textOf(HWND control);
  // The application's error report: an exception's message in an error box.
  static void reportError(const char* message);

protected:
  // A message for this form; runs inside the error guard. Return true when handled.
  virtual bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // Drawing beneath the graphic controls (the form's own paint handler).
  virtual void paintBackground(HDC dc, const RECT& client);

  HWND hwnd_ = nullptr;

private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT dispatch(UINT msg, WPARAM wp, LPARAM lp);
  void paint();
  HWND addGraphic(const char* name, const std::string& text, Rect r, const Graphic& graphic, HWND parent);

  std::string className_;
  COLORREF background_;
  HBRUSH brush_;
};

// Paints the graphic children of parent onto dc, back to front.
void paintGraphicChildren(HWND parent, HDC dc);

} // namespace kalvora
