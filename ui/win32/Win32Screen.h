// The native backend of the window library: every control of a form becomes a real Win32
// window, and the screen shows real message boxes.
//
// Use:
//   Win32Screen screen;                      // registers the classes, makes the fonts
//   screen.SetErrorHandler(...);             // where errors of event handlers end up
//   MyForm form(screen);                     // the model, built as usual
//   auto window = screen.Realise(form);      // the native windows, shown
//   RunMessageLoop(form);                    // until the window is closed
//
// No C++ exception ever leaves one of our window procedures: an exception thrown by an event
// handler is caught there and handed to the error handler (a SilentAbort is dropped: its box
// was shown already). The same holds for an exception thrown by the error handler itself.
#pragma once

#include "ui/win32/WindowsApi.h"

#include <exception>
#include <functional>
#include <memory>
#include <vector>

#include "ui/Controls.h"
#include "ui/Screen.h"
#include "ui/win32/Handles.h"

namespace kalora::ui::win32 {

class NativeControl;
class Win32Screen;

// The native windows of one form: made by Win32Screen::Realise, destroyed with this object
// (which must go before the form). While it lives, every change of the form's controls is
// shown on screen and the operator's actions reach the controls' events.
class NativeWindow {
 public:
  NativeWindow(Form& form, Win32Screen& screen);
  ~NativeWindow();
  NativeWindow(const NativeWindow&) = delete;
  NativeWindow& operator=(const NativeWindow&) = delete;

  Form& GetForm() const { return form_; }
  Win32Screen& GetScreen() const { return screen_; }
  // The window of the form or of one of its controls; nullptr once it was destroyed.
  HWND Handle(const Control& control) const;

 private:
  Form& form_;
  Win32Screen& screen_;
  // The form first, then its controls depth-first: parents before their children.
  std::vector<std::unique_ptr<NativeControl>> peers_;
};

class Win32Screen : public Screen {
 public:
  // Receives every error an event handler let through; the application shows it in its
  // default error box. It runs inside the window procedure, so it may show boxes.
  using ErrorHandler = std::function<void(const std::exception&)>;

  Win32Screen();
  ~Win32Screen() override;
  Win32Screen(const Win32Screen&) = delete;
  Win32Screen& operator=(const Win32Screen&) = delete;

  // Makes the native windows of a form whose screen is this one; the form is shown when it
  // is visible.
  std::unique_ptr<NativeWindow> Realise(Form& form);

  void SetErrorHandler(ErrorHandler handler) { error_handler_ = std::move(handler); }
  // Called by the window procedures with the exception being handled.
  void ReportError(std::exception_ptr error) noexcept;

  // MessageBoxW owned by the newest live window, task-modal when there is none.
  void ShowMessageBox(const MessageBox& box) override;
  void Repaint(const Control& control) override;
  void ResetCursor(const Form& form) override;
  void CloseRequested(const Form& form) override;

  HFONT Font(bool bold) const { return bold ? bold_font_.get() : font_.get(); }

 private:
  friend class NativeWindow;
  HWND OwnerWindow() const;

  UniqueFont font_;
  UniqueFont bold_font_;
  ErrorHandler error_handler_;
  std::vector<NativeWindow*> windows_;
};

// The native window of a realised control (nullptr when it has none).
HWND HandleOf(const Control& control);

// Dispatches messages, with keyboard navigation between the controls, until the form's
// window is destroyed (closed from its system menu or by Form::Close). Returns at once when
// it no longer exists.
int RunMessageLoop(Form& form);

}  // namespace kalora::ui::win32
