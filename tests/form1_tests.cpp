// The real window, created in this process and driven by the messages the
// system sends for mouse and keyboard input.
#include <algorithm>
#include <cstdlib>
#include <cstring>
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

constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE, Windows 10 1703 and later

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
  // The message font at a percentage of Windows' own, 9 pt at 96 dpi; at 0,
  // the one the session had.
  void TextSize(int percent) const {
    NONCLIENTMETRICSW changed = metrics;
    if (percent) changed.lfMessageFont.lfHeight = -12 * percent / 100;
    SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof changed, &changed, 0);
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
    Pump([hwnd] { return GetActiveWindow() == hwnd && GetFocus(); });
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
  // The width of a control's caption and the height of its line, in its font.
  SIZE TextSize(int id) const {
    const std::wstring text = Text(Control(id));
    HDC dc = GetDC(Control(id));
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(Control(id), WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(Control(id), dc);
    return {size.cx, metrics.tmHeight};
  }
  // A part of a window as painted: the colour most of its pixels have, the
  // one farthest from it (the text's), and the last column that is not the
  // first colour.
  struct Paint {
    COLORREF back, text;
    LONG lastColumn;
  };
  static Paint Painted(HWND hwnd, RECT r) {
    HDC dc = GetDC(hwnd);
    std::vector<std::pair<LONG, COLORREF>> pixels;  // column and colour
    std::map<COLORREF, int> counts;
    for (LONG y = r.top; y < r.bottom; ++y)
      for (LONG x = r.left; x < r.right; ++x) ++counts[pixels.emplace_back(x, GetPixel(dc, x, y)).second];
    ReleaseDC(hwnd, dc);
    const auto distance = [](COLORREF a, COLORREF b) {
      return std::abs(GetRValue(a) - GetRValue(b)) + std::abs(GetGValue(a) - GetGValue(b)) +
             std::abs(GetBValue(a) - GetBValue(b));
    };
    Paint paint{0, 0, -1};
    for (const auto& [colour, count] : counts)
      if (count > counts[paint.back]) paint.back = colour;
    paint.text = paint.back;
    for (const auto& [x, colour] : pixels) {
      if (distance(colour, paint.back) > distance(paint.text, paint.back)) paint.text = colour;
      if (colour != paint.back) paint.lastColumn = std::max(paint.lastColumn, x);
    }
    return paint;
  }
  Paint Painted(int id) const {
    RECT r{};
    GetClientRect(Control(id), &r);
    return Painted(Control(id), r);
  }
  // Every control's place and size, and the client area's size.
  std::vector<std::vector<LONG>> Layout() const {
    RECT client{};
    GetClientRect(form_, &client);
    return {Geometry(kLabel1), Geometry(kList1), Geometry(kLabel2), Geometry(kLabel3), {client.right, client.bottom}};
  }
  // Runs the thread's messages, as the program's loop would, until `done`
  // holds or two seconds have passed.
  template <typename Done>
  static void Pump(Done done) {
    for (const DWORD start = GetTickCount(); !done() && GetTickCount() - start < 2000; Sleep(5)) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) TranslateMessage(&msg), DispatchMessageW(&msg);
    }
  }
  // How many of the program's boxes were open when each about box showed.
  std::vector<int> AboutBoxes() {
    std::vector<int> open;
    for (const MessageBoxCall& box : TakeMessageBoxes()) {
      EXPECT_EQ(std::pair(box.owner, box.title), std::pair(form_, std::wstring(kAboutTitle)));
      open.push_back(box.openAtOnce);
      report_.Line("box \"" + probe::Value(box.title) + "\", type " + std::to_string(box.type) + ", owned by the window: " +
                   (box.owner == form_ ? "yes" : "no") + ", open at once: " + std::to_string(box.openAtOnce) + "\n  " +
                   probe::Value(box.text));
    }
    return open;
  }
  Report report_;
  // The two values as stored: their types and numbers, or "none".
  static std::string Stored() {
    std::string stored;
    for (const char* name : {"ResolutionX", "ResolutionY"}) {
      const std::optional<Raw> raw = GetRaw(kOptions, name);
      std::int32_t value = 0;
      if (raw && raw->second.size() == sizeof value) std::memcpy(&value, raw->second.data(), sizeof value);
      stored += !raw ? " none" : raw->first == REG_DWORD && raw->second.size() == 4 ? " " + std::to_string(value) : " other";
    }
    return stored.substr(1);
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
  // The entry at `index` is selected, the event made exactly `calls`, and the
  // registry holds x and y, which Label1 shows.
  void ExpectStored(int index, const Calls& taken, const Calls& calls, int x, int y) {
    EXPECT_EQ(Selected(), index);
    EXPECT_EQ(taken, calls);
    for (const auto& [name, value] : {std::pair("ResolutionX", x), {"ResolutionY", y}})
      EXPECT_EQ(GetRaw(kOptions, name), Raw(REG_DWORD, Dword(static_cast<std::uint32_t>(value))));
    EXPECT_EQ(Text(Control(kLabel1)), L"Current SS Resolution: " + std::to_wstring(x) + L"x" + std::to_wstring(y));
  }

  HWND form_ = nullptr;
};

TEST_F(Form1Test, StartAndCloseShowTheStoredSettingsAndWriteNothing) {
  // The name is read twice, for its size and for its text, when it is text.
  const Calls name = {kOpenDialog, "RegQueryValueExA PlayerName", "RegQueryValueExA PlayerName", "RegCloseKey"};
  const Calls noName = {kOpenDialog};
  const Calls otherName = {kOpenDialog, "RegQueryValueExA PlayerName", "RegCloseKey"};
  const struct {
    const char* what;
    std::optional<Raw> name;
    std::optional<std::pair<std::uint32_t, std::uint32_t>> size;
    const wchar_t* caption;
    const wchar_t* label1;
    Calls nameCalls;
  } cases[] = {
      {"no settings", std::nullopt, std::nullopt, L"Welcome  to Travik", L"Current SS Resolution: 0x0", noName},
      {"a name and 640x480", Raw{REG_SZ, "Kestra\0"s}, std::pair(640u, 480u), L"Welcome Kestra to Travik",
       L"Current SS Resolution: 640x480", name},
      {"a name as REG_EXPAND_SZ", Raw{REG_EXPAND_SZ, "Kestra\0"s}, std::nullopt, L"Welcome  to Travik", L"Current SS Resolution: 0x0", otherName},
      {"a name padded with NULs", Raw{REG_SZ, "Kestra\0\0\0\0"s}, std::nullopt, L"Welcome Kestra to Travik", L"Current SS Resolution: 0x0", name},
      {"a name followed by leftovers", Raw{REG_SZ, "Kestra\0old\0"s}, std::nullopt, L"Welcome Kestra to Travik", L"Current SS Resolution: 0x0", name},
  };
  Report report;
  for (const auto& c : cases) {
    DeleteKey(kGame);
    if (c.name) SetRaw(kDialog, "PlayerName", c.name->first, c.name->second);
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
    const Calls taken = TakeRegistryCalls();
    EXPECT_EQ(taken, calls);
    const bool first = report.text.empty();
    report.Line(std::string("== ") + c.what).State(form_, first ? std::set<std::string>{} : std::set<std::string>{"caption", "label1"}).Registry(taken);
    SendMessageW(std::exchange(form_, nullptr), WM_CLOSE, 0, 0);
    const Calls closing = TakeRegistryCalls();
    EXPECT_EQ(closing, Calls{}) << "closing writes nothing";
    report.Line("closed:").Registry(closing);
    EXPECT_EQ(KeyExists(kOptions), c.size.has_value());
    EXPECT_EQ(KeyExists(kDialog), c.name.has_value());
    report.Line(std::string("Dialog key: ") + (KeyExists(kDialog) ? "yes" : "no") + ", Options key: " + (KeyExists(kOptions) ? "yes" : "no"));
  }
  ExpectApproved("start", report.text);
}

// Where each control stands and in which font: at every DPI, with the
// per-monitor DPI functions of Windows 10 and without them, as on earlier
// Windows, where the fonts are scaled by hand and the frame is the system's;
// and at the player's larger text, set before the start or while the window
// is open, where the whole layout grows in proportion until every caption
// shows whole on its line. The list shows whole rows throughout.
TEST_F(Form1Test, LayoutAtEveryDpiAndTextSize) {
  // At the system's text: left, top, width, height in pixels; the list may
  // be less high, to show only whole rows.
  const struct {
    UINT dpi;
    std::vector<LONG> label1, list1, label2, label3, client;
  } layouts[] = {{96, {8, 0, 265, 17}, {0, 48, 305, 160}, {8, 24, 169, 17}, {288, 0, 33, 17}, {306, 209}},
                 {120, {10, 0, 331, 21}, {0, 60, 381, 200}, {10, 30, 211, 21}, {360, 0, 41, 21}, {383, 261}},
                 {144, {12, 0, 398, 26}, {0, 72, 458, 240}, {12, 36, 254, 26}, {432, 0, 50, 26}, {459, 314}},
                 {192, {16, 0, 530, 34}, {0, 96, 610, 320}, {16, 48, 338, 34}, {576, 0, 66, 34}, {612, 418}}};
  const SystemSettings restore;
  SetRaw(kOptions, "ResolutionX", REG_DWORD, Dword(1920));
  SetRaw(kOptions, "ResolutionY", REG_DWORD, Dword(1080));
  // Windows asks for the size at the new DPI, then suggests a rectangle of
  // that size, which the window takes; anyone can post the change without
  // one, and the window then keeps its place.
  const auto open = [this](UINT dpi) {
    Open();
    SIZE size{};
    EXPECT_TRUE(SendMessageW(form_, kGetDpiScaledSize, dpi, reinterpret_cast<LPARAM>(&size)));
    const RECT suggested{100, 100, 100 + size.cx, 100 + size.cy};
    RECT before{}, after{};
    GetWindowRect(form_, &before);
    if (dpi != 96) SendMessageW(form_, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), dpi == 120 ? 0 : reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(form_, &after);
    const RECT expected = dpi == 120 ? RECT{before.left, before.top, before.left + size.cx, before.top + size.cy}
                                     : dpi == 96 ? before : suggested;
    EXPECT_TRUE(EqualRect(&after, &expected)) << after.right - after.left << "x" << after.bottom - after.top;
  };
  Report report;
  std::string lastFonts;
  for (const bool perMonitor : {true, false}) {
    HidePerMonitorDpi(!perMonitor);
    for (const auto& l : layouts) {
      for (const int percent : {0, 100, 150, 225}) {
        // The test display holds the window at larger text only up to 144 dpi.
        if (percent > 100 && l.dpi > 144) continue;
        SCOPED_TRACE(std::to_string(l.dpi) + " dpi, text at " + std::to_string(percent) + "%, per-monitor functions " +
                     (perMonitor ? "present" : "absent"));
        restore.TextSize(0);
        open(l.dpi);
        if (percent) {
          restore.TextSize(percent);
          SendMessageW(form_, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
          const auto whileOpen = Layout();
          Close();
          open(l.dpi);
          EXPECT_EQ(Layout(), whileOpen) << "set before the start or while open";
        }
        const double scale = Geometry(kLabel3)[0] / static_cast<double>(kLabel3Layout.left);  // pixels a twip
        for (const ControlLayout& row : kLayout) {
          const std::vector<LONG> g = Geometry(row.id);
          EXPECT_NEAR(g[0], row.left * scale, 1) << row.id;
          EXPECT_NEAR(g[1], row.top * scale, 1) << row.id;
          EXPECT_TRUE(g[2] >= row.width * scale - 1 && g[0] + g[2] <= row.maxRight * scale + 1) << row.id;
          EXPECT_TRUE(row.id == kList1 ? g[3] <= row.height * scale + 1 : std::abs(g[3] - row.height * scale) <= 1)
              << row.id;
        }
        const auto row = static_cast<LONG>(SendMessageW(Control(kList1), LB_GETITEMHEIGHT, 0, 0));
        RECT rows{};
        GetClientRect(Control(kList1), &rows);
        EXPECT_EQ(rows.bottom % row, 0) << "rows of " << row << " in " << rows.bottom << " pixels";
        for (const int id : {kLabel1, kLabel2}) {
          const SIZE text = TextSize(id);
          const std::vector<LONG> label = Geometry(id);
          EXPECT_TRUE(text.cx <= label[2] && text.cy <= label[3])
              << id << ": " << text.cx << "x" << text.cy << " in " << label[2] << "x" << label[3];
        }
        NONCLIENTMETRICSW system{};  // at the test display's 96 dpi
        system.cbSize = sizeof system;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof system, &system, 0);
        for (const int id : {kLabel1, kList1, kLabel2}) {
          EXPECT_EQ(Font(id).lfHeight, MulDiv(system.lfMessageFont.lfHeight, static_cast<int>(l.dpi), 96)) << id;
          EXPECT_STREQ(Font(id).lfFaceName, system.lfMessageFont.lfFaceName) << id;
        }
        const LOGFONTW label3 = Font(kLabel3);  // Times New Roman, 12 pt, bold, ANSI, whatever the text size
        EXPECT_STREQ(label3.lfFaceName, L"Times New Roman");
        EXPECT_EQ((std::vector<LONG>{label3.lfHeight, label3.lfWeight, label3.lfCharSet}),
                  (std::vector<LONG>{-MulDiv(12, static_cast<int>(l.dpi), 72), 700, 0}));
        const std::vector<LONG> client = Layout().back();
        // At the system's text and Windows' own, the window is as laid out;
        // only a label may widen for its caption.
        if (percent == 0) {
          EXPECT_EQ(Geometry(kLabel1), l.label1);
          EXPECT_EQ(Geometry(kLabel2), l.label2);
        }
        if (percent <= 100) {
          EXPECT_EQ(Geometry(kLabel3), l.label3);
          std::vector<LONG> list = Geometry(kList1);
          EXPECT_TRUE(list[3] <= l.list1[3] && list[3] > l.list1[3] - row) << list[3] << " high";
          list[3] = l.list1[3];
          EXPECT_EQ(list, l.list1);
        }
        // Only without them is the frame what the window really has here.
        if (!perMonitor || l.dpi == 96) {
          EXPECT_NEAR(client[0], kClientWidthTwips * scale, 1);
          EXPECT_NEAR(client[1], kClientHeightTwips * scale, 1);
          if (percent <= 100) {
            EXPECT_EQ(client, l.client);
          }
        }
        const probe::Fields state = TestWindowState(form_);
        const std::set<std::string> fonts = {Field(state, "font.label1"), Field(state, "font.list1"), Field(state, "font.label2")};
        std::string line = "fonts:";
        for (const std::string& font : fonts) line += " " + font + " |";
        if (line + " label3 " + Field(state, "font.label3") != lastFonts) report.Line(lastFonts = line + " label3 " + Field(state, "font.label3"));
        line = std::to_string(l.dpi) + " dpi, text " + (percent ? std::to_string(percent) + "%" : "as the system's") + (perMonitor ? "" : ", no per-monitor functions") + ":";
        for (const char* name : {"label1", "list1", "label2", "label3"}) line += std::string(" ") + name + " " + Field(state, std::string("rect.") + name) + " |";
        report.Line(perMonitor && l.dpi != 96 ? line.substr(0, line.size() - 2) : line + " client " + Field(state, "client"));
        Close();
      }
    }
  }
  ExpectApproved("layout", report.text);
  // A suggestion of another size, as where the monitor is smaller, is taken too.
  Open();
  const RECT other{50, 60, 450, 400};
  RECT taken{};
  SendMessageW(form_, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&other));
  GetWindowRect(form_, &taken);
  EXPECT_TRUE(EqualRect(&taken, &other));
  Close();
  // The longest caption, which no label holds at any text size, runs up to
  // Label3 and is cut there, on its one line.
  SetRaw(kOptions, "ResolutionX", REG_DWORD, Dword(0x80000000u));
  SetRaw(kOptions, "ResolutionY", REG_DWORD, Dword(0x80000000u));
  restore.TextSize(225);
  Open(true);
  UpdateWindow(form_);
  const std::vector<LONG> label1 = Geometry(kLabel1);
  EXPECT_GT(TextSize(kLabel1).cx, label1[2]);
  EXPECT_EQ(label1[0] + label1[2], Geometry(kLabel3)[0]);
  EXPECT_GE(Painted(kLabel1).lastColumn, label1[2] - 4) << "the text runs to the label's end";
}

// The window and its labels in the system's colours, whatever they are; the
// hotspot yellow with black text; in the default colours and in high
// contrast.
TEST_F(Form1Test, WindowIsPaintedInItsColours) {
  const SystemSettings restore;
  // For its elements: button face, button text, window text, window.
  const COLORREF kHighContrast[] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0)};
  for (const bool highContrast : {false, true}) {
    SCOPED_TRACE(highContrast ? "high contrast" : "default colours");
    if (highContrast) SetSysColors(4, restore.elements, kHighContrast);
    Open(true);
    UpdateWindow(form_);
    const COLORREF face = GetSysColor(COLOR_BTNFACE), text = GetSysColor(COLOR_WINDOWTEXT);
    RECT client{};
    GetClientRect(form_, &client);
    const RECT between{0, Geometry(kLabel2)[1] + Geometry(kLabel2)[3], client.right, Geometry(kList1)[1]};
    const Paint window = Painted(form_, between);
    EXPECT_EQ(std::pair(window.back, window.lastColumn), std::pair(face, LONG{-1})) << "the window's background";
    for (const int id : {kLabel1, kLabel2}) EXPECT_EQ(std::pair(Painted(id).back, Painted(id).text), std::pair(face, text));
    EXPECT_EQ(std::pair(Painted(kLabel3).back, Painted(kLabel3).text), std::pair(COLORREF{0x0000FFFF}, COLORREF{0}));
    Close();
  }
}

// Each click on the hotspot shows the about box, a quick second one, which
// comes as a double click, too; clicks that arrive while it is open, from a
// quick user or another program, stack no second box. The system menu holds
// one About item, whether it is Windows' menu or Wine's, and the item shows
// the box by its command and by Alt+Space, A.
TEST_F(Form1Test, AboutBoxFromTheHotspotAndTheSystemMenu) {
  Open(true);
  TakeRegistryCalls();
  const auto click = [this](std::initializer_list<UINT> messages) {
    for (const UINT message : messages)
      PostMessageW(Control(kLabel3), message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(5, 5));
    Pump([] {
      MSG msg;
      return !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
    });
  };
  report_.Line("== three clicks at once");
  click({WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDOWN, WM_LBUTTONUP});
  EXPECT_EQ(AboutBoxes(), std::vector<int>{1}) << "three clicks at once";
  report_.Line("== a click, then a quick second one");
  click({WM_LBUTTONDOWN, WM_LBUTTONUP});
  click({WM_LBUTTONDBLCLK, WM_LBUTTONUP});
  EXPECT_EQ(AboutBoxes(), (std::vector<int>{1, 1})) << "a click, then a quick second one";
  const Calls calls = TakeRegistryCalls();
  EXPECT_EQ(calls, Calls{});
  report_.Registry(calls);
  Close();

  for (const bool windows : {false, true}) {
    SCOPED_TRACE(windows ? "Windows' system menu" : "Wine's system menu");
    WindowsSystemMenu(windows);
    Open(true);
    HMENU menu = GetSystemMenu(form_, FALSE);
    std::vector<UINT> about;
    std::string items = windows ? "== Windows' system menu:" : "== Wine's system menu:";
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      wchar_t item[64] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), item, 64, MF_BYPOSITION);
      items += " " + (item[0] ? probe::Value(item) : "-") + " |";
      if (std::wstring(item).find(L"About") != std::wstring::npos) about.push_back(GetMenuItemID(menu, i));
      if (std::wstring(item) == kAboutMenuItem) {
        EXPECT_EQ(i, GetMenuItemCount(menu) - 1) << "ours comes last";
      }
    }
    ASSERT_EQ(about.size(), 1u) << "one About item";
    report_.Line(items).Line("by its command");
    SendMessageW(form_, WM_SYSCOMMAND, about[0], 0);
    EXPECT_EQ(AboutBoxes(), std::vector<int>{1}) << "by its command";
    INPUT keys[6] = {};
    const WORD sequence[6][2] = {{VK_MENU, 0}, {VK_SPACE, 0}, {VK_SPACE, KEYEVENTF_KEYUP}, {VK_MENU, KEYEVENTF_KEYUP},
                                 {'A', 0},     {'A', KEYEVENTF_KEYUP}};
    for (int i = 0; i < 6; ++i) keys[i].type = INPUT_KEYBOARD, keys[i].ki.wVk = sequence[i][0], keys[i].ki.dwFlags = sequence[i][1];
    report_.Line("by Alt+Space, A");
    SendInput(6, keys, sizeof keys[0]);
    std::vector<int> shown;
    Pump([&] {
      const std::vector<int> more = AboutBoxes();
      shown.insert(shown.end(), more.begin(), more.end());
      return !shown.empty();
    });
    EXPECT_EQ(shown, std::vector<int>{1}) << "by Alt+Space, A";
    Close();
  }
  ExpectApproved("about", report_.text);
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

// The list holds the table, in order, with nothing selected at the start, and
// is the only control the keyboard reaches; a click on an entry stores it.
TEST_F(Form1Test, ClickingEachEntryStoresIt) {
  Open(true);
  TakeRegistryCalls();
  ASSERT_EQ(SendMessageW(Control(kList1), LB_GETCOUNT, 0, 0), 17);
  EXPECT_EQ(Selected(), LB_ERR);
  for (HWND child = GetWindow(form_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    const bool tabStop = GetWindowLongPtrW(child, GWL_STYLE) & WS_TABSTOP;
    EXPECT_EQ(tabStop, child == Control(kList1));
  }
  Report report;
  for (int i = 0; i < 17; ++i) {
    wchar_t entry[32] = {};
    SendMessageW(Control(kList1), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
    EXPECT_STREQ(entry, kEntries[i].text);
    ClickEntry(i);
    const Calls calls = TakeRegistryCalls();
    report.Line("== " + probe::Value(entry)).State(form_, {"selected", "label1"}).Line("stored: " + Stored()).Registry(calls);
    ExpectStored(i, calls, kSelection, kEntries[i].x, kEntries[i].y);
  }
  ExpectApproved("entries", report.text);
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
  Report report;
  for (const auto& c : cases) {
    const auto index = static_cast<int>(SendMessageW(Control(kList1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(c.entry)));
    TakeRegistryCalls();
    g_failing = c.failing;
    ClickEntry(index);
    g_failing = 0;
    stored = c.stored.value_or(stored);
    SCOPED_TRACE(testing::Message() << "entry " << c.entry << ", failing " << c.failing);
    const Calls calls = TakeRegistryCalls();
    report.Line("== \"" + probe::Value(c.entry) + "\"" + (c.failing == LB_GETTEXT ? ", its text not given" : c.failing ? ", its length not given" : "")).State(form_, {"label1"}).Line("stored: " + Stored()).Registry(calls);
    ExpectStored(index, calls, c.stored ? kSelection : kReadSize, stored.first, stored.second);
  }
  ExpectApproved("not_two_numbers", report.text);
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
