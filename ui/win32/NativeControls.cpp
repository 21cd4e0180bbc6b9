#include "ui/win32/NativeControls.h"


#include <algorithm>
#include <chrono>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "ui/win32/Win32Screen.h"

namespace kalora::ui::win32 {

namespace {

constexpr wchar_t kFormClass[] = L"KaloraForm";
constexpr wchar_t kDateFormat[] = L"dd/MM/yyyy";
// The drop-down list of a combo box: room for this many items below the box.
constexpr int kDropDownItems = 8;

SYSTEMTIME ToSystemTime(Date date) {
  std::chrono::year_month_day ymd{date};
  std::chrono::weekday weekday{date};
  SYSTEMTIME time{};
  time.wYear = static_cast<WORD>(static_cast<int>(ymd.year()));
  time.wMonth = static_cast<WORD>(static_cast<unsigned>(ymd.month()));
  time.wDay = static_cast<WORD>(static_cast<unsigned>(ymd.day()));
  time.wDayOfWeek = static_cast<WORD>(weekday.c_encoding());
  return time;
}

std::optional<Date> FromSystemTime(const SYSTEMTIME& time) {
  return MakeDate(time.wYear, time.wMonth, time.wDay);
}

[[noreturn]] void ThrowCreateFailed(const Control& control) {
  throw PlatformError("EOSError", "Erro ao criar a janela de " + control.Name() + " (erro " +
                                      std::to_string(GetLastError()) + ")");
}

}  // namespace

std::wstring Wide(const Text& text) {
  std::u16string utf16 = Cp1252ToUtf16(text);
  return std::wstring(utf16.begin(), utf16.end());
}

// ---- NativeControl

NativeControl::~NativeControl() {
  if (Handle() != nullptr) {
    // Our window procedure must not see the messages of a window whose peer is gone.
    SetWindowLongPtrW(Handle(), GWLP_USERDATA, 0);
    if (original_proc_ != nullptr && original_proc_ != DefWindowProcW) {
      SetWindowLongPtrW(Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_proc_));
    }
  }
}

NativeControl* NativeControl::Of(HWND window) {
  if (window == nullptr) return nullptr;
  auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (proc != SubclassProc) return nullptr;  // not one of ours
  return reinterpret_cast<NativeControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

RECT NativeControl::Placement() const {
  const Bounds& bounds = control_.GetBounds();
  return {bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height};
}

void NativeControl::Create(HWND parent, int id, DWORD extra_style) {
  RECT place = Placement();
  DWORD style = Style() | extra_style | (parent != nullptr ? WS_CHILD : 0);
  if (control_.Visible() && parent != nullptr) style |= WS_VISIBLE;
  HWND window = CreateWindowExW(
      ExStyle(), ClassName(), Wide(control_.GetText()).c_str(), style, place.left, place.top,
      place.right - place.left, place.bottom - place.top, parent,
      parent != nullptr ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr,
      GetModuleHandleW(nullptr), parent == nullptr ? this : nullptr);
  if (window == nullptr) ThrowCreateFailed(control_);
  handle_.reset(window);
  SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (proc == SubclassProc) {
    original_proc_ = DefWindowProcW;  // the form: our own class
  } else {
    original_proc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc)));
  }
  updating_ = true;
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(window_.GetScreen().Font(control_.Bold())), FALSE);
  Initialise();
  updating_ = false;
  control_.SetPeer(this);
}

void NativeControl::Update(Property property) {
  if (Handle() == nullptr) return;
  bool was_updating = updating_;
  updating_ = true;
  try {
    Apply(property);
  } catch (...) {
    updating_ = was_updating;
    throw;
  }
  updating_ = was_updating;
}

void NativeControl::Apply(Property property) {
  switch (property) {
    case Property::Text:
      SetWindowTextW(Handle(), Wide(control_.GetText()).c_str());
      break;
    case Property::Bounds: {
      RECT place = Placement();
      SetWindowPos(Handle(), nullptr, place.left, place.top, place.right - place.left,
                   place.bottom - place.top, SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    }
    case Property::Visible:
      ShowWindow(Handle(), control_.Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case Property::Font:
      Send(WM_SETFONT, reinterpret_cast<WPARAM>(window_.GetScreen().Font(control_.Bold())),
           TRUE);
      break;
    default:
      break;
  }
}

Text NativeControl::WindowText() const {
  int length = GetWindowTextLengthW(Handle());
  std::wstring buffer(static_cast<size_t>(length) + 1, L'\0');
  int copied = GetWindowTextW(Handle(), buffer.data(), length + 1);
  return Utf16ToCp1252(std::u16string(buffer.begin(), buffer.begin() + std::max(copied, 0)));
}

bool NativeControl::OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  if (message == WM_SETCURSOR && control_.HandCursor() &&
      reinterpret_cast<HWND>(wparam) == Handle() && LOWORD(lparam) == HTCLIENT) {
    SetCursor(SystemCursor(IDC_HAND));
    result = TRUE;
    return true;
  }
  return false;
}

bool NativeControl::Forward(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  NativeControl* child = nullptr;
  if (message == WM_COMMAND && lparam != 0) {
    child = Of(reinterpret_cast<HWND>(lparam));
    if (child != nullptr) child->OnCommand(HIWORD(wparam));
  } else if (message == WM_NOTIFY) {
    const auto* header = reinterpret_cast<const NMHDR*>(lparam);
    child = Of(header->hwndFrom);
    if (child != nullptr) child->OnNotify(*header);
  }
  result = 0;
  return child != nullptr;
}

LRESULT CALLBACK NativeControl::SubclassProc(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
  if (message == WM_NCCREATE && GetWindowLongPtrW(window, GWLP_USERDATA) == 0) {
    // The form's own class: the peer comes with the creation arguments.
    auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* peer = reinterpret_cast<NativeControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (peer == nullptr) return DefWindowProcW(window, message, wparam, lparam);
  WNDPROC original = peer->original_proc_ != nullptr ? peer->original_proc_ : DefWindowProcW;
  if (message == WM_NCDESTROY) {
    // The window is going: forget it, so that nothing reaches it later.
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (original != DefWindowProcW) {
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    }
    peer->handle_.release();
    return CallWindowProcW(original, window, message, wparam, lparam);
  }
  // The boundary: event handlers run below here, and nothing they throw may reach Windows.
  try {
    LRESULT result = 0;
    if (peer->OnMessage(message, wparam, lparam, result)) return result;
  } catch (...) {
    peer->Window().GetScreen().ReportError(std::current_exception());
    return 0;
  }
  return CallWindowProcW(original, window, message, wparam, lparam);
}

// ---- The form

class FormPeer : public NativeControl {
 public:
  using NativeControl::NativeControl;

 protected:
  const wchar_t* ClassName() const override { return kFormClass; }
  // A fixed single border with the system menu and the minimise button only.
  DWORD Style() const override { return WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX; }
  DWORD ExStyle() const override { return WS_EX_CONTROLPARENT; }

  // The client area is the form's size; the window is centred on the screen.
  RECT Placement() const override {
    const Bounds& bounds = Model().GetBounds();
    RECT frame{0, 0, bounds.width, bounds.height};
    AdjustWindowRectEx(&frame, Style(), FALSE, ExStyle());
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return {left, top, left + width, top + height};
  }

  void Apply(Property property) override {
    if (property == Property::Visible) {
      ShowWindow(Handle(), Model().Visible() ? SW_SHOW : SW_HIDE);
      return;
    }
    NativeControl::Apply(property);
  }

  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
    auto& form = static_cast<Form&>(Model());
    switch (message) {
      case WM_COMMAND:
      case WM_NOTIFY:
        return Forward(message, wparam, lparam, result);
      case WM_SETCURSOR:
        // A child sets its own cursor; the form's class cursor is only for the form.
        if (reinterpret_cast<HWND>(wparam) != Handle()) {
          result = FALSE;
          return true;
        }
        return false;
      case WM_CLOSE:
        // From the system menu or posted by Form::Close: the model learns of it, then the
        // window goes (a second WM_CLOSE posted meanwhile finds no window).
        if (!form.Closed()) form.Close();
        DestroyWindow(Handle());
        result = 0;
        return true;
      default:
        return NativeControl::OnMessage(message, wparam, lparam, result);
    }
  }
};

// ---- Group box: a real parent of its controls

class GroupBoxPeer : public NativeControl {
 public:
  using NativeControl::NativeControl;

 protected:
  const wchar_t* ClassName() const override { return WC_BUTTONW; }
  DWORD Style() const override { return BS_GROUPBOX | WS_CLIPSIBLINGS; }
  DWORD ExStyle() const override { return WS_EX_CONTROLPARENT; }

  bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override {
    switch (message) {
      // A group box keeps its children's notifications to itself: pass them on.
      case WM_COMMAND:
      case WM_NOTIFY:
        return Forward(message, wparam, lparam, result);
      case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wparam) != Handle()) {
          result = FALSE;
          return true;
        }
        return NativeControl::OnMessage(message, wparam, lparam, result);
      case WM_ERASEBKGND: {
        // It paints only its frame and caption; what a hidden or shrunk child leaves behind
        // must go too.
        RECT client;
        GetClientRect(Handle(), &client);
        FillRect(reinterpret_cast<HDC>(wparam), &client, GetSysColorBrush(COLOR_BTNFACE));
        result = 1;
        return true;
      }
      default:
        return NativeControl::OnMessage(message, wparam, lparam, result);
    }
  }
};

// ---- Label: sized to its text when the model gives no width

class LabelPeer : public NativeControl {
 public:
  using NativeControl::NativeControl;

 protected:
  const wchar_t* ClassName() const override { return WC_STATICW; }
  DWORD Style() const override { return SS_LEFT; }

  RECT Placement() const override {
    RECT place = NativeControl::Placement();
    if (Model().GetBounds().width > 0 || Handle() == nullptr) return place;
    SIZE size = TextSize();
    place.right = place.left + size.cx;
    place.bottom = place.top + size.cy;
    return place;
  }

  void Initialise() override { Apply(Property::Bounds); }

  void Apply(Property property) override {
    NativeControl::Apply(property);
    if (property == Property::Text || property == Property::Font) {
      NativeControl::Apply(Property::Bounds);
      InvalidateRect(Handle(), nullptr, TRUE);
    }
  }

 private:
  // The text's extent in the label's font; an empty text is as high as a blank.
  SIZE TextSize() const {
    std::wstring text = Wide(Model().GetText());
    if (text.empty()) text = L" ";
    WindowDc dc(Handle());
    auto font = reinterpret_cast<HFONT>(Send(WM_GETFONT));
    Selected selected(dc.Get(), font);
    RECT extent{0, 0, 0, 0};
    DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent,
              DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    return {extent.right - extent.left, extent.bottom - extent.top};
  }
};

// ---- Edit box

class EditPeer : public NativeControl {
 public:
  using NativeControl::NativeControl;

 protected:
  const wchar_t* ClassName() const override { return WC_EDITW; }
  DWORD Style() const override { return ES_AUTOHSCROLL | WS_TABSTOP; }
  DWORD ExStyle() const override { return WS_EX_CLIENTEDGE; }

  void Initialise() override {
    int limit = static_cast<Edit&>(Model()).MaxLength();
    // The limit holds typing only: a longer text set by the program stays whole.
    if (limit > 0) Send(EM_LIMITTEXT, static_cast<WPARAM>(limit));
  }

  void Apply(Property property) override {
    if (property == Property::Text && WindowText() == Model().GetText()) return;
    NativeControl::Apply(property);
  }

  void OnCommand(int code) override {
    if (code != EN_CHANGE || Updating()) return;
    Text typed = WindowText();
    auto& edit = static_cast<Edit&>(Model());
    // The box held typing to the limit already; a longer text the program put there and the
    // operator shortened stays as the box shows it.
    if (edit.MaxLength() > 0 && typed.size() > static_cast<size_t>(edit.MaxLength())) {
      edit.SetText(typed);
    } else {
      edit.Type(typed);
    }
  }
};

// ---- Radio button, check box and push button

class RadioButtonPeer : public NativeControl {
 public:
  using NativeControl::NativeControl;

 protected:
  const wchar_t* ClassName() const override { return WC_BUTTONW; }
  DWORD Style() const override { return BS_AUTORADIOBUTTON; }

  void Initialise() override { Apply(Property::Checked); }

  void Apply(Property property) override {
    if (property != Property::Checked) return NativeControl::Apply(property);
    bool checked = static_cast<RadioButton&>(Model()).Checked();
    Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED);
    SetTabStops();
  }

  // Tab reaches the radio buttons of a parent at the checked one, as in a dialog, or at the
  // first when none is checked.
  void SetTabStops() const {
    const auto& siblings = Model().Parent()->Children();
    bool any_checked = std::any_of(siblings.begin(), siblings.end(), [](const Control* sibling) {
      auto* radio = dynamic_cast<const RadioButton*>(sibling);
      return radio != nullptr && radio->Checked();
    });
    bool first = true;
    for (const Control* sibling : siblings) {
      auto* radio = dynamic_cast<const RadioButton*>(sibling);
      HWND window = HandleOf(*sibling);
      if (radio == nullptr || window == nullptr) continue;
      bool stop = any_checked ? radio->Checked() : first;
      first = false;
      LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
      SetWindowLongPtrW(window, GWL_STYLE, stop ? style | WS_TABSTOP : style & ~WS_TABSTOP);
    }
  }

  void OnCommand(int code) override {
    if (code != BN_CLICKED || Updating()) return;
    auto& radio = static_cast<RadioButton&>(Model());
    // Clicking the button already chosen changes nothing, so nothing runs.
    if (!radio.Checked()) radio.Click();
  }
};

class CheckBoxPeer : public NativeControl {
 public:
  using NativeControl::NativeControl;

 protected:
  const wchar_t* ClassName() const override { return WC_BUTTONW; }
  DWORD Style() const override { return BS_AUTOCHECKBOX | WS_TABSTOP; }

  void Initialise() override { Apply(Property::Checked); }

  void Apply(Property property) override {
    if (property != Property::Checked) return NativeControl::Apply(property);
    Send(BM_SETCHECK, static_cast<CheckBox&>(Model()).Checked() ? BST_CHECKED : BST_UNCHECKED);
  }

  void OnCommand(int code) override {
    if (code != BN_CLICKED || Updating()) return;
    auto& check = static_cast<CheckBox&>(Model());
    bool shown = Send(BM_GETCHECK) == BST_CHECKED;
    if (shown != check.Checked()) check.Click();
  }
};

// Never BS_DEFPUSHBUTTON: the window has no default button, so Enter presses none.
class ButtonPeer : public NativeControl {
 public:
  using NativeControl::NativeControl;

 protected:
  const wchar_t* ClassName() const override { return WC_BUTTONW; }
  DWORD Style() const override { return BS_PUSHBUTTON | WS_TABSTOP; }

  void OnCommand(int code) override {
    if (code == BN_CLICKED && !Updating()) static_cast<Button&>(Model()).Click();
  }
};

// ---- Date picker: dates only, always dd/MM/yyyy whatever the locale says

class DatePickerPeer : public NativeControl {
 public:
  using NativeControl::NativeControl;

 protected:
  const wchar_t* ClassName() const override { return DATETIMEPICK_CLASSW; }
  DWORD Style() const override { return DTS_SHORTDATEFORMAT | WS_TABSTOP; }

  void Initialise() override {
    Send(DTM_SETFORMATW, 0, reinterpret_cast<LPARAM>(kDateFormat));
    Apply(Property::Date);
  }

  void Apply(Property property) override {
    if (property == Property::Text) return;  // the text is the date's
    if (property != Property::Date) return NativeControl::Apply(property);
    Date date = static_cast<DatePicker&>(Model()).GetDate();
    if (Shown() == date) return;
    SYSTEMTIME time = ToSystemTime(date);
    Send(DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
  }

  void OnNotify(const NMHDR& header) override {
    if (header.code != DTN_DATETIMECHANGE || Updating()) return;
    const auto& change = reinterpret_cast<const NMDATETIMECHANGE&>(header);
    if (change.dwFlags != GDT_VALID) return;
    std::optional<Date> date = FromSystemTime(change.st);
    if (date) static_cast<DatePicker&>(Model()).PickDate(*date);
  }

 private:
  std::optional<Date> Shown() const {
    SYSTEMTIME time{};
    if (Send(DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time)) != GDT_VALID) {
      return std::nullopt;
    }
    return FromSystemTime(time);
  }
};

// ---- Drop-down list without typing

class ComboBoxPeer : public NativeControl {
 public:
  using NativeControl::NativeControl;

 protected:
  const wchar_t* ClassName() const override { return WC_COMBOBOXW; }
  DWORD Style() const override { return CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP; }

  // The height given at creation is that of the box with its list dropped down; the closed
  // box takes its height from the font.
  RECT Placement() const override {
    RECT place = NativeControl::Placement();
    place.bottom += kDropDownItems * std::max(Model().GetBounds().height - 6, 13);
    return place;
  }

  void Initialise() override {
    Apply(Property::Items);
    Apply(Property::Selection);
  }

  void Apply(Property property) override {
    auto& combo = static_cast<ComboBox&>(Model());
    switch (property) {
      case Property::Text:
        return;  // the text is the chosen item's
      case Property::Items:
        Send(CB_RESETCONTENT);
        for (const Text& item : combo.Items()) {
          Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
        }
        [[fallthrough]];
      case Property::Selection:
        if (Send(CB_GETCURSEL) != combo.ItemIndex()) Send(CB_SETCURSEL, combo.ItemIndex());
        return;
      default:
        NativeControl::Apply(property);
    }
  }

  void OnCommand(int code) override {
    if (code != CBN_SELCHANGE || Updating()) return;
    static_cast<ComboBox&>(Model()).Select(static_cast<int>(Send(CB_GETCURSEL)));
  }
};

// ---- Progress bar

class ProgressBarPeer : public NativeControl {
 public:
  using NativeControl::NativeControl;

 protected:
  const wchar_t* ClassName() const override { return PROGRESS_CLASSW; }
  DWORD Style() const override { return 0; }

  void Initialise() override { Apply(Property::Range); }

  void Apply(Property property) override {
    auto& bar = static_cast<ProgressBar&>(Model());
    switch (property) {
      case Property::Range:
        Send(PBM_SETRANGE32, static_cast<WPARAM>(bar.Min()), bar.Max());
        [[fallthrough]];
      case Property::Position:
        Send(PBM_SETPOS, static_cast<WPARAM>(bar.Position()));
        return;
      case Property::Text:
        return;
      default:
        NativeControl::Apply(property);
    }
  }
};

// ---- Factory

std::unique_ptr<NativeControl> MakePeer(Control& control, NativeWindow& window) {
  switch (control.GetKind()) {
    case Kind::Form: return std::make_unique<FormPeer>(control, window);
    case Kind::GroupBox: return std::make_unique<GroupBoxPeer>(control, window);
    case Kind::Label: return std::make_unique<LabelPeer>(control, window);
    case Kind::Edit: return std::make_unique<EditPeer>(control, window);
    case Kind::RadioButton: return std::make_unique<RadioButtonPeer>(control, window);
    case Kind::CheckBox: return std::make_unique<CheckBoxPeer>(control, window);
    case Kind::DatePicker: return std::make_unique<DatePickerPeer>(control, window);
    case Kind::ComboBox: return std::make_unique<ComboBoxPeer>(control, window);
    case Kind::ProgressBar: return std::make_unique<ProgressBarPeer>(control, window);
    case Kind::Button: return std::make_unique<ButtonPeer>(control, window);
  }
  throw PlatformError("EOSError", "Controle sem janela: " + control.Name());
}

void RegisterFormClass() {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kFormClass, &window_class)) return;
  window_class.lpfnWndProc = NativeControl::SubclassProc;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hCursor = SystemCursor(IDC_ARROW);
  window_class.hIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1));
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  window_class.lpszClassName = kFormClass;
  if (RegisterClassExW(&window_class) == 0) {
    throw PlatformError("EOSError", "Erro ao registrar a classe de janela (erro " +
                                        std::to_string(GetLastError()) + ")");
  }
}

}  // namespace kalora::ui::win32
