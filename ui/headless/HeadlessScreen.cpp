#include "ui/headless/HeadlessScreen.h"

#include "ui/Controls.h"

namespace kalora::ui {

namespace {
const char* IconName(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::Information: return "information";
    case BoxIcon::Stop: return "stop";
    case BoxIcon::None: break;
  }
  return "plain";
}
}  // namespace

void HeadlessScreen::Clear() {
  events_.clear();
  boxes_.clear();
}

void HeadlessScreen::ShowMessageBox(const MessageBox& box) {
  boxes_.push_back(box);
  events_.push_back(std::string("box ") + IconName(box.icon) + " '" + box.title + "' '" +
                    box.text + "'");
  if (on_box) on_box(box);
}

void HeadlessScreen::Repaint(const Control& control) {
  std::string event = "repaint " + control.Name();
  if (auto* bar = dynamic_cast<const ProgressBar*>(&control)) {
    event += " " + std::to_string(bar->Max()) + " " + std::to_string(bar->Position());
  }
  events_.push_back(event);
  if (on_repaint) on_repaint(control);
}

void HeadlessScreen::ResetCursor(const Form& form) { events_.push_back("cursor " + form.Name()); }

void HeadlessScreen::CloseRequested(const Form& form) { events_.push_back("close " + form.Name()); }

}  // namespace kalora::ui
