// The native backend, checked through the windows it makes (under Wine on Linux).
#include "ui/win32/Win32Screen.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "runtime/Cp1252.h"
#include "runtime/Errors.h"
#include "tests/ui/Win32Probe.h"

namespace kalora::ui::win32 {
namespace {

using probe::ClassOf;
using probe::FontOf;
using probe::RectInParent;
using probe::TextOf;

class Win32ScreenTest : public testing::Test {
 protected:
  Win32ScreenTest() {
    caption.SetText("Geração de teste"_cp);
    mode.SetText(" Selecione o Modo ");
    mode.SetBold(true);
    by_coo.SetText("por COO");
    by_coo.SetHandCursor(true);
    by_date.SetText("por Data");
    by_date.SetChecked(true);
    daily.SetText("Um Arquivo Por Dia");
    daily.SetBold(true);
    daily.SetChecked(true);
    address.SetText("Endereço:"_cp);
    coo.SetText("123");
    date.SetDate(*MakeDate(2026, 12, 11));
    model.SetItems({"MP-2000 / MP-6000 TH FI", "MP-2100 / MP-3000 TH FI"});
    model.SetItemIndex(0);
    bar.SetRange(0, 4);
    bar.SetPosition(1);
    generate.SetText("Gerar");
    generate.SetBold(true);
    generate.SetHandCursor(true);
    hidden.SetText(" Dados do Cliente ");
    hidden.SetVisible(false);
    screen.SetErrorHandler([this](const std::exception& error) { errors.push_back(error.what()); });
    window = screen.Realise(caption);
  }

  HWND Hwnd(const Control& control) const { return HandleOf(control); }

  Win32Screen screen;
  Form caption{"Form1", {0, 0, 320, 260}, screen};
  GroupBox mode{&caption, "mode", {8, 8, 200, 110}};
  RadioButton by_coo{&mode, "by_coo", {16, 20, 113, 17}};
  RadioButton by_date{&mode, "by_date", {16, 40, 113, 17}};
  CheckBox daily{&mode, "daily", {16, 64, 161, 17}};
  Label address{&mode, "address", {16, 88, 0, 0}};
  Edit coo{&caption, "coo", {8, 128, 121, 21}, 6};
  DatePicker date{&caption, "date", {140, 128, 121, 21}};
  ComboBox model{&caption, "model", {8, 160, 250, 21}};
  ProgressBar bar{&caption, "bar", {8, 192, 300, 17}};
  Button generate{&caption, "generate", {8, 224, 91, 25}};
  GroupBox hidden{&caption, "hidden", {8, 300, 200, 50}};
  std::vector<std::string> errors;
  std::unique_ptr<NativeWindow> window;
};

TEST_F(Win32ScreenTest, EveryControlIsANativeWindowWithItsClassTextPlaceAndVisibility) {
  struct Case {
    const Control& control;
    const wchar_t* window_class;
    std::u16string text;
    RECT rect;  // in the parent's client area
    bool visible;
  } cases[] = {
      {mode, L"Button", u" Selecione o Modo ", {8, 8, 208, 118}, true},
      {by_coo, L"Button", u"por COO", {16, 20, 129, 37}, true},
      {by_date, L"Button", u"por Data", {16, 40, 129, 57}, true},
      {daily, L"Button", u"Um Arquivo Por Dia", {16, 64, 177, 81}, true},
      {coo, L"Edit", u"123", {8, 128, 129, 149}, true},
      {date, L"SysDateTimePick32", u"11/12/2026", {140, 128, 261, 149}, true},
      {model, L"ComboBox", u"MP-2000 / MP-6000 TH FI", {8, 160, 258, 181}, true},
      {bar, L"msctls_progress32", u"", {8, 192, 308, 209}, true},
      {generate, L"Button", u"Gerar", {8, 224, 99, 249}, true},
      {hidden, L"Button", u" Dados do Cliente ", {8, 300, 208, 350}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control.Name());
    HWND handle = Hwnd(c.control);
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(GetParent(handle), Hwnd(*c.control.Parent()));
    EXPECT_EQ(ClassOf(handle), c.window_class);
    if (c.control.GetKind() != Kind::DatePicker) {
      EXPECT_EQ(TextOf(handle), c.text);
    }
    RECT rect = RectInParent(handle);
    EXPECT_EQ(rect.left, c.rect.left);
    EXPECT_EQ(rect.top, c.rect.top);
    EXPECT_EQ(rect.right, c.rect.right);
    if (c.control.GetKind() != Kind::ComboBox) {
      EXPECT_EQ(rect.bottom, c.rect.bottom);
    }
    EXPECT_EQ(IsWindowVisible(handle) != FALSE, c.visible);
  }
  // The closed drop-down list takes its height from the font; the model's 21 is a guide.
  EXPECT_NEAR(RectInParent(Hwnd(model)).bottom - 160, 21, 3);
  // A label without a width is sized to its text.
  RECT label = RectInParent(Hwnd(address));
  EXPECT_EQ(ClassOf(Hwnd(address)), L"Static");
  EXPECT_EQ(TextOf(Hwnd(address)), u"Endereço:");
  EXPECT_EQ(label.left, 16);
  EXPECT_EQ(label.top, 88);
  EXPECT_EQ(label.right - label.left, probe::TextWidth(Hwnd(address), L"Endereço:"));
  EXPECT_GE(label.bottom - label.top, 11);
}

TEST_F(Win32ScreenTest, TheFormIsCentredWithAFixedBorderAndOnlyMinimiseAndSystemMenu) {
  HWND form = Hwnd(caption);
  EXPECT_EQ(ClassOf(form), L"KaloraForm");
  EXPECT_EQ(TextOf(form), u"Geração de teste");
  EXPECT_TRUE(IsWindowVisible(form));
  LONG_PTR style = GetWindowLongPtrW(form, GWL_STYLE);
  EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
            WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD), 0);
  EXPECT_NE(GetWindowLongPtrW(form, GWL_EXSTYLE) & WS_EX_CONTROLPARENT, 0);
  RECT client;
  GetClientRect(form, &client);
  EXPECT_EQ(client.right, 320);
  EXPECT_EQ(client.bottom, 260);
  RECT frame;
  GetWindowRect(form, &frame);
  EXPECT_NEAR(frame.left + frame.right, GetSystemMetrics(SM_CXSCREEN), 1);
  EXPECT_NEAR(frame.top + frame.bottom, GetSystemMetrics(SM_CYSCREEN), 1);
  EXPECT_EQ(GetClassLongPtrW(form, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
}

TEST_F(Win32ScreenTest, StylesFontsAndTabOrderFollowTheModel) {
  struct Case {
    const Control& control;
    LONG_PTR kind_bits;  // under BS_TYPEMASK, CBS_DROPDOWNLIST...
    LONG_PTR mask;
    bool tab_stop;
    bool group;
  } cases[] = {
      {mode, BS_GROUPBOX, BS_TYPEMASK, false, true},
      {by_coo, BS_AUTORADIOBUTTON, BS_TYPEMASK, false, true},  // not the checked one
      {by_date, BS_AUTORADIOBUTTON, BS_TYPEMASK, true, false},
      {daily, BS_AUTOCHECKBOX, BS_TYPEMASK, true, true},
      {coo, ES_AUTOHSCROLL, ES_AUTOHSCROLL, true, false},
      {date, DTS_SHORTDATEFORMAT, DTS_SHORTDATEFORMAT, true, false},
      {model, CBS_DROPDOWNLIST, 0x3, true, false},
      {generate, BS_PUSHBUTTON, BS_TYPEMASK, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.control.Name());
    HWND handle = Hwnd(c.control);
    LONG_PTR style = GetWindowLongPtrW(handle, GWL_STYLE);
    EXPECT_EQ(style & c.mask, c.kind_bits);
    EXPECT_EQ((style & WS_TABSTOP) != 0, c.tab_stop);
    EXPECT_EQ((style & WS_GROUP) != 0, c.group);
    LOGFONTW font = FontOf(handle);
    EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
    EXPECT_EQ(font.lfHeight, -11);
    EXPECT_EQ(font.lfWeight, c.control.Bold() ? FW_BOLD : FW_NORMAL);
  }
  EXPECT_NE(GetWindowLongPtrW(Hwnd(mode), GWL_EXSTYLE) & WS_EX_CONTROLPARENT, 0);
  EXPECT_EQ(SendMessageW(Hwnd(coo), EM_GETLIMITTEXT, 0, 0), 6);
  EXPECT_EQ(SendMessageW(Hwnd(bar), PBM_GETRANGE, FALSE, 0), 4);
  EXPECT_EQ(SendMessageW(Hwnd(bar), PBM_GETPOS, 0, 0), 1);
  EXPECT_EQ(probe::ChildNames(Hwnd(caption), caption),
            (std::vector<std::string>{"mode", "coo", "date", "model", "bar", "generate",
                                      "hidden"}))
      << "the windows' order is the tab order";
  EXPECT_EQ(probe::ChildNames(Hwnd(mode), caption),
            (std::vector<std::string>{"by_coo", "by_date", "daily", "address"}));
}

TEST_F(Win32ScreenTest, AClickOnARadioButtonRunsItsEventAndMovesTheCheck) {
  int clicks = 0;
  by_coo.on_click = [&] {
    ++clicks;
    mode.SetText(" por COO ");
  };
  SendMessageW(Hwnd(by_coo), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(by_coo.Checked());
  EXPECT_FALSE(by_date.Checked());
  EXPECT_EQ(SendMessageW(Hwnd(by_coo), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Hwnd(by_date), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(TextOf(Hwnd(mode)), u" por COO ");
  EXPECT_NE(GetWindowLongPtrW(Hwnd(by_coo), GWL_STYLE) & WS_TABSTOP, 0);

  SendMessageW(Hwnd(by_coo), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1) << "the chosen button again changes nothing";
  by_coo.SetChecked(false);
  by_date.SetChecked(false);
  EXPECT_NE(GetWindowLongPtrW(Hwnd(by_coo), GWL_STYLE) & WS_TABSTOP, 0)
      << "with none checked, Tab reaches the first";
  EXPECT_EQ(GetWindowLongPtrW(Hwnd(by_date), GWL_STYLE) & WS_TABSTOP, 0);
  SendMessageW(Hwnd(daily), BM_CLICK, 0, 0);
  EXPECT_FALSE(daily.Checked());
  EXPECT_TRUE(errors.empty());
}

TEST_F(Win32ScreenTest, ModelChangesReachTheWindows) {
  address.SetText("Data Inicial:");
  coo.SetVisible(false);
  by_coo.SetChecked(true);
  date.SetDate(*MakeDate(2010, 3, 1));
  model.SetItemIndex(1);
  bar.SetMax(9);
  bar.SetPosition(7);
  generate.SetBounds({20, 230, 80, 24});
  generate.SetBold(false);
  caption.SetText("Outra");

  EXPECT_EQ(TextOf(Hwnd(address)), u"Data Inicial:");
  RECT label = RectInParent(Hwnd(address));
  EXPECT_EQ(label.right - label.left, probe::TextWidth(Hwnd(address), L"Data Inicial:"));
  EXPECT_FALSE(IsWindowVisible(Hwnd(coo)));
  EXPECT_EQ(SendMessageW(Hwnd(by_coo), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendMessageW(Hwnd(by_date), BM_GETCHECK, 0, 0), BST_UNCHECKED);
  SYSTEMTIME shown{};
  EXPECT_EQ(SendMessageW(Hwnd(date), DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&shown)),
            GDT_VALID);
  EXPECT_EQ(shown.wDay, 1);
  EXPECT_EQ(shown.wMonth, 3);
  EXPECT_EQ(shown.wYear, 2010);
  EXPECT_EQ(SendMessageW(Hwnd(model), CB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(SendMessageW(Hwnd(bar), PBM_GETRANGE, FALSE, 0), 9);
  EXPECT_EQ(SendMessageW(Hwnd(bar), PBM_GETPOS, 0, 0), 7);
  RECT button = RectInParent(Hwnd(generate));
  EXPECT_EQ(button.left, 20);
  EXPECT_EQ(button.bottom, 254);
  EXPECT_EQ(FontOf(Hwnd(generate)).lfWeight, FW_NORMAL);
  EXPECT_EQ(TextOf(Hwnd(caption)), u"Outra");

  model.SetItems({"a", "b", "c"});
  EXPECT_EQ(SendMessageW(Hwnd(model), CB_GETCOUNT, 0, 0), 3);
  EXPECT_EQ(SendMessageW(Hwnd(model), CB_GETCURSEL, 0, 0), CB_ERR);
}

TEST_F(Win32ScreenTest, OperatorActionsOnTheWindowsReachTheModel) {
  int changes = 0;
  model.on_change = [&] { ++changes; };
  coo.SetText("");
  for (wchar_t digit : std::wstring(L"12345678")) SendMessageW(Hwnd(coo), WM_CHAR, digit, 0);
  EXPECT_EQ(coo.GetText(), "123456") << "typing stops at the limit";
  EXPECT_EQ(TextOf(Hwnd(coo)), u"123456");
  coo.SetText("1234567890");
  EXPECT_EQ(TextOf(Hwnd(coo)), u"1234567890") << "the program's text stays whole";

  SendMessageW(Hwnd(model), CB_SETCURSEL, 1, 0);
  probe::Notify(Hwnd(model), CBN_SELCHANGE);
  EXPECT_EQ(model.ItemIndex(), 1);
  EXPECT_EQ(changes, 1);

  NMDATETIMECHANGE change{};
  change.nmhdr = {Hwnd(date), static_cast<UINT_PTR>(GetDlgCtrlID(Hwnd(date))),
                  static_cast<UINT>(DTN_DATETIMECHANGE)};
  change.dwFlags = GDT_VALID;
  change.st = {2010, 2, 0, 28, 0, 0, 0, 0};
  SendMessageW(GetParent(Hwnd(date)), WM_NOTIFY, change.nmhdr.idFrom,
               reinterpret_cast<LPARAM>(&change));
  EXPECT_EQ(date.GetText(), "28/02/2010");
}

TEST_F(Win32ScreenTest, NoExceptionCrossesTheWindowProcedure) {
  generate.on_click = [] { throw ConvertError("'x' não é um valor inteiro válido"_cp); };
  SendMessageW(Hwnd(generate), BM_CLICK, 0, 0);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "'x' não é um valor inteiro válido"_cp);

  generate.on_click = [] { throw SilentAbort(); };
  SendMessageW(Hwnd(generate), BM_CLICK, 0, 0);
  EXPECT_EQ(errors.size(), 1u) << "a silent abort shows nothing";

  screen.SetErrorHandler([](const std::exception&) { throw std::runtime_error("again"); });
  generate.on_click = [] { throw 42; };
  SendMessageW(Hwnd(generate), BM_CLICK, 0, 0);
  SUCCEED() << "an error of the error handler stops at the window procedure too";
}

// A key as the message loop would see it.
bool Key(HWND form, WPARAM key) {
  MSG message{GetFocus(), WM_KEYDOWN, key, 0, 0, {0, 0}};
  return IsDialogMessageW(form, &message) != FALSE;
}

TEST_F(Win32ScreenTest, TabWalksTheControlsInTheirOrderAndEnterPressesNoButton) {
  int clicks = 0;
  generate.on_click = [&] { ++clicks; };
  SetActiveWindow(Hwnd(caption));
  SetFocus(Hwnd(daily));
  ASSERT_EQ(GetFocus(), Hwnd(daily));
  const Control* expected[] = {&coo, &date, &model, &generate, &by_date, &daily};
  for (const Control* next : expected) {
    SCOPED_TRACE(next->Name());
    EXPECT_TRUE(Key(Hwnd(caption), VK_TAB));
    HWND focus = GetFocus();
    // The date picker and the combo box may hand the focus to a part of their own.
    EXPECT_TRUE(focus == Hwnd(*next) || GetParent(focus) == Hwnd(*next));
  }
  SetFocus(Hwnd(coo));
  Key(Hwnd(caption), VK_RETURN);
  Key(Hwnd(caption), VK_ESCAPE);
  EXPECT_EQ(clicks, 0) << "the window has no default and no cancel button";
  EXPECT_EQ(GetWindowLongPtrW(Hwnd(generate), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
}

TEST_F(Win32ScreenTest, TheHandCursorAndItsReset) {
  LPARAM over_client = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);
  EXPECT_TRUE(SendMessageW(Hwnd(by_coo), WM_SETCURSOR, reinterpret_cast<WPARAM>(Hwnd(by_coo)),
                           over_client));
  EXPECT_EQ(GetCursor(), SystemCursor(IDC_HAND));
  caption.ResetCursor();
  EXPECT_EQ(GetCursor(), SystemCursor(IDC_ARROW));
}

TEST_F(Win32ScreenTest, ARepaintDrawsAtOnce) {
  InvalidateRect(Hwnd(bar), nullptr, TRUE);
  ASSERT_TRUE(GetUpdateRect(Hwnd(bar), nullptr, FALSE));
  bar.Repaint();
  EXPECT_FALSE(GetUpdateRect(Hwnd(bar), nullptr, FALSE));
  InvalidateRect(Hwnd(caption), nullptr, TRUE);
  caption.Repaint();
  EXPECT_FALSE(GetUpdateRect(Hwnd(caption), nullptr, FALSE));
}

TEST_F(Win32ScreenTest, MessageBoxesAreReadAndAnsweredLikeAnOperatorWould) {
  struct Case {
    BoxIcon icon;
    Text title;
    Text text;
  } cases[] = {
      {BoxIcon::Information, "Atenção"_cp, "Arquivo \"C:\\Varnex\\PDV\\NFP\\x.txt\" gerado com sucesso!"},
      {BoxIcon::Stop, "Kalora PDV NFP", "'x' não é uma data válida."_cp},
      {BoxIcon::None, "Kalora PDV NFP", "Falha de Comunicação com  a impressora!"_cp},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    probe::BoxAnswerer answerer;
    screen.ShowMessageBox({c.icon, c.title, c.text});
    probe::SeenBox seen = answerer.Seen();
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.title, Cp1252ToUtf16(c.title));
    EXPECT_EQ(seen.text, Cp1252ToUtf16(c.text));
    EXPECT_EQ(seen.buttons, std::vector<std::u16string>{u"OK"});
    EXPECT_EQ(seen.has_icon, c.icon != BoxIcon::None);
    EXPECT_EQ(seen.owner, Hwnd(caption));
  }
  window.reset();
  probe::BoxAnswerer answerer;
  screen.ShowMessageBox({BoxIcon::None, "Kalora PDV NFP", "sem janela"});
  probe::SeenBox seen = answerer.Seen();
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.owner, nullptr) << "with no window the box is task-modal";
}

TEST_F(Win32ScreenTest, ClosingEndsTheMessageLoop) {
  generate.on_click = [this] { caption.Close(); };
  PostMessageW(Hwnd(generate), BM_CLICK, 0, 0);
  EXPECT_EQ(RunMessageLoop(caption), 0);
  EXPECT_TRUE(caption.Closed());
  EXPECT_EQ(HandleOf(caption), nullptr);
  EXPECT_EQ(HandleOf(generate), nullptr);
  EXPECT_EQ(RunMessageLoop(caption), 0) << "no window, no loop";
}

TEST_F(Win32ScreenTest, TheSystemMenusCloseTellsTheModel) {
  PostMessageW(Hwnd(caption), WM_SYSCOMMAND, SC_CLOSE, 0);
  RunMessageLoop(caption);
  EXPECT_TRUE(caption.Closed());
  EXPECT_EQ(HandleOf(caption), nullptr);
}

}  // namespace
}  // namespace kalora::ui::win32
