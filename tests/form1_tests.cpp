// The real window, created in this process and driven by the messages the
// system sends for mouse and keyboard input.
#include <algorithm>

#include "support.h"
#include "ui/Form1.h"

using namespace std::string_literals;

namespace {

enum : int { kLabel1 = 101, kList1, kLabel2, kLabel3 };

const struct {
  const wchar_t* text;
  int x, y;
} kEntries[] = {{L"320x180", 320, 180},     {L"320 x200", 320, 200},     {L"640 x480", 640, 480},
                {L"720 x480", 720, 480},     {L"720 x576", 720, 576},     {L"800 x600", 800, 600},
                {L"960 x720", 960, 720},     {L"1024 x768", 1024, 768},   {L"1152 x864", 1152, 864},
                {L"1280 x1024", 1280, 1024}, {L"1600 x1024", 1600, 1024}, {L"1600 x1200", 1600, 1200},
                {L"1792 x1344", 1792, 1344}, {L"1856 x1392", 1856, 1392}, {L"1920 x1080", 1920, 1080},
                {L"1920 x1440", 1920, 1440}, {L"2048 x1536", 2048, 1536}};

const std::string kOpenDialog = "RegOpenKeyA Software\\Virgin\\SubSpace\\Dialog\\";
const std::string kOpenOptions = "RegOpenKeyA Software\\Virgin\\SubSpace\\Options";
const std::string kCreateOptions = "RegCreateKeyA Software\\Virgin\\SubSpace\\Options";

// Two writes, each in its own create-set-close and width first, then two reads.
const std::vector<std::string> kSelectionCalls = {
    kCreateOptions, "RegSetValueExA ResolutionX",   "RegCloseKey", kCreateOptions, "RegSetValueExA ResolutionY",
    "RegCloseKey",  kOpenOptions, "RegQueryValueExA ResolutionX", "RegCloseKey",   kOpenOptions,
    "RegQueryValueExA ResolutionY", "RegCloseKey"};

class Form1Test : public GameTest {
 protected:
  void TearDown() override {
    if (form_) DestroyWindow(form_);
    // The window's end posts the quit that would end the next test's loops.
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
    GameTest::TearDown();
  }
  void Open(bool show = false) {
    form_ = Form1::Create(GetModuleHandleW(nullptr));
    ASSERT_TRUE(form_);
    if (!show) return;
    ShowWindow(form_, SW_SHOWNORMAL);
    SetForegroundWindow(form_);
    // Activation comes back from the X server; wait for it, at most 2 s.
    for (DWORD start = GetTickCount(); !GetFocus() && GetTickCount() - start < 2000;) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
      Sleep(5);
    }
  }
  HWND Control(int id) const { return GetDlgItem(form_, id); }
  RECT ChildRect(int id) const {
    RECT r;
    GetWindowRect(Control(id), &r);
    MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&r), 2);
    return r;
  }
  int Selected() const { return static_cast<int>(SendMessageW(Control(kList1), LB_GETCURSEL, 0, 0)); }

  void ClickEntry(int index) {
    HWND list = Control(kList1);
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
  }
  void Key(WPARAM key) {
    SendMessageW(Control(kList1), WM_KEYDOWN, key, 1);
    SendMessageW(Control(kList1), WM_KEYUP, key, 0xC0000001);
  }

  // Each selection writes ResolutionX, then ResolutionY, and shows both.
  void ExpectStored(int index) {
    const auto& e = kEntries[index];
    EXPECT_EQ(Selected(), index);
    EXPECT_EQ(TakeRegistryCalls(), kSelectionCalls) << e.text;
    EXPECT_EQ(GetRaw(kOptions, "ResolutionX"), (Raw{REG_DWORD, Dword(static_cast<std::uint32_t>(e.x))}));
    EXPECT_EQ(GetRaw(kOptions, "ResolutionY"), (Raw{REG_DWORD, Dword(static_cast<std::uint32_t>(e.y))}));
    EXPECT_EQ(Text(Control(kLabel1)),
              L"Current SS Resolution: " + std::to_wstring(e.x) + L"x" + std::to_wstring(e.y));
  }

  HWND form_ = nullptr;
};

TEST_F(Form1Test, StartUpShowsTheStoredSettingsAndWritesNothing) {
  // The load reads the name (its size, then its text), then the width and the height.
  const std::vector<std::string> noName = {kOpenDialog};
  const std::vector<std::string> name = {kOpenDialog, "RegQueryValueExA PlayerName", "RegQueryValueExA PlayerName",
                                         "RegCloseKey"};
  const std::vector<std::string> otherName = {kOpenDialog, "RegQueryValueExA PlayerName", "RegCloseKey"};
  const std::vector<std::string> noSize = {kOpenOptions, kOpenOptions};
  const std::vector<std::string> size = {kOpenOptions, "RegQueryValueExA ResolutionX", "RegCloseKey",
                                         kOpenOptions, "RegQueryValueExA ResolutionY", "RegCloseKey"};
  const struct {
    std::optional<Raw> name;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> size;
    const wchar_t* caption;
    const wchar_t* label1;
    std::vector<std::string> nameCalls, sizeCalls;
  } cases[] = {
      {std::nullopt, std::nullopt, L"Welcome  to Travik", L"Current SS Resolution: 0x0", noName, noSize},
      {Raw{REG_SZ, "Kestra\0"s}, std::pair(640u, 480u), L"Welcome Kestra to Travik",
       L"Current SS Resolution: 640x480", name, size},
      {Raw{REG_EXPAND_SZ, "Kestra\0"s}, std::nullopt, L"Welcome  to Travik", L"Current SS Resolution: 0x0",
       otherName, noSize},
      {Raw{REG_SZ, "J\xF6rg & Co\0"s}, std::pair(0xFFFFFFFFu, 0xFFFF8000u), L"Welcome J\u00F6rg & Co to Travik",
       L"Current SS Resolution: -1x-32768", name, size},
      {std::nullopt, std::pair(70000u, 0x80000000u), L"Welcome  to Travik",
       L"Current SS Resolution: 70000x-2147483648", noName, size},
  };
  for (const auto& c : cases) {
    DeleteKey(kGame);
    if (c.name) SetRaw(kDialog, "PlayerName", c.name->type, c.name->bytes);
    if (c.size) {
      SetRaw(kOptions, "ResolutionX", REG_DWORD, Dword(c.size->first));
      SetRaw(kOptions, "ResolutionY", REG_DWORD, Dword(c.size->second));
    }
    Open();
    EXPECT_EQ(Text(form_), c.caption);
    EXPECT_EQ(Text(Control(kLabel1)), c.label1);
    EXPECT_EQ(Text(Control(kLabel2)), L"Windows Resolution: 1024 x 768");  // the test display
    EXPECT_EQ(Text(Control(kLabel3)), L"\u00BAo\u00BA");
    EXPECT_FALSE(IsWindowVisible(form_)) << "shown only once loaded";
    std::vector<std::string> calls = c.nameCalls;
    calls.insert(calls.end(), c.sizeCalls.begin(), c.sizeCalls.end());
    EXPECT_EQ(TakeRegistryCalls(), calls);
    EXPECT_EQ(KeyExists(kOptions), c.size.has_value());
    EXPECT_EQ(KeyExists(kDialog), c.name.has_value());
    DestroyWindow(form_);
  }
  form_ = nullptr;
}

TEST_F(Form1Test, ListHoldsTheTableInOrderAndHasTheFocus) {
  Open(true);
  ASSERT_EQ(SendMessageW(Control(kList1), LB_GETCOUNT, 0, 0), 17);
  for (int i = 0; i < 17; ++i) {
    wchar_t entry[32] = {};
    SendMessageW(Control(kList1), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, kEntries[i].text);
  }
  EXPECT_EQ(Selected(), LB_ERR);
  EXPECT_EQ(GetFocus(), Control(kList1));
  std::vector<int> tabOrder;
  for (HWND child = GetWindow(form_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP) tabOrder.push_back(GetDlgCtrlID(child));
  EXPECT_EQ(tabOrder, std::vector<int>{kList1});
}

TEST_F(Form1Test, LayoutAt96AndAfterMovingTo144Dpi) {
  // left, top, width, height in pixels; the labels may grow to fit their text.
  const struct {
    int id;
    RECT at96, at144;
  } layout[] = {{kLabel1, {8, 0, 265, 17}, {12, 0, 398, 26}},
                {kList1, {0, 48, 305, 160}, {0, 72, 458, 240}},
                {kLabel2, {8, 24, 169, 17}, {12, 36, 254, 26}},
                {kLabel3, {288, 0, 33, 17}, {432, 0, 50, 26}}};
  Open();
  RECT client;
  GetClientRect(form_, &client);
  EXPECT_EQ(client.right, 306);
  EXPECT_EQ(client.bottom, 209);
  for (UINT dpi : {96u, 144u}) {
    if (dpi == 144) {
      RECT suggested{100, 100, 700, 600};
      SendMessageW(form_, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    }
    for (const auto& row : layout) {
      const RECT& want = dpi == 96 ? row.at96 : row.at144;
      const RECT r = ChildRect(row.id);
      EXPECT_EQ(r.left, want.left) << row.id << " at " << dpi;
      EXPECT_EQ(r.top, want.top) << row.id << " at " << dpi;
      EXPECT_EQ(r.bottom - r.top, want.bottom) << row.id << " at " << dpi;
      if (row.id == kLabel1 || row.id == kLabel2) EXPECT_GE(r.right - r.left, want.right) << row.id;
      else EXPECT_EQ(r.right - r.left, want.right) << row.id << " at " << dpi;
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(Control(kLabel3), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"Times New Roman");
    EXPECT_EQ(font.lfWeight, 700);
    EXPECT_EQ(font.lfHeight, dpi == 96 ? -16 : -24);  // 12 pt
  }
  HDC dc = GetDC(Control(kLabel3));
  SendMessageW(form_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Control(kLabel3)));
  EXPECT_EQ(GetBkColor(dc), 0x0000FFFFu);
  ReleaseDC(Control(kLabel3), dc);
}

// Another program may post a DPI change without the suggested rectangle.
TEST_F(Form1Test, DpiChangeWithoutARectangleKeepsTheWindowInPlace) {
  Open();
  RECT before{};
  GetWindowRect(form_, &before);
  SendMessageW(form_, WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
  RECT after{};
  GetWindowRect(form_, &after);
  EXPECT_EQ(std::pair(after.left, after.top), std::pair(before.left, before.top));
  const RECT list = ChildRect(kList1);
  EXPECT_EQ((std::vector<LONG>{list.left, list.top, list.right, list.bottom}),
            (std::vector<LONG>{0, 72, 458, 312}));  // laid out for 144 dpi
}

// What a timer sees of the about boxes, from inside their message loops.
struct AboutBoxes {
  HWND form = nullptr;
  std::vector<HWND> seen;  // in the order they appeared
  size_t mostAtOnce = 0;
  bool formEnabledWithABox = false;
  int quietTicks = 0;
} g_about;

BOOL CALLBACK AddAboutBox(HWND hwnd, LPARAM list) {
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  if (IsWindowVisible(hwnd) && lstrcmpW(cls, L"#32770") == 0 && Text(hwnd) == L"TRAVIK")
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

// Notes what is open, then closes the box that opened first, as a user
// would close the box they saw first.
void CALLBACK LookAtAboutBoxes(HWND, UINT, UINT_PTR, DWORD) {
  std::vector<HWND> open;
  EnumThreadWindows(GetCurrentThreadId(), AddAboutBox, reinterpret_cast<LPARAM>(&open));
  g_about.mostAtOnce = std::max(g_about.mostAtOnce, open.size());
  if (!open.empty() && IsWindowEnabled(g_about.form)) g_about.formEnabledWithABox = true;
  g_about.quietTicks = open.empty() ? g_about.quietTicks + 1 : 0;
  for (HWND box : open)
    if (std::find(g_about.seen.begin(), g_about.seen.end(), box) == g_about.seen.end()) g_about.seen.push_back(box);
  for (HWND box : g_about.seen)
    if (std::find(open.begin(), open.end(), box) != open.end()) {
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      break;
    }
}

// Clicks on the hotspot that arrive while the about box is open, from a
// quick user or another program, open no second box.
TEST_F(Form1Test, OneAboutBoxAtATime) {
  Open(true);
  TakeRegistryCalls();
  for (int i = 0; i < 3; ++i)
    PostMessageW(form_, WM_COMMAND, MAKEWPARAM(kLabel3, STN_CLICKED), reinterpret_cast<LPARAM>(Control(kLabel3)));
  g_about = AboutBoxes{};
  g_about.form = form_;
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, LookAtAboutBoxes);
  // Until a box has come and gone and nothing more came for a while, at most 5 s.
  MSG msg;
  for (const DWORD start = GetTickCount();
       (g_about.seen.empty() || g_about.quietTicks < 5) && GetTickCount() - start < 5000 &&
       GetMessageW(&msg, nullptr, 0, 0) > 0;)
    DispatchMessageW(&msg);
  KillTimer(nullptr, timer);
  EXPECT_EQ(g_about.mostAtOnce, 1u);
  EXPECT_EQ(g_about.seen.size(), 1u) << "the clicks that came while it was open are not kept for later";
  EXPECT_FALSE(g_about.formEnabledWithABox);
  EXPECT_TRUE(IsWindowEnabled(form_));
  EXPECT_TRUE(TakeRegistryCalls().empty());
}

TEST_F(Form1Test, ClickingEachEntryStoresIt) {
  Open(true);
  TakeRegistryCalls();
  for (int i = 0; i < 17; ++i) {
    ClickEntry(i);
    ExpectStored(i);
  }
}

TEST_F(Form1Test, KeyboardStoresEveryEntryPassed) {
  Open(true);
  ClickEntry(0);
  TakeRegistryCalls();
  for (int i = 1; i <= 3; ++i) Key(VK_DOWN), ExpectStored(i);
  Key(VK_UP), ExpectStored(2);
  Key(VK_END), ExpectStored(16);
  Key(VK_HOME), ExpectStored(0);
  SendMessageW(Control(kList1), WM_CHAR, L'1', 1), ExpectStored(7);  // the next entry starting with "1"
}

TEST(Resources, IconAndVersionRecord) {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC group = FindResourceW(self, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));  // RT_GROUP_ICON
  ASSERT_TRUE(group);
  const auto* icon = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
  EXPECT_EQ((std::vector<int>{icon[4], icon[6], icon[7], icon[12], icon[18] | icon[19] << 8}),
            (std::vector<int>{1, 32, 32, 8, 30001}));  // one 32 x 32 image, 8 bits a pixel, number 30001

  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::vector<BYTE> record(GetFileVersionInfoSizeW(path, nullptr));
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(record.size()), record.data()));
  for (const auto& [name, expected] : {std::pair{L"FileVersion", L"1.00"}, {L"ProductVersion", L"1.00"},
                                       {L"ProductName", L"travik"}, {L"OriginalFilename", L"travik.exe"}}) {
    wchar_t* value = nullptr;
    UINT size = 0;
    VerQueryValueW(record.data(), (L"\\StringFileInfo\\040904B0\\"s + name).c_str(), reinterpret_cast<void**>(&value), &size);
    EXPECT_STREQ(value, expected) << name;
  }
}

}  // namespace
