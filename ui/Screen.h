// What the window library needs of a display: message boxes and immediate repaints.
// The Win32 backend draws; the headless one records what would have been shown.
#pragma once

#include "runtime/Text.h"

namespace kalora::ui {

class Control;
class Form;

enum class BoxIcon { None, Information, Stop };

// A message box with one "OK" button.
struct MessageBox {
  BoxIcon icon = BoxIcon::None;
  Text title;
  Text text;
  bool operator==(const MessageBox&) const = default;
};

class Screen {
 public:
  virtual ~Screen() = default;
  // Shows the box and waits until the operator closes it.
  virtual void ShowMessageBox(const MessageBox& box) = 0;
  // Draws the control (and what it holds) at once.
  virtual void Repaint(const Control& control) = 0;
  // Puts the window's cursor back to the arrow.
  virtual void ResetCursor(const Form& form) = 0;
  // The main window asked to close.
  virtual void CloseRequested(const Form& form) = 0;
};

}  // namespace kalora::ui
