#include "ui/win32/Win32Screen.h"


#include <algorithm>

#include "runtime/Errors.h"
#include "ui/win32/NativeControls.h"

namespace kalora::ui::win32 {

namespace {

// "MS Sans Serif" 8 pt at 96 pixels per inch; the layout is in pixels, so the font is too.
constexpr int kFontHeight = -11;
constexpr wchar_t kFontFace[] = L"MS Sans Serif";
// Control ids start above IDOK and IDCANCEL, so that Enter and Escape press no control.
constexpr int kFirstControlId = 100;

UniqueFont MakeFont(int weight) {
  HFONT font = CreateFontW(kFontHeight, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, kFontFace);
  if (font == nullptr) throw PlatformError("EOSError", "Erro ao criar a fonte MS Sans Serif");
  return UniqueFont(font);
}

UINT IconFlag(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Information: return MB_ICONINFORMATION;
    case BoxIcon::Stop: return MB_ICONSTOP;
    case BoxIcon::None: break;
  }
  return 0;
}

bool IsRadio(const Control* control) {
  return control != nullptr && control->GetKind() == Kind::RadioButton;
}

// A group of siblings starts at the first child and wherever a run of radio buttons starts
// or ends, so that the arrow keys move only between the radio buttons of one run.
DWORD GroupStyle(const Control& control) {
  const auto& siblings = control.Parent()->Children();
  auto at = std::find(siblings.begin(), siblings.end(), &control);
  if (at == siblings.begin()) return WS_GROUP;
  return IsRadio(*(at - 1)) != IsRadio(&control) ? WS_GROUP : 0;
}

}  // namespace

// ---- NativeWindow

NativeWindow::NativeWindow(Form& form, Win32Screen& screen) : form_(form), screen_(screen) {
  int id = kFirstControlId;
  try {
    for (Control* control : AllControls(form)) {
      auto peer = MakePeer(*control, *this);
      Control* parent = control->Parent();
      peer->Create(parent != nullptr ? Handle(*parent) : nullptr, id++,
                   parent != nullptr ? GroupStyle(*control) : 0);
      peers_.push_back(std::move(peer));
    }
  } catch (...) {
    for (auto& peer : peers_) peer->Model().SetPeer(nullptr);
    while (!peers_.empty()) peers_.pop_back();
    throw;
  }
  screen_.windows_.push_back(this);
  if (form.Visible()) {
    ShowWindow(Handle(form), SW_SHOW);
    UpdateWindow(Handle(form));
  }
}

NativeWindow::~NativeWindow() {
  std::erase(screen_.windows_, this);
  // Children first: each window is destroyed by its own peer while it still exists.
  while (!peers_.empty()) {
    peers_.back()->Model().SetPeer(nullptr);
    peers_.pop_back();
  }
}

HWND NativeWindow::Handle(const Control& control) const {
  for (const auto& peer : peers_) {
    if (&peer->Model() == &control) return peer->Handle();
  }
  return nullptr;
}

// ---- Win32Screen

Win32Screen::Win32Screen() {
  INITCOMMONCONTROLSEX classes{sizeof classes,
                               ICC_STANDARD_CLASSES | ICC_DATE_CLASSES | ICC_PROGRESS_CLASS};
  InitCommonControlsEx(&classes);
  RegisterFormClass();
  font_ = MakeFont(FW_NORMAL);
  bold_font_ = MakeFont(FW_BOLD);
}

Win32Screen::~Win32Screen() = default;

std::unique_ptr<NativeWindow> Win32Screen::Realise(Form& form) {
  if (&form.GetScreen() != this) {
    throw PlatformError("EOSError", "A janela " + form.Name() + " pertence a outra tela");
  }
  return std::make_unique<NativeWindow>(form, *this);
}

void Win32Screen::ReportError(std::exception_ptr error) noexcept {
  auto report = [this](const std::exception& failure) {
    if (error_handler_) {
      error_handler_(failure);
    } else {
      ShowMessageBox({BoxIcon::Stop, "Erro", ErrorBoxText(failure.what())});
    }
  };
  try {
    try {
      std::rethrow_exception(error);
    } catch (const SilentAbort&) {
      // Its box was shown already.
    } catch (const std::exception& failure) {
      report(failure);
    } catch (...) {
      report(PlatformError("Exception", "Erro desconhecido"));
    }
  } catch (...) {
    // The error handler failed too; there is nobody left to tell, and Windows must not see it.
    OutputDebugStringW(L"Kalora: error while reporting an error\n");
  }
}

HWND Win32Screen::OwnerWindow() const {
  for (auto at = windows_.rbegin(); at != windows_.rend(); ++at) {
    HWND window = (*at)->Handle((*at)->GetForm());
    if (window != nullptr && IsWindowVisible(window)) return window;
  }
  return nullptr;
}

void Win32Screen::ShowMessageBox(const MessageBox& box) {
  HWND owner = OwnerWindow();
  UINT flags = MB_OK | IconFlag(box.icon) | (owner == nullptr ? MB_TASKMODAL : 0);
  MessageBoxW(owner, Wide(box.text).c_str(), Wide(box.title).c_str(), flags);
}

void Win32Screen::Repaint(const Control& control) {
  HWND window = HandleOf(control);
  if (window == nullptr) return;
  // Drawn now, from here: the run that asks does not pump messages.
  RedrawWindow(window, nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void Win32Screen::ResetCursor(const Form& /*form*/) {
  SetCursor(SystemCursor(IDC_ARROW));
}

void Win32Screen::CloseRequested(const Form& form) {
  // Posted, not destroyed here: the request usually comes from a handler of one of the
  // window's own controls, which is still running.
  HWND window = HandleOf(form);
  if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
}

// ---- Free functions

HWND HandleOf(const Control& control) {
  auto* peer = dynamic_cast<NativeControl*>(control.GetPeer());
  return peer != nullptr ? peer->Handle() : nullptr;
}

int RunMessageLoop(Form& form) {
  MSG message{};
  while (HandleOf(form) != nullptr) {
    BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) return static_cast<int>(message.wParam);  // WM_QUIT
    if (got == -1) break;
    HWND window = HandleOf(form);
    if (window != nullptr && IsDialogMessageW(window, &message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace kalora::ui::win32
