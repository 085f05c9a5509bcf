// The real window, created in this process and driven by the messages the
// system sends for mouse and keyboard input.
#include <algorithm>

#include "support.h"
#include "ui/Form1.h"
#include "ui/Form1Design.h"

using namespace std::string_literals;

namespace {

const struct {
  const wchar_t* text;
  int x, y;
} kEntries[] = {{L"320x180", 320, 180},     {L"320 x200", 320, 200},     {L"640 x480", 640, 480},
                {L"720 x480", 720, 480},     {L"720 x576", 720, 576},     {L"800 x600", 800, 600},
                {L"960 x720", 960, 720},     {L"1024 x768", 1024, 768},   {L"1152 x864", 1152, 864},
                {L"1280 x1024", 1280, 1024}, {L"1600 x1024", 1600, 1024}, {L"1600 x1200", 1600, 1200},
                {L"1792 x1344", 1792, 1344}, {L"1856 x1392", 1856, 1392}, {L"1920 x1080", 1920, 1080},
                {L"1920 x1440", 1920, 1440}, {L"2048 x1536", 2048, 1536}};

const std::string kOpenOptions = "RegOpenKeyA Software\\Virgin\\SubSpace\\Options";
const std::string kCreateOptions = "RegCreateKeyA Software\\Virgin\\SubSpace\\Options";
const Calls kReadSize = {kOpenOptions, "RegQueryValueExA ResolutionX", "RegCloseKey",
                         kOpenOptions, "RegQueryValueExA ResolutionY", "RegCloseKey"};
const Calls kReadNoSize = {kOpenOptions, kOpenOptions};  // no key to query
// Two writes, each in its own create-set-close and width first, then two reads.
const Calls kSelection = {kCreateOptions, "RegSetValueExA ResolutionX", "RegCloseKey",
                          kCreateOptions, "RegSetValueExA ResolutionY", "RegCloseKey",
                          kOpenOptions,   "RegQueryValueExA ResolutionX", "RegCloseKey",
                          kOpenOptions,   "RegQueryValueExA ResolutionY", "RegCloseKey"};

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
    for (DWORD start = GetTickCount(); !GetFocus() && GetTickCount() - start < 2000; Sleep(5)) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
  }
  HWND Control(int id) const { return GetDlgItem(form_, id); }
  // left, top, width, height in the client area
  std::vector<LONG> Geometry(int id) const {
    RECT r;
    GetWindowRect(Control(id), &r);
    MapWindowPoints(nullptr, form_, reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
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
    SendMessageW(Control(kList1), WM_KEYUP, key, MAKELPARAM(1, 0xC000));  // was down, now released
  }

  // The entry is selected, stored and shown, with exactly the calls that takes.
  void ExpectStored(int index) {
    const auto& e = kEntries[index];
    EXPECT_EQ(Selected(), index);
    EXPECT_EQ(TakeRegistryCalls(), kSelection) << e.text;
    EXPECT_EQ(GetRaw(kOptions, "ResolutionX"), (Raw{REG_DWORD, Dword(static_cast<std::uint32_t>(e.x))}));
    EXPECT_EQ(GetRaw(kOptions, "ResolutionY"), (Raw{REG_DWORD, Dword(static_cast<std::uint32_t>(e.y))}));
    EXPECT_EQ(Text(Control(kLabel1)),
              L"Current SS Resolution: " + std::to_wstring(e.x) + L"x" + std::to_wstring(e.y));
  }

  HWND form_ = nullptr;
};

TEST_F(Form1Test, StartAndCloseShowTheStoredSettingsAndWriteNothing) {
  // The name is read twice, for its size and for its text, when it is text.
  const Calls name = {kOpenDialog, "RegQueryValueExA PlayerName", "RegQueryValueExA PlayerName", "RegCloseKey"};
  const Calls noName = {kOpenDialog};
  const Calls otherName = {kOpenDialog, "RegQueryValueExA PlayerName", "RegCloseKey"};
  const struct {
    std::optional<Raw> name;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> size;
    const wchar_t* caption;
    const wchar_t* label1;
    Calls nameCalls;
  } cases[] = {
      {std::nullopt, std::nullopt, L"Welcome  to Travik", L"Current SS Resolution: 0x0", noName},
      {Raw{REG_SZ, "Kestra\0"s}, std::pair(640u, 480u), L"Welcome Kestra to Travik",
       L"Current SS Resolution: 640x480", name},
      {Raw{REG_EXPAND_SZ, "Kestra\0"s}, std::nullopt, L"Welcome  to Travik", L"Current SS Resolution: 0x0", otherName},
      {Raw{REG_SZ, "J\xF6rg & Co\0"s}, std::pair(0xFFFFFFFFu, 0xFFFF8000u), L"Welcome J\u00F6rg & Co to Travik",
       L"Current SS Resolution: -1x-32768", name},
      {std::nullopt, std::pair(70000u, 0x80000000u), L"Welcome  to Travik",
       L"Current SS Resolution: 70000x-2147483648", noName},
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
    Calls calls = c.nameCalls;
    const Calls& reads = c.size ? kReadSize : kReadNoSize;
    calls.insert(calls.end(), reads.begin(), reads.end());
    EXPECT_EQ(TakeRegistryCalls(), calls);
    SendMessageW(form_, WM_CLOSE, 0, 0);
    EXPECT_EQ(TakeRegistryCalls(), Calls{}) << "closing writes nothing";
    EXPECT_EQ(KeyExists(kOptions), c.size.has_value());
    EXPECT_EQ(KeyExists(kDialog), c.name.has_value());
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
  std::vector<int> tabStops;
  for (HWND child = GetWindow(form_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP) tabStops.push_back(GetDlgCtrlID(child));
  EXPECT_EQ(tabStops, std::vector<int>{kList1});
}

TEST_F(Form1Test, LayoutAt96AndAfterMovingTo144Dpi) {
  // left, top, width, height in pixels; the labels may grow to fit their text.
  const struct {
    int id;
    std::vector<LONG> at96, at144;
  } layout[] = {{kLabel1, {8, 0, 265, 17}, {12, 0, 398, 26}},
                {kList1, {0, 48, 305, 160}, {0, 72, 458, 240}},
                {kLabel2, {8, 24, 169, 17}, {12, 36, 254, 26}},
                {kLabel3, {288, 0, 33, 17}, {432, 0, 50, 26}}};
  Open();
  RECT client;
  GetClientRect(form_, &client);
  EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(306L, 209L));
  for (UINT dpi : {96u, 144u}) {
    RECT suggested{100, 100, 700, 600};
    if (dpi == 144) SendMessageW(form_, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    for (const auto& row : layout) {
      std::vector<LONG> want = dpi == 96 ? row.at96 : row.at144, got = Geometry(row.id);
      if (row.id == kLabel1 || row.id == kLabel2) got[2] = std::min(got[2], want[2]);  // wide enough
      EXPECT_EQ(got, want) << row.id << " at " << dpi;
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(Control(kLabel3), WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, L"Times New Roman");
    EXPECT_EQ(std::pair(font.lfWeight, font.lfHeight), std::pair(700L, dpi == 96 ? -16L : -24L));  // 12 pt bold
  }
  HDC dc = GetDC(Control(kLabel3));
  SendMessageW(form_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Control(kLabel3)));
  EXPECT_EQ(GetBkColor(dc), 0x0000FFFFu);
  ReleaseDC(Control(kLabel3), dc);
}

// Another program may post a DPI change without the suggested rectangle.
TEST_F(Form1Test, DpiChangeWithoutARectangleKeepsTheWindowInPlace) {
  Open();
  RECT before{}, after{};
  GetWindowRect(form_, &before);
  SendMessageW(form_, WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
  GetWindowRect(form_, &after);
  EXPECT_EQ(std::pair(after.left, after.top), std::pair(before.left, before.top));
  EXPECT_EQ(Geometry(kList1), (std::vector<LONG>{0, 72, 458, 240}));  // laid out for 144 dpi
}

// What a timer sees of the about boxes from inside their message loops.
struct {
  size_t mostAtOnce, open;
  int shown, quietTicks;
} g_about;

BOOL CALLBACK CloseAboutBox(HWND hwnd, LPARAM open) {
  wchar_t cls[16] = {};
  GetClassNameW(hwnd, cls, 16);
  if (IsWindowVisible(hwnd) && lstrcmpW(cls, L"#32770") == 0 && Text(hwnd) == L"TRAVIK")
    ++*reinterpret_cast<size_t*>(open), PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
  return TRUE;
}

void CALLBACK LookAtAboutBoxes(HWND, UINT, UINT_PTR, DWORD) {
  size_t open = 0;
  EnumThreadWindows(GetCurrentThreadId(), CloseAboutBox, reinterpret_cast<LPARAM>(&open));
  g_about.mostAtOnce = std::max(g_about.mostAtOnce, open);
  g_about.shown += open > 0 && g_about.open == 0;
  g_about.open = open;
  g_about.quietTicks = open > 0 ? 0 : g_about.quietTicks + 1;
}

// Clicks on the hotspot that arrive while the about box is open, from a
// quick user or another program, open no second box, now or later.
TEST_F(Form1Test, OneAboutBoxAtATime) {
  Open(true);
  TakeRegistryCalls();
  for (int i = 0; i < 3; ++i)
    PostMessageW(form_, WM_COMMAND, MAKEWPARAM(kLabel3, STN_CLICKED), reinterpret_cast<LPARAM>(Control(kLabel3)));
  g_about = {};
  const UINT_PTR timer = SetTimer(nullptr, 0, 30, LookAtAboutBoxes);
  MSG msg;  // until a box has come and gone and no other came, at most 5 s
  for (const DWORD start = GetTickCount(); (g_about.shown == 0 || g_about.quietTicks < 5) &&
                                           GetTickCount() - start < 5000 && GetMessageW(&msg, nullptr, 0, 0) > 0;)
    DispatchMessageW(&msg);
  KillTimer(nullptr, timer);
  EXPECT_EQ(std::pair(g_about.mostAtOnce, g_about.shown), std::pair(size_t{1}, 1));
  EXPECT_TRUE(IsWindowEnabled(form_));
  EXPECT_TRUE(TakeRegistryCalls().empty());
}

TEST_F(Form1Test, ClickingEachEntryStoresIt) {
  Open(true);
  TakeRegistryCalls();
  for (int i = 0; i < 17; ++i) ClickEntry(i), ExpectStored(i);
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

}  // namespace
