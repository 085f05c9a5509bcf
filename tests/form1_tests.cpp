// The real window, created in this process and driven by the messages the
// system sends for mouse and keyboard input.
#include <algorithm>
#include <cstdlib>
#include <map>

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

// The system's colours and metrics, as they were, again at the end of a test
// that changes them for this session.
struct SystemSettings {
  NONCLIENTMETRICSW metrics{};
  int elements[4] = {COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_WINDOWTEXT, COLOR_WINDOW};
  COLORREF colours[4] = {};
  SystemSettings() {
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    for (int i = 0; i < 4; ++i) colours[i] = GetSysColor(elements[i]);
  }
  ~SystemSettings() {
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    SetSysColors(4, elements, colours);
  }
};

class Form1Test : public GameTest {
 protected:
  void TearDown() override {
    Close();  // the window's end posts the quit that would end the next test's loops
    GameTest::TearDown();
  }
  void Open(bool show = false) {
    form_ = Form1::Create(GetModuleHandleW(nullptr));
    ASSERT_TRUE(form_);
    if (!show) return;
    ShowWindow(form_, SW_SHOWNORMAL);
    Activate(form_);
  }
  void Close() {
    DestroyWindow(std::exchange(form_, nullptr));
    MSG quit;
    PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  }
  // Activation comes back from the X server; wait for it and the focus it
  // brings, at most 2 s.
  static void Activate(HWND hwnd) {
    SetForegroundWindow(hwnd);
    for (DWORD start = GetTickCount(); (GetActiveWindow() != hwnd || !GetFocus()) && GetTickCount() - start < 2000;
         Sleep(5)) {
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
  LOGFONTW Font(int id) const {
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(Control(id), WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
  }
  // The width of a control's text in its font, as the system draws it.
  LONG TextWidth(int id) const {
    const std::wstring text = Text(Control(id));
    HDC dc = GetDC(Control(id));
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(Control(id), WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(Control(id), dc);
    return size.cx;
  }
  // A control's colours as painted: the one most of its pixels have, and its
  // text's, the one farthest from it.
  std::pair<COLORREF, COLORREF> PaintedColours(int id) const {
    RECT r{};
    GetClientRect(Control(id), &r);
    HDC dc = GetDC(Control(id));
    std::map<COLORREF, int> counts;
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x) ++counts[GetPixel(dc, x, y)];
    ReleaseDC(Control(id), dc);
    const auto distance = [](COLORREF a, COLORREF b) {
      return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
             std::abs(GetBValue(a) - GetBValue(b));
    };
    const COLORREF back = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                            return a.second < b.second;
                          })->first;
    COLORREF text = back;
    for (const auto& [colour, count] : counts)
      if (distance(colour, back) > distance(text, back)) text = colour;
    return {back, text};
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
    SendMessageW(std::exchange(form_, nullptr), WM_CLOSE, 0, 0);
    EXPECT_EQ(TakeRegistryCalls(), Calls{}) << "closing writes nothing";
    EXPECT_EQ(KeyExists(kOptions), c.size.has_value());
    EXPECT_EQ(KeyExists(kDialog), c.name.has_value());
  }
}

TEST_F(Form1Test, ListHoldsTheTableInOrderAndIsTheOnlyTabStop) {
  Open();
  ASSERT_EQ(SendMessageW(Control(kList1), LB_GETCOUNT, 0, 0), 17);
  for (int i = 0; i < 17; ++i) {
    wchar_t entry[32] = {};
    SendMessageW(Control(kList1), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, kEntries[i].text);
  }
  EXPECT_EQ(Selected(), LB_ERR);
  std::vector<int> tabStops;
  for (HWND child = GetWindow(form_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP) tabStops.push_back(GetDlgCtrlID(child));
  EXPECT_EQ(tabStops, std::vector<int>{kList1});
}

// Where each control stands and in which font, at each DPI, with the
// per-monitor DPI functions of Windows 10 and without them, as on earlier
// Windows, where the fonts are scaled by hand and the frame is the system's.
TEST_F(Form1Test, LayoutAndFontsAtEveryDpi) {
  // left, top, width, height in pixels; the list may be less high, to show
  // only whole rows.
  const struct {
    UINT dpi;
    std::vector<LONG> label1, list1, label2, label3;
    std::pair<LONG, LONG> client;
  } layouts[] = {{96, {8, 0, 265, 17}, {0, 48, 305, 160}, {8, 24, 169, 17}, {288, 0, 33, 17}, {306, 209}},
                 {120, {10, 0, 331, 21}, {0, 60, 381, 200}, {10, 30, 211, 21}, {360, 0, 41, 21}, {383, 261}},
                 {144, {12, 0, 398, 26}, {0, 72, 458, 240}, {12, 36, 254, 26}, {432, 0, 50, 26}, {459, 314}},
                 {192, {16, 0, 530, 34}, {0, 96, 610, 320}, {16, 48, 338, 34}, {576, 0, 66, 34}, {612, 418}}};
  NONCLIENTMETRICSW system{};  // at the test display's 96 dpi
  system.cbSize = sizeof system;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof system, &system, 0);
  for (const bool perMonitor : {true, false}) {
    HidePerMonitorDpi(!perMonitor);
    Open();
    for (const auto& l : layouts) {
      SCOPED_TRACE(std::to_string(l.dpi) + " dpi, per-monitor functions " + (perMonitor ? "present" : "absent"));
      // Anyone can post the change, even without the suggested rectangle; the
      // window then stays where it is.
      RECT suggested{100, 100, 700, 600}, before{}, after{};
      GetWindowRect(form_, &before);
      if (l.dpi != 96)
        SendMessageW(form_, WM_DPICHANGED, MAKEWPARAM(l.dpi, l.dpi), l.dpi == 120 ? 0 : reinterpret_cast<LPARAM>(&suggested));
      GetWindowRect(form_, &after);
      if (l.dpi == 120) {
        EXPECT_EQ(std::pair(after.left, after.top), std::pair(before.left, before.top));
      }
      EXPECT_EQ(Geometry(kLabel1), l.label1);
      EXPECT_EQ(Geometry(kLabel2), l.label2);
      EXPECT_EQ(Geometry(kLabel3), l.label3);
      std::vector<LONG> list = Geometry(kList1);
      const auto row = static_cast<LONG>(SendMessageW(Control(kList1), LB_GETITEMHEIGHT, 0, 0));
      RECT rows{};
      GetClientRect(Control(kList1), &rows);
      EXPECT_EQ(rows.bottom % row, 0) << "rows of " << row << " in " << rows.bottom << " pixels";
      EXPECT_TRUE(list[3] <= l.list1[3] && list[3] > l.list1[3] - row) << list[3] << " high";
      list[3] = l.list1[3];
      EXPECT_EQ(list, l.list1);
      for (int id : {kLabel1, kList1, kLabel2}) {
        const LOGFONTW font = Font(id);
        EXPECT_EQ(font.lfHeight, MulDiv(system.lfMessageFont.lfHeight, static_cast<int>(l.dpi), 96)) << id;
        EXPECT_STREQ(font.lfFaceName, system.lfMessageFont.lfFaceName) << id;
      }
      const LOGFONTW label3 = Font(kLabel3);  // Times New Roman, 12 pt, bold, ANSI
      EXPECT_STREQ(label3.lfFaceName, L"Times New Roman");
      EXPECT_EQ((std::vector<LONG>{label3.lfHeight, label3.lfWeight, label3.lfCharSet}),
                (std::vector<LONG>{-MulDiv(12, static_cast<int>(l.dpi), 72), 700, 0}));
      // Only without them is the frame what the window really has here.
      RECT client{};
      GetClientRect(form_, &client);
      if (!perMonitor || l.dpi == 96) {
        EXPECT_EQ(std::pair(client.right, client.bottom), l.client);
      }
    }
    Close();
  }
}

// A caption wider than its laid-out label, from a long stored resolution or a
// player's larger text, widens the label until it fits, Label1 up to where
// Label3 begins and Label2 up to the window's edge; beyond that it is cut.
TEST_F(Form1Test, LabelsWidenUntilTheirCaptionsFit) {
  const struct {
    UINT dpi;
    LONG fontHeight;  // of the message font at 96 dpi; 0 keeps the system's
    std::uint32_t resolution;
    bool label1Fits, label2Fits;
  } cases[] = {
      {96, 0, 0x80000000u, true, true},  // the longest caption, in the system's font
      {96, -15, 0x80000000u, false, true},
      {144, -15, 1, true, true},
      {144, -15, 0x80000000u, false, true},
      {96, -24, 1, false, false},
  };
  const SystemSettings restore;
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.dpi) + " dpi, font " + std::to_string(c.fontHeight) + ", " +
                 std::to_string(static_cast<std::int32_t>(c.resolution)));
    NONCLIENTMETRICSW metrics = restore.metrics;
    if (c.fontHeight) metrics.lfMessageFont.lfHeight = c.fontHeight;
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    SetRaw(kOptions, "ResolutionX", REG_DWORD, Dword(c.resolution));
    SetRaw(kOptions, "ResolutionY", REG_DWORD, Dword(c.resolution));
    Open();
    if (c.dpi != 96) SendMessageW(form_, WM_DPICHANGED, MAKEWPARAM(c.dpi, c.dpi), 0);
    RECT client{};
    GetClientRect(form_, &client);
    const std::vector<LONG> label1 = Geometry(kLabel1), label2 = Geometry(kLabel2);
    const LONG label3Left = Geometry(kLabel3)[0], text1 = TextWidth(kLabel1), text2 = TextWidth(kLabel2);
    EXPECT_EQ(text1 <= label1[2], c.label1Fits) << text1 << " of " << label1[2] << " pixels";
    EXPECT_EQ(text2 <= label2[2], c.label2Fits) << text2 << " of " << label2[2] << " pixels";
    // A caption that does not fit has all the room there is, and no more.
    EXPECT_LE(label1[0] + label1[2], label3Left);
    EXPECT_LE(label2[0] + label2[2], client.right);
    if (!c.label1Fits) {
      EXPECT_EQ(label1[0] + label1[2], label3Left);
    }
    if (!c.label2Fits) {
      EXPECT_EQ(label2[0] + label2[2], client.right);
    }
    Close();
  }
}

// Label1 and Label2 in the system's colours, whatever they are; the hotspot
// yellow with black text, in the default colours and in high contrast.
TEST_F(Form1Test, LabelsArePaintedInTheirColours) {
  const SystemSettings restore;
  // For its elements: button face, button text, window text, window.
  const COLORREF kHighContrast[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0)};
  for (const bool highContrast : {false, true}) {
    SCOPED_TRACE(highContrast ? "high contrast" : "default colours");
    if (highContrast) SetSysColors(4, restore.elements, kHighContrast);
    Open(true);
    UpdateWindow(form_);
    const auto system = std::pair(GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(PaintedColours(kLabel1), system);
    EXPECT_EQ(PaintedColours(kLabel2), system);
    EXPECT_EQ(PaintedColours(kLabel3), std::pair(COLORREF{0x0000FFFF}, COLORREF{0}));
    Close();
  }
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

// Clicks on the hotspot, as the system delivers them to it: each that
// arrives while no box is open opens one, a quick second click too, which
// comes as a double click; those that arrive while it is open, from a quick
// user or another program, open none, now or later.
TEST_F(Form1Test, EachClickOnTheHotspotShowsOneAboutBox) {
  const struct {
    const char* what;
    std::vector<std::vector<UINT>> bursts;  // each posted once the box before it has gone
  } cases[] = {
      {"three clicks at once", {{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP}}},
      {"a click, then a quick second one", {{WM_LBUTTONDOWN, WM_LBUTTONUP}, {WM_LBUTTONDBLCLK, WM_LBUTTONUP}}},
  };
  Open(true);
  TakeRegistryCalls();
  for (const auto& c : cases) {
    auto post = [this](const std::vector<UINT>& burst) {
      g_about.quietTicks = 0;
      for (UINT message : burst)
        PostMessageW(Control(kLabel3), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, 5));
    };
    g_about = {};
    post(c.bursts[0]);
    size_t posted = 1;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, LookAtAboutBoxes);
    MSG msg;  // until the last box has come and gone and no other came, at most 5 s
    for (const DWORD start = GetTickCount(); (posted < c.bursts.size() || g_about.quietTicks < 5) &&
                                             GetTickCount() - start < 5000 && GetMessageW(&msg, nullptr, 0, 0) > 0;) {
      DispatchMessageW(&msg);
      if (posted < c.bursts.size() && g_about.shown == static_cast<int>(posted) && g_about.open == 0)
        post(c.bursts[posted++]);
    }
    KillTimer(nullptr, timer);
    EXPECT_EQ(std::pair(g_about.mostAtOnce, g_about.shown), std::pair(size_t{1}, static_cast<int>(c.bursts.size())))
        << c.what;
    EXPECT_TRUE(IsWindowEnabled(form_));
  }
  EXPECT_TRUE(TakeRegistryCalls().empty());
}

// The list has the keyboard whenever the window is active: after a start,
// and after one minimised, active or not, and a restore; and after switching
// away and back.
TEST_F(Form1Test, ListHasTheFocusWheneverTheWindowIsActive) {
  HWND other = CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                               nullptr, nullptr, nullptr);
  for (const int show : {SW_SHOWNORMAL, SW_SHOWMINIMIZED, SW_SHOWMINNOACTIVE}) {
    Open();
    ShowWindow(form_, show);
    SendMessageW(form_, WM_SYSCOMMAND, SC_RESTORE, 0);
    Activate(form_);
    EXPECT_EQ(GetFocus(), Control(kList1)) << "after a start with " << show << " and a restore";
    Activate(other);
    EXPECT_NE(GetFocus(), Control(kList1));
    Activate(form_);
    EXPECT_EQ(GetFocus(), Control(kList1)) << "back from another window";
    Close();
  }
  DestroyWindow(other);
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

// What List1 gives the handler, steered: a message whose answer fails.
UINT g_failing = 0;
WNDPROC g_listProc = nullptr;
LRESULT CALLBACK FailingList(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == g_failing) return LB_ERR;
  return CallWindowProcW(g_listProc, hwnd, message, wParam, lParam);
}

// Entries that another program adds to the list and that do not give two
// 32-bit numbers, and entries whose text cannot be read, store nothing:
// Label1 still shows what is stored, and the program goes on.
TEST_F(Form1Test, EntriesThatAreNotTwoNumbersStoreNothing) {
  const struct {
    const wchar_t* entry;
    UINT failing;
    std::optional<std::pair<int, int>> stored;
  } cases[] = {
      {L"1024 768", 0, {}},         {L"1024 x", 0, {}},           {L"x768", 0, {}},
      {L"1O24 x768", 0, {}},        {L"1024 x76B", 0, {}},        {L"", 0, {}},
      {L"4294968320 x768", 0, {}},  {L"1024 x4294967896", 0, {}}, {L"2147483648 x1", 0, {}},
      {L"1024 x768", LB_GETTEXT, {}}, {L"1024 x768", LB_GETTEXTLEN, {}},
      {L"2147483647 x1 x2", 0, std::pair(INT32_MAX, 1)},  // the largest, and the rest ignored
  };
  SetRaw(kOptions, "ResolutionX", REG_DWORD, Dword(640));
  SetRaw(kOptions, "ResolutionY", REG_DWORD, Dword(480));
  Open(true);
  g_listProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(Control(kList1), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FailingList)));
  std::pair stored(640, 480);
  for (const auto& c : cases) {
    const auto index = static_cast<int>(SendMessageW(Control(kList1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.entry)));
    TakeRegistryCalls();
    g_failing = c.failing;
    ClickEntry(index);
    g_failing = 0;
    EXPECT_EQ(Selected(), index);
    EXPECT_EQ(TakeRegistryCalls(), c.stored ? kSelection : kReadSize) << c.entry << ", failing " << c.failing;
    stored = c.stored.value_or(stored);
    EXPECT_EQ(GetRaw(kOptions, "ResolutionX"), (Raw{REG_DWORD, Dword(static_cast<std::uint32_t>(stored.first))}));
    EXPECT_EQ(GetRaw(kOptions, "ResolutionY"), (Raw{REG_DWORD, Dword(static_cast<std::uint32_t>(stored.second))}));
    EXPECT_EQ(Text(Control(kLabel1)),
              L"Current SS Resolution: " + std::to_wstring(stored.first) + L"x" + std::to_wstring(stored.second));
  }
}

// The window carries the program's icon, in its frame and its caption.
TEST_F(Form1Test, WindowCarriesTheProgramsIcon) {
  Open();
  HANDLE own = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0,
                          LR_DEFAULTSIZE | LR_SHARED);  // the one loaded before, if any
  ASSERT_TRUE(own);
  EXPECT_EQ(reinterpret_cast<HANDLE>(GetClassLongPtrW(form_, GCLP_HICON)), own);
  EXPECT_TRUE(GetClassLongPtrW(form_, GCLP_HICONSM));
}

}  // namespace
