#include "ui/Controls.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "runtime/Cp1252.h"
#include "ui/headless/HeadlessScreen.h"

namespace kalora::ui {
namespace {

using namespace std::string_literals;

// Records what a backend would have been told.
class RecordingPeer : public Peer {
 public:
  void Update(Property property) override { updates.push_back(property); }
  std::vector<Property> updates;
};

class ControlsTest : public testing::Test {
 protected:
  HeadlessScreen screen;
  Form form{"Form1", {0, 0, 300, 200}, screen};
  GroupBox mode{&form, "mode", {8, 8, 150, 100}};
  RadioButton by_coo{&mode, "by_coo", {8, 16, 100, 17}};
  RadioButton by_date{&mode, "by_date", {8, 40, 100, 17}};
  CheckBox daily{&mode, "daily", {8, 64, 100, 17}};
  GroupBox other{&form, "other", {160, 8, 130, 100}};
  RadioButton elsewhere{&other, "elsewhere", {8, 16, 100, 17}};
  Edit coo{&form, "coo", {8, 120, 121, 21}, 6};
  ComboBox model{&form, "model", {8, 150, 200, 21}};
  ProgressBar bar{&form, "bar", {8, 180, 200, 17}};
  Button generate{&form, "generate", {210, 150, 80, 25}};
};

TEST_F(ControlsTest, ChildrenKeepTheirOrderAndAreFoundByName) {
  std::vector<std::string> names;
  for (Control* control : AllControls(form)) names.push_back(control->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Form1", "mode", "by_coo", "by_date", "daily",
                                             "other", "elsewhere", "coo", "model", "bar",
                                             "generate"}));
  EXPECT_EQ(FindControl(form, "daily"), &daily);
  EXPECT_EQ(FindControl(form, "missing"), nullptr);
}

TEST_F(ControlsTest, ARadioButtonUnchecksOnlyTheOthersOfItsParent) {
  int coo_clicks = 0;
  by_coo.on_click = [&] { ++coo_clicks; };
  by_date.SetChecked(true);
  elsewhere.SetChecked(true);
  daily.SetChecked(true);

  by_coo.Click();
  EXPECT_EQ(coo_clicks, 1);
  EXPECT_TRUE(by_coo.Checked());
  EXPECT_FALSE(by_date.Checked());
  EXPECT_TRUE(elsewhere.Checked()) << "another group box is another group";
  EXPECT_TRUE(daily.Checked()) << "a check box is no radio button";

  by_coo.SetChecked(false);
  EXPECT_FALSE(by_coo.Checked());
  EXPECT_FALSE(by_date.Checked()) << "unchecking checks nothing else";
  EXPECT_EQ(coo_clicks, 1) << "the program's changes run no event";
}

TEST_F(ControlsTest, ProgressPositionStaysWithinTheRange) {
  struct Case {
    int min, max, position, expected;
  } cases[] = {{0, 4, 2, 2}, {0, 4, 4, 4}, {0, 4, 5, 4}, {0, 4, 100, 4},
               {0, 4, -1, 0}, {2, 9, 0, 2}, {0, 0, 1, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.min << ".." << c.max << " at " << c.position);
    bar.SetRange(c.min, c.max);
    bar.SetPosition(c.position);
    EXPECT_EQ(bar.Position(), c.expected);
  }
  bar.SetRange(0, 10);
  bar.SetPosition(8);
  bar.SetMax(4);
  EXPECT_EQ(bar.Position(), 4) << "a smaller maximum pulls the position down";
}

TEST_F(ControlsTest, TheTypingLimitCutsTypingButNotTheProgramsText) {
  coo.Type("12345678");
  EXPECT_EQ(coo.GetText(), "123456");
  coo.SetText("12345678");
  EXPECT_EQ(coo.GetText(), "12345678");

  Edit unlimited(&form, "unlimited", {}, 0);
  unlimited.Type(Text(300, 'x'));
  EXPECT_EQ(unlimited.GetText().size(), 300u);
}

TEST_F(ControlsTest, AComboBoxShowsTheChosenItem) {
  int changes = 0;
  model.on_change = [&] { ++changes; };
  model.SetItems({"MP-2000 / MP-6000 TH FI", "MP-2100 / MP-3000 / MP-4000 / MP-6100 / MP-7000 TH FI"});
  EXPECT_EQ(model.ItemIndex(), -1);
  EXPECT_EQ(model.GetText(), "");

  model.SetItemIndex(1);
  EXPECT_EQ(model.GetText(), "MP-2100 / MP-3000 / MP-4000 / MP-6100 / MP-7000 TH FI");
  EXPECT_EQ(changes, 0) << "the program's choice runs no event";
  model.SetItemIndex(2);
  EXPECT_EQ(model.ItemIndex(), -1) << "an index past the items chooses nothing";

  model.Select(0);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(model.GetText(), "MP-2000 / MP-6000 TH FI");
  model.SetItems({"one"});
  EXPECT_EQ(model.ItemIndex(), -1) << "new items clear the choice";
}

TEST_F(ControlsTest, OperatorActionsRunTheirEventsAndErrorsReachTheCaller) {
  int clicks = 0;
  generate.on_click = [&] { ++clicks; };
  generate.Click();
  EXPECT_EQ(clicks, 1);
  generate.Click();
  EXPECT_EQ(clicks, 2);
  generate.on_click = [] { throw std::runtime_error("falhou"); };
  EXPECT_THROW(generate.Click(), std::runtime_error);

  daily.Click();
  EXPECT_TRUE(daily.Checked());
  daily.Click();
  EXPECT_FALSE(daily.Checked());

  DatePicker picker(&form, "picker", {});
  picker.PickDate(*MakeDate(2010, 3, 1));
  EXPECT_EQ(picker.GetText(), "01/03/2010");
}

TEST_F(ControlsTest, APeerHearsOfEveryChangeOnce) {
  RecordingPeer peer;
  by_coo.SetPeer(&peer);
  by_coo.SetText("por COO");
  by_coo.SetText("por COO");  // unchanged: nothing to tell
  by_coo.SetVisible(false);
  by_coo.SetBold(true);
  by_coo.SetBounds({1, 2, 3, 4});
  by_date.SetChecked(true);
  by_coo.Click();
  by_coo.Click();  // checked already
  EXPECT_EQ(peer.updates, (std::vector<Property>{Property::Text, Property::Visible,
                                                 Property::Font, Property::Bounds,
                                                 Property::Checked}));
  by_coo.SetPeer(nullptr);
}

TEST_F(ControlsTest, TheHeadlessScreenRecordsBoxesRepaintsAndClosing) {
  bar.SetRange(0, 4);
  bar.SetPosition(2);
  bar.Repaint();
  form.ResetCursor();
  screen.ShowMessageBox({BoxIcon::Information, "Atenção"_cp, "Arquivo gerado"});
  form.Close();
  EXPECT_TRUE(form.Closed());
  EXPECT_EQ(screen.Events(),
            (std::vector<std::string>{"repaint bar 4 2", "cursor Form1",
                                      "box information '"s + "Atenção"_cp + "' 'Arquivo gerado'",
                                      "close Form1"}));
}

}  // namespace
}  // namespace kalora::ui
