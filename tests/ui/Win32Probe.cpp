#include "tests/ui/Win32Probe.h"

#include <chrono>

#include "ui/win32/Handles.h"
#include "ui/win32/Win32Screen.h"

namespace kalora::ui::win32::probe {

namespace {

constexpr auto kBoxWait = std::chrono::seconds(20);

std::u16string ToU16(const std::wstring& text) { return {text.begin(), text.end()}; }

std::wstring RawText(HWND window) {
  wchar_t buffer[1024];
  int length = GetWindowTextW(window, buffer, 1024);
  return std::wstring(buffer, static_cast<size_t>(std::max(length, 0)));
}

BOOL CALLBACK KeepBox(HWND window, LPARAM found) {
  if (ClassOf(window) == L"#32770" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindBox(DWORD thread_id) {
  HWND found = nullptr;
  EnumThreadWindows(thread_id, KeepBox, reinterpret_cast<LPARAM>(&found));
  return found;
}

SeenBox Read(HWND box) {
  SeenBox seen;
  seen.found = true;
  seen.owner = GetWindow(box, GW_OWNER);
  seen.title = ToU16(RawText(box));
  for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    std::wstring kind = ClassOf(child);
    LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if (_wcsicmp(kind.c_str(), L"Button") == 0) {
      seen.buttons.push_back(ToU16(RawText(child)));
    } else if (_wcsicmp(kind.c_str(), L"Static") == 0) {
      if ((style & SS_TYPEMASK) == SS_ICON) {
        seen.has_icon = seen.has_icon || SendMessageW(child, STM_GETICON, 0, 0) != 0;
      } else if (!RawText(child).empty()) {
        seen.text = ToU16(RawText(child));
      }
    }
  }
  return seen;
}

}  // namespace

std::wstring ClassOf(HWND window) {
  wchar_t name[256];
  int length = GetClassNameW(window, name, 256);
  return std::wstring(name, static_cast<size_t>(std::max(length, 0)));
}

std::u16string TextOf(HWND window) { return ToU16(RawText(window)); }

RECT RectInParent(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  MapWindowPoints(nullptr, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  auto handle = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
  GetObjectW(handle, sizeof font, &font);
  return font;
}

int TextWidth(HWND window, const wchar_t* text) {
  WindowDc dc(window);
  Selected font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc.Get(), text, static_cast<int>(wcslen(text)), &size);
  return size.cx;
}

std::vector<std::string> ChildNames(HWND parent, Form& form) {
  std::vector<std::string> names;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    for (Control* control : AllControls(form)) {
      if (HandleOf(*control) == child) names.push_back(control->Name());
    }
  }
  return names;
}

void Notify(HWND control, int code) {
  SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
               reinterpret_cast<LPARAM>(control));
}

BoxAnswerer::BoxAnswerer() : thread_id_(GetCurrentThreadId()) {
  thread_ = std::thread([this] {
    auto deadline = std::chrono::steady_clock::now() + kBoxWait;
    while (std::chrono::steady_clock::now() < deadline) {
      if (HWND box = FindBox(thread_id_)) {
        seen_ = Read(box);
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
        return;
      }
      Sleep(20);
    }
  });
}

BoxAnswerer::~BoxAnswerer() {
  if (thread_.joinable()) thread_.join();
}

SeenBox BoxAnswerer::Seen() {
  if (thread_.joinable()) thread_.join();
  return seen_;
}

}  // namespace kalora::ui::win32::probe
