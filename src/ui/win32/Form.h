#pragma once
// A form: one top-level window of setup.exe with named child controls: the
// system's controls, panels and graphic controls (GraphicControls.h), which
// the form paints itself. Its handlers run inside one error guard that ends
// in the application's error report.
#include <windows.h>

#include <functional>
#include <string>

#include "model/Geometry.h"
#include "ui/win32/Automation.h"
#include "ui/win32/Fonts.h"
#include "ui/win32/GraphicControls.h"
#include "ui/win32/Hourglass.h"
#include "ui/win32/Panels.h"

namespace kalvora {

// A message on its way to a window of the program: the form it belongs to may
// take it first (keys, dialog navigation). True when it was taken.
bool preTranslateForForm(MSG& msg);

class Form {
public:
  // dialogManager: the form runs the dialog manager's default handling (tab
  // navigation, default button, focus kept across activations).
  Form(const char* className, COLORREF background, bool dialogManager = false);
  virtual ~Form();
  Form(const Form&) = delete;
  Form& operator=(const Form&) = delete;

  HWND handle() const { return hwnd_; }
  // The form of a top-level window, or null.
  static Form* fromHandle(HWND window);
  // Offers a message to the form's key handling (preTranslateMessage).
  bool preTranslate(MSG& msg);
  const std::string& className() const { return className_; }

  // Creates the window hidden, with a client area of the given size, centred on the screen.
  void createWindow(const std::string& caption, DWORD style, DWORD exStyle, int clientWidth, int clientHeight);
  void setClientSize(int width, int height);
  void centre();
  void show(int command = SW_SHOW);
  void hide();
  bool visible() const;

  // Child controls, positioned in client pixels; each is named and returns its window.
  HWND addButton(const char* name, const std::string& caption, Rect r, int id, bool isDefault = false,
                 HWND parent = nullptr);
  HWND addEdit(const char* name, Rect r, int id, HWND parent = nullptr);
  HWND addProgressBar(const char* name, Rect r);
  HWND addPanel(const char* name, Rect r, HWND parent = nullptr, PanelLook look = {});
  HWND addRadioButton(const char* name, Rect r, int id, HWND parent, bool firstOfGroup);
  HWND addCheckBox(const char* name, Rect r, int id, HWND parent);
  HWND addListBox(const char* name, Rect r, int id, DWORD style);
  HWND addComboBox(const char* name, Rect r, int id, int dropHeight);
  HWND addLabel(const char* name, const std::string& text, Rect r, HFONT font, COLORREF color, bool transparent,
                bool wordWrap, HWND parent = nullptr);
  HWND addImage(const char* name, Rect r, bool stretch, bool center, HWND parent = nullptr);
  HWND addBevel(const char* name, Rect r, HWND parent = nullptr, bool frame = false);
  HWND addIcon(const char* name, Rect r, HICON icon);
  // A percentage bar; its text is its position (0 to 100), so that automation reads it.
  HWND addGauge(const char* name, Rect r);
  // Repaints only when the shown percentage changes.
  void setGaugePosition(HWND gauge, int percent);

  // Replaces an image's picture (ownership passes to the control); repaints it.
  void setPicture(HWND image, HBITMAP bitmap);
  void setLabelColor(HWND label, COLORREF color);
  void setLabelAlignRight(HWND label, bool right);
  // Makes a button the default one (Enter presses it).
  void setDefaultButton(int id);
  void setText(HWND control, const std::string& text);
  void place(HWND control, Rect r);
  void setVisible(HWND control, bool visible);
  static std::string textOf(HWND control);
  // The application's error report: an error's message in an error box, or
  // wherever setErrorReport sends it (a run that may not wait for anyone).
  static void reportError(const char* message);
  static void setErrorReport(std::function<void(const std::string&)> report);

protected:
  // A message for this form; runs inside the error guard. Return true when handled.
  virtual bool onMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
  // A message for one of this form's windows before it is dispatched; true when taken.
  virtual bool preTranslateMessage(MSG& msg);
  // Drawing beneath the graphic controls (the form's own paint handler).
  virtual void paintBackground(HDC dc, const RECT& client);

  HWND hwnd_ = nullptr;

private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT dispatch(UINT msg, WPARAM wp, LPARAM lp);
  void paint();
  HWND addGraphic(const char* name, const std::string& text, Rect r, const Graphic& graphic, HWND parent);
  HWND addChild(const char* name, const char* windowClass, DWORD style, DWORD exStyle, Rect r, int id, HWND parent);
  LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp);

  std::string className_;
  COLORREF background_;
  HBRUSH brush_;
  bool dialogManager_;
};

} // namespace kalvora
