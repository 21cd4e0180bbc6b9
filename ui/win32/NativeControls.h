// The peers of the native backend: one class per kind of control, each owning its window.
// Internal to ui/win32.
#pragma once

#include "ui/win32/WindowsApi.h"

#include <memory>
#include <string>

#include "ui/Controls.h"
#include "ui/win32/Handles.h"

namespace kalora::ui::win32 {

class NativeWindow;

// UTF-16 for the W functions, from a Windows-1252 text.
std::wstring Wide(const Text& text);

class NativeControl : public Peer {
 public:
  NativeControl(Control& control, NativeWindow& window) : control_(control), window_(window) {}
  ~NativeControl() override;

  // Makes the window inside parent (nullptr for the form) with the given control id and
  // extra styles (WS_GROUP where a group of siblings starts).
  void Create(HWND parent, int id, DWORD extra_style);

  HWND Handle() const { return handle_.get(); }
  Control& Model() const { return control_; }
  NativeWindow& Window() const { return window_; }

  // Brings the window up to date with the model. Changes made here never come back as
  // operator actions.
  void Update(Property property) final;

  // Notifications of the native control, sent to its parent and passed on to here.
  virtual void OnCommand(int /*code*/) {}
  virtual void OnNotify(const NMHDR& /*header*/) {}
  // A message for the control's own window; false lets the control handle it.
  virtual bool OnMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

  // The peer of one of our windows, or nullptr.
  static NativeControl* Of(HWND window);

 protected:
  virtual const wchar_t* ClassName() const = 0;
  virtual DWORD Style() const = 0;
  virtual DWORD ExStyle() const { return 0; }
  // Where the window goes, in its parent's client area (or on the screen for the form).
  virtual RECT Placement() const;
  // Sets everything of the model on the new window.
  virtual void Initialise() {}
  virtual void Apply(Property property);

  LRESULT Send(UINT message, WPARAM wparam = 0, LPARAM lparam = 0) const {
    return SendMessageW(Handle(), message, wparam, lparam);
  }
  // True while Update runs: notifications then are our own doing.
  bool Updating() const { return updating_; }
  Text WindowText() const;

 private:
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wparam,
                                       LPARAM lparam);
  // Passes WM_COMMAND and WM_NOTIFY of a child on to the child's peer.
  static bool Forward(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
  friend class FormPeer;
  friend void RegisterFormClass();
  friend class GroupBoxPeer;

  Control& control_;
  NativeWindow& window_;
  UniqueWindow handle_;
  WNDPROC original_proc_ = nullptr;
  bool updating_ = false;
};

// The peer of a control of that kind.
std::unique_ptr<NativeControl> MakePeer(Control& control, NativeWindow& window);

// Registers the form's window class once per process.
void RegisterFormClass();

}  // namespace kalora::ui::win32
