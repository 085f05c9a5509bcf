// Selecting resolutions and opening the about box in the real window, driven
// by the same mouse and keyboard messages the controls get from the system.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "support/TestRegistry.h"
#include "support/WindowTest.h"
#include "ui/Form1.h"
#include "ui/Form1Logic.h"

using namespace std::string_literals;
using TestRegistry::DwordBytes;
using TestRegistry::Raw;
using TestRegistry::kDialog;
using TestRegistry::kGame;
using TestRegistry::kOptions;
using WindowTest::Text;

namespace {

class Form1EventsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestRegistry::DeleteTree(kGame);
    form_ = Form1::Create(GetModuleHandleW(nullptr));
    ASSERT_TRUE(form_);
    ShowWindow(form_, SW_SHOWNORMAL);
    SetForegroundWindow(form_);
    WindowTest::Pump(50);
    list_ = GetDlgItem(form_, kList1);
  }
  void TearDown() override {
    DestroyWindow(form_);
    WindowTest::Pump();
    TestRegistry::DeleteTree(kGame);
  }

  // A left click in the middle of an entry, scrolled into view first.
  void ClickEntry(int index) {
    SendMessageW(list_, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    RECT item{};
    SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(list_, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list_, WM_LBUTTONUP, 0, at);
    WindowTest::Pump();
  }

  void Key(WPARAM key) {
    SendMessageW(list_, WM_KEYDOWN, key, 1);
    SendMessageW(list_, WM_KEYUP, key, 0xC0000001);
    WindowTest::Pump();
  }

  std::wstring Selected() const {
    const auto index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
    return index == LB_ERR ? L"" : kResolutionTable[index];
  }

  // The stored pair is exactly the selected entry, and Label1 shows it.
  void ExpectStoredSelection() const {
    const auto size = ParseResolutionEntry(Selected());
    ASSERT_TRUE(size) << "nothing selected";
    EXPECT_EQ(TestRegistry::GetRaw(kOptions, "ResolutionX"),
              (Raw{REG_DWORD, DwordBytes(static_cast<std::uint32_t>(size->first))}));
    EXPECT_EQ(TestRegistry::GetRaw(kOptions, "ResolutionY"),
              (Raw{REG_DWORD, DwordBytes(static_cast<std::uint32_t>(size->second))}));
    EXPECT_EQ(Text(GetDlgItem(form_, kLabel1)), ResolutionCaption(size->first, size->second));
  }

  HWND form_ = nullptr;
  HWND list_ = nullptr;
};

TEST_F(Form1EventsTest, ClickingEachEntryStoresIt) {
  EXPECT_FALSE(TestRegistry::KeyExists(kOptions));
  for (int i = 0; i < static_cast<int>(std::size(kResolutionTable)); ++i) {
    ClickEntry(i);
    EXPECT_EQ(Selected(), kResolutionTable[i]);
    ExpectStoredSelection();
  }
}

TEST_F(Form1EventsTest, KeyboardMovesWriteEveryEntryPassed) {
  ClickEntry(0);
  for (int step = 1; step <= 4; ++step) {
    Key(VK_DOWN);
    EXPECT_EQ(Selected(), kResolutionTable[step]);
    ExpectStoredSelection();
  }
  Key(VK_UP);
  EXPECT_EQ(Selected(), L"720 x480");
  ExpectStoredSelection();
  Key(VK_END);
  EXPECT_EQ(Selected(), L"2048 x1536");
  ExpectStoredSelection();
  Key(VK_HOME);
  EXPECT_EQ(Selected(), L"320x180");
  ExpectStoredSelection();
  Key(VK_NEXT);
  ExpectStoredSelection();
  Key(VK_HOME);
  SendMessageW(list_, WM_CHAR, L'1', 1);  // jumps to the next entry starting with "1"
  WindowTest::Pump();
  EXPECT_EQ(Selected(), L"1024 x768");
  ExpectStoredSelection();
}

TEST_F(Form1EventsTest, SelectionKeepsTheGameSettingsItDoesNotOwn) {
  TestRegistry::SetRaw("Software\\Virgin\\SubSpace\\Dialog", "PlayerName", REG_SZ, "Kestra\0"s);
  TestRegistry::SetRaw(kOptions, "Windowed", REG_DWORD, DwordBytes(1));
  TestRegistry::SetRaw(kOptions + "\\Keys", "Fire", REG_BINARY, "\x20\x00"s);
  ClickEntry(7);
  ExpectStoredSelection();
  EXPECT_EQ(TestRegistry::GetRaw("Software\\Virgin\\SubSpace\\Dialog", "PlayerName"),
            (Raw{REG_SZ, "Kestra\0"s}));
  EXPECT_EQ(TestRegistry::GetRaw(kOptions, "Windowed"), (Raw{REG_DWORD, DwordBytes(1)}));
  EXPECT_EQ(TestRegistry::GetRaw(kOptions + "\\Keys", "Fire"), (Raw{REG_BINARY, "\x20\x00"s}));
}

// Runs `inspect` on the about box while it is open (the box's modal loop runs
// on this thread), then closes it the way `close` says.
struct AboutBox {
  std::wstring title, text;
  bool ownedByForm = false, formDisabled = false, hasIcon = false;
  int buttons = 0;
  std::wstring buttonText;
};

AboutBox* g_box = nullptr;
HWND g_form = nullptr;

void CALLBACK InspectAboutBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = WindowTest::FindOwnWindow(L"#32770", L"TRAVIK");
  if (!box) return;  // not up yet
  KillTimer(nullptr, timer);
  g_box->title = Text(box);
  g_box->text = WindowTest::MessageBoxText(box);
  g_box->ownedByForm = GetWindow(box, GW_OWNER) == g_form;
  g_box->formDisabled = !IsWindowEnabled(g_form);
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    const auto style = GetWindowLongPtrW(child, GWL_STYLE);
    if (lstrcmpiW(cls, L"Button") == 0 && (style & WS_VISIBLE)) {
      ++g_box->buttons;
      g_box->buttonText = Text(child);
    }
    if (lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON &&
        SendMessageW(child, STM_GETICON, 0, 0) != 0)
      g_box->hasIcon = true;
  }
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Form1EventsTest, ClickOnHotspotShowsTheAboutBoxEachTime) {
  HWND label3 = GetDlgItem(form_, kLabel3);
  for (int click = 0; click < 2; ++click) {
    AboutBox box;
    g_box = &box;
    g_form = form_;
    SetTimer(nullptr, 0, 20, InspectAboutBox);
    SendMessageW(label3, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    SendMessageW(label3, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));  // returns once the box is closed
    EXPECT_EQ(box.title, L"TRAVIK") << click;
    EXPECT_EQ(box.text, kAboutText);
    EXPECT_TRUE(box.ownedByForm);
    EXPECT_TRUE(box.formDisabled) << "the main window takes no input while the box is open";
    EXPECT_EQ(box.buttons, 1);
    EXPECT_EQ(box.buttonText, L"OK");
    EXPECT_FALSE(box.hasIcon);
    EXPECT_TRUE(IsWindowEnabled(form_));
  }
  EXPECT_FALSE(TestRegistry::KeyExists(kGame)) << "the about box changes nothing";
}

}  // namespace
