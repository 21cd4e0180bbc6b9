#include "ui/Controls.h"

#include <algorithm>

#include "ui/Screen.h"

namespace kalora::ui {

Control::Control(Control* parent, std::string name, Bounds bounds)
    : parent_(parent), name_(std::move(name)), bounds_(bounds) {
  if (parent_ != nullptr) parent_->children_.push_back(this);
}

void Control::Changed(Property property) {
  if (peer_ != nullptr) peer_->Update(property);
}

void Control::SetText(const Text& text) {
  if (text == text_) return;
  text_ = text;
  Changed(Property::Text);
}

void Control::SetBounds(Bounds bounds) {
  bounds_ = bounds;
  Changed(Property::Bounds);
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  Changed(Property::Visible);
}

void Control::SetBold(bool bold) {
  if (bold == bold_) return;
  bold_ = bold;
  Changed(Property::Font);
}

bool Control::Showing() const {
  for (const Control* control = this; control != nullptr; control = control->parent_) {
    if (!control->visible_) return false;
  }
  return true;
}

void Form::Repaint() { screen_.Repaint(*this); }

void Form::ResetCursor() { screen_.ResetCursor(*this); }

void Form::Close() {
  closed_ = true;
  screen_.CloseRequested(*this);
}

void Edit::Type(const Text& text) {
  SetText(max_length_ > 0 ? text.substr(0, static_cast<size_t>(max_length_)) : text);
}

void Button::Click() {
  if (on_click) on_click();
}

void CheckBox::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  Changed(Property::Checked);
}

void CheckBox::Click() { SetChecked(!checked_); }

void RadioButton::SetChecked(bool checked) {
  if (checked && Parent() != nullptr) {
    for (Control* sibling : Parent()->Children()) {
      auto* radio = dynamic_cast<RadioButton*>(sibling);
      if (radio != nullptr && radio != this && radio->checked_) {
        radio->checked_ = false;
        radio->Changed(Property::Checked);
      }
    }
  }
  if (checked == checked_) return;
  checked_ = checked;
  Changed(Property::Checked);
}

void RadioButton::Click() {
  SetChecked(true);
  if (on_click) on_click();
}

DatePicker::DatePicker(Control* parent, std::string name, Bounds bounds)
    : Control(parent, std::move(name), bounds), date_(*MakeDate(1899, 12, 30)) {}

void DatePicker::SetDate(Date date) {
  if (date == date_) return;
  date_ = date;
  Changed(Property::Date);
}

Text ComboBox::GetText() const {
  return item_index_ >= 0 ? items_[static_cast<size_t>(item_index_)] : Text();
}

void ComboBox::SetItems(std::vector<Text> items) {
  items_ = std::move(items);
  item_index_ = -1;
  Changed(Property::Items);
}

void ComboBox::SetItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) index = -1;
  if (index == item_index_) return;
  item_index_ = index;
  Changed(Property::Selection);
}

void ComboBox::Select(int index) {
  SetItemIndex(index);
  if (on_change) on_change();
}

void ProgressBar::SetRange(int min, int max) {
  min_ = min;
  max_ = std::max(min, max);
  position_ = std::clamp(position_, min_, max_);
  Changed(Property::Range);
}

void ProgressBar::SetPosition(int position) {
  position_ = std::clamp(position, min_, max_);
  Changed(Property::Position);
}

void ProgressBar::Repaint() {
  for (Control* control = this; control != nullptr; control = control->Parent()) {
    if (auto* form = dynamic_cast<Form*>(control)) {
      form->GetScreen().Repaint(*this);
      return;
    }
  }
}

std::vector<Control*> AllControls(Control& root) {
  std::vector<Control*> all = {&root};
  for (Control* child : root.Children()) {
    auto below = AllControls(*child);
    all.insert(all.end(), below.begin(), below.end());
  }
  return all;
}

Control* FindControl(Control& root, const std::string& name) {
  for (Control* control : AllControls(root)) {
    if (control->Name() == name) return control;
  }
  return nullptr;
}

}  // namespace kalora::ui
