// Reading native windows the way a person looks at them, for the tests of the Win32 backend.
#pragma once

#include "ui/win32/WindowsApi.h"

#include <string>
#include <thread>
#include <vector>

#include "ui/Controls.h"

namespace kalora::ui::win32::probe {

std::wstring ClassOf(HWND window);
std::u16string TextOf(HWND window);
// The window's rectangle in its parent's client area.
RECT RectInParent(HWND window);
LOGFONTW FontOf(HWND window);
// The width of a text in the window's font.
int TextWidth(HWND window, const wchar_t* text);
// The names of the controls of form whose windows are parent's children, in window order.
std::vector<std::string> ChildNames(HWND parent, Form& form);
// Sends the parent the WM_COMMAND notification a control sends when the operator uses it.
void Notify(HWND control, int code);

struct SeenBox {
  bool found = false;
  HWND owner = nullptr;
  std::u16string title;
  std::u16string text;
  std::vector<std::u16string> buttons;
  bool has_icon = false;
};

// Waits on a second thread for a message box of the thread that made it, reads it and
// presses its OK button.
class BoxAnswerer {
 public:
  BoxAnswerer();
  ~BoxAnswerer();
  BoxAnswerer(const BoxAnswerer&) = delete;
  BoxAnswerer& operator=(const BoxAnswerer&) = delete;
  // What was seen, once the box was answered (or the wait ran out).
  SeenBox Seen();

 private:
  DWORD thread_id_;
  SeenBox seen_;
  std::thread thread_;
};

}  // namespace kalora::ui::win32::probe
