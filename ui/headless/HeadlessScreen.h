// A screen without a display: it records what would have been shown, for tests and the
// console program. A message box is answered at once.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Screen.h"

namespace kalora::ui {

class HeadlessScreen : public Screen {
 public:
  // One line per event, e.g. "box information 'Atenção' 'Arquivo ...'" (texts in
  // Windows-1252) or "repaint ProgressBar1 4 2" (maximum and position at the repaint).
  const std::vector<std::string>& Events() const { return events_; }
  const std::vector<MessageBox>& Boxes() const { return boxes_; }
  void Clear();

  // Called for every box and every repaint, e.g. to show them on a terminal.
  std::function<void(const MessageBox&)> on_box;
  std::function<void(const Control&)> on_repaint;

  void ShowMessageBox(const MessageBox& box) override;
  void Repaint(const Control& control) override;
  void ResetCursor(const Form& form) override;
  void CloseRequested(const Form& form) override;

 private:
  std::vector<std::string> events_;
  std::vector<MessageBox> boxes_;
};

}  // namespace kalora::ui
