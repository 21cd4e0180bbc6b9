// The window library of the program: one small class per kind of control.
//
// A control holds its properties and its events; it is the truth about its state. A backend
// may give it a native peer (a Win32 window): the control tells the peer what changed, and the
// peer reports what the operator did through the same methods a test calls (Click, Type,
// Select, PickDate), so that events fire the same way with or without a screen.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/Dates.h"
#include "runtime/Text.h"

namespace kalora::ui {

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Bounds&) const = default;
};

enum class Kind { Form, GroupBox, Label, Edit, RadioButton, CheckBox, DatePicker, ComboBox,
                  ProgressBar, Button };

// What a peer must bring up to date.
enum class Property { Text, Bounds, Visible, Font, Checked, Date, Items, Selection, Range,
                      Position };

class Control;

class Peer {
 public:
  virtual ~Peer() = default;
  virtual void Update(Property property) = 0;
};

using Event = std::function<void()>;

class Control {
 public:
  Control(Control* parent, std::string name, Bounds bounds);
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  virtual Kind GetKind() const = 0;

  const std::string& Name() const { return name_; }
  Control* Parent() const { return parent_; }
  // Children in the order they were made, which is also their tab order.
  const std::vector<Control*>& Children() const { return children_; }

  // The caption of a form, group box, label, button, radio button or check box; the text of
  // an edit box; the chosen item's text of a drop-down list.
  virtual Text GetText() const { return text_; }
  void SetText(const Text& text);

  const Bounds& GetBounds() const { return bounds_; }
  void SetBounds(Bounds bounds);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  // Shown on screen: visible itself and every parent visible.
  bool Showing() const;

  bool Bold() const { return bold_; }
  // The bold variant of the window's font.
  void SetBold(bool bold);
  // Shows the hand pointer while the mouse is over it.
  bool HandCursor() const { return hand_cursor_; }
  void SetHandCursor(bool hand) { hand_cursor_ = hand; }

  void SetPeer(Peer* peer) { peer_ = peer; }
  Peer* GetPeer() const { return peer_; }

 protected:
  void Changed(Property property);
  Text text_;

 private:
  Control* parent_;
  std::string name_;
  Bounds bounds_;
  std::vector<Control*> children_;
  bool visible_ = true;
  bool bold_ = false;
  bool hand_cursor_ = false;
  Peer* peer_ = nullptr;
};

class Screen;

// The window. Its bounds are those of its client area.
class Form : public Control {
 public:
  Form(std::string name, Bounds client, Screen& screen)
      : Control(nullptr, std::move(name), client), screen_(screen) {}
  Kind GetKind() const override { return Kind::Form; }

  Screen& GetScreen() const { return screen_; }
  // Draws the window again at once, without waiting for the event loop.
  void Repaint();
  void ResetCursor();
  // Asks the window to close; the event loop ends when the main window closes.
  void Close();
  bool Closed() const { return closed_; }

 private:
  Screen& screen_;
  bool closed_ = false;
};

class GroupBox : public Control {
 public:
  using Control::Control;
  Kind GetKind() const override { return Kind::GroupBox; }
};

class Label : public Control {
 public:
  using Control::Control;
  Kind GetKind() const override { return Kind::Label; }
};

class Edit : public Control {
 public:
  Edit(Control* parent, std::string name, Bounds bounds, int max_length)
      : Control(parent, std::move(name), bounds), max_length_(max_length) {}
  Kind GetKind() const override { return Kind::Edit; }
  // The typing limit; texts set by the program are kept whole.
  int MaxLength() const { return max_length_; }
  // The operator typed a whole new text: it is cut to the typing limit.
  void Type(const Text& text);

 private:
  int max_length_;
};

class Button : public Control {
 public:
  using Control::Control;
  Kind GetKind() const override { return Kind::Button; }
  void Click();
  Event on_click;
};

class CheckBox : public Control {
 public:
  using Control::Control;
  Kind GetKind() const override { return Kind::CheckBox; }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  // The operator toggled it.
  void Click();

 private:
  bool checked_ = false;
};

class RadioButton : public Control {
 public:
  using Control::Control;
  Kind GetKind() const override { return Kind::RadioButton; }
  bool Checked() const { return checked_; }
  // Checking one radio button unchecks the others of its parent.
  void SetChecked(bool checked);
  // The operator chose it: it becomes checked and on_click runs.
  void Click();
  Event on_click;

 private:
  bool checked_ = false;
};

// A date picker showing dates only, in the form dd/mm/yyyy.
class DatePicker : public Control {
 public:
  DatePicker(Control* parent, std::string name, Bounds bounds);
  Kind GetKind() const override { return Kind::DatePicker; }
  Text GetText() const override { return FormatDate(date_); }
  Date GetDate() const { return date_; }
  void SetDate(Date date);
  // The operator picked a date.
  void PickDate(Date date) { SetDate(date); }

 private:
  Date date_;
};

// A drop-down list without typing.
class ComboBox : public Control {
 public:
  using Control::Control;
  Kind GetKind() const override { return Kind::ComboBox; }
  Text GetText() const override;
  const std::vector<Text>& Items() const { return items_; }
  void SetItems(std::vector<Text> items);
  // -1 when nothing is chosen.
  int ItemIndex() const { return item_index_; }
  void SetItemIndex(int index);
  // The operator chose an item: on_change runs.
  void Select(int index);
  Event on_change;

 private:
  std::vector<Text> items_;
  int item_index_ = -1;
};

class ProgressBar : public Control {
 public:
  using Control::Control;
  Kind GetKind() const override { return Kind::ProgressBar; }
  int Min() const { return min_; }
  int Max() const { return max_; }
  int Position() const { return position_; }
  void SetRange(int min, int max);
  void SetMax(int max) { SetRange(min_, max); }
  // Kept within the range: a position above the maximum stands at the maximum.
  void SetPosition(int position);
  // Draws the bar again at once.
  void Repaint();

 private:
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
};

// Every control of a window, in depth-first order (the window first).
std::vector<Control*> AllControls(Control& root);
// The control of that name inside root, or nullptr.
Control* FindControl(Control& root, const std::string& name);

}  // namespace kalora::ui
