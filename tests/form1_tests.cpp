// The real window, created in this process and driven by the messages the
// system sends for mouse and keyboard input. What it shows is compared whole
// with the approved files in tests/approved/; what must hold whatever the
// numbers are is computed here.
#include <algorithm>
#include <cstring>
#include <sstream>

#include "support.h"
#include "ui/Form1.h"
#include "ui/Form1Design.h"

using namespace std::string_literals;

namespace {

constexpr UINT kGetDpiScaledSize = 0x02E4;  // WM_GETDPISCALEDSIZE, Windows 10 1703 and later

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

std::vector<LONG> Numbers(const std::string& text) {
  std::istringstream in(text);
  std::vector<LONG> numbers;
  for (LONG n = 0; in >> n;) numbers.push_back(n);
  return numbers;
}

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
  // A control's left, top, width and height in the client area, or the
  // client area's size (id 0), in a reading of the window's state.
  static std::vector<LONG> Place(int id, const probe::Fields& state) {
    for (const auto& [control, name] : probe::kControlNames)
      if (control == id) return Numbers(Field(state, "rect."s + name));
    return Numbers(Field(state, "client"));
  }
  std::vector<LONG> Place(int id) const { return Place(id, TestWindowState(form_)); }
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
  // Runs the thread's messages, as the program's loop would, until `done`
  // holds or two seconds have passed.
  template <typename Done>
  static void Pump(Done done) {
    for (const DWORD start = GetTickCount(); !done() && GetTickCount() - start < 2000; Sleep(5)) {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) TranslateMessage(&msg), DispatchMessageW(&msg);
    }
  }
  // Reports the message boxes shown since the last call, each text only
  // where it differs from the last one reported; how many there were.
  size_t Boxes() {
    const std::vector<MessageBoxCall> boxes = TakeMessageBoxes();
    for (const MessageBoxCall& box : boxes) {
      report_.Line("box \"" + probe::Value(box.title) + "\", type " + std::to_string(box.type) + ", owned by the window: " +
                   (box.owner == form_ ? "yes" : "no") + ", open at once: " + std::to_string(box.openAtOnce));
      if (box.text != std::exchange(lastBoxText_, box.text)) report_.Line("  " + probe::Value(box.text));
    }
    return boxes.size();
  }
  std::wstring lastBoxText_;
  void ClickEntry(int index) {
    HWND list = Control(kList1);
    SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
  }
  // After a click: the selection, Label1, the two values as stored and the
  // registry calls the click made.
  void ReportClick(const std::string& what) {
    std::string stored = "stored:";
    for (const char* name : {"ResolutionX", "ResolutionY"}) {
      const std::optional<Raw> raw = GetRaw(kOptions, name);
      std::int32_t value = 0;
      const bool dword = raw && raw->first == REG_DWORD && raw->second.size() == sizeof value;
      if (dword) std::memcpy(&value, raw->second.data(), sizeof value);
      stored += dword ? " " + std::to_string(value) : raw ? " other" : " none";
    }
    report_.Line("== " + what).State(form_, {"selected", "label1"}).Line(stored).Registry();
  }

  Report report_;
  HWND form_ = nullptr;
};

// The whole window as loaded, then, for each set of the game's settings, the
// greeting, the stored resolution and the registry calls, which only read;
// closing the window writes nothing.
TEST_F(Form1Test, StartAndCloseShowTheStoredSettingsAndWriteNothing) {
  const struct {
    const char* what;
    std::optional<Raw> name;
    bool size;
  } cases[] = {
      {"no settings", std::nullopt, false},
      {"a name and 640x480", Raw{REG_SZ, "Kestra\0"s}, true},
      {"a name as REG_EXPAND_SZ", Raw{REG_EXPAND_SZ, "Kestra\0"s}, false},
      {"a name padded with NULs", Raw{REG_SZ, "Kestra\0\0\0\0"s}, false},
      {"a name followed by leftovers", Raw{REG_SZ, "Kestra\0old\0"s}, false},
  };
  for (const auto& c : cases) {
    DeleteKey(kGame);
    if (c.name) SetRaw(kDialog, "PlayerName", c.name->first, c.name->second);
    if (c.size) {
      SetRaw(kOptions, "ResolutionX", REG_DWORD, Dword(640));
      SetRaw(kOptions, "ResolutionY", REG_DWORD, Dword(480));
    }
    Open();
    EXPECT_FALSE(IsWindowVisible(form_)) << "shown only once loaded";
    const bool whole = report_.text.empty();
    report_.Line("== "s + c.what).State(form_, whole ? std::set<std::string>{} : std::set<std::string>{"caption", "label1"});
    report_.Registry();
    SendMessageW(std::exchange(form_, nullptr), WM_CLOSE, 0, 0);
    report_.Line("closed:").Registry();
    report_.Line("Dialog key: "s + (KeyExists(kDialog) ? "yes" : "no") + ", Options key: " + (KeyExists(kOptions) ? "yes" : "no"));
  }
  ExpectApproved("start", report_.text);
}

// Where each control stands and in which font: at every DPI, with the
// per-monitor DPI functions of Windows 10 and without them, as on earlier
// Windows, where the fonts are scaled by hand and the frame is the system's;
// and at the player's larger text, set before the start or while the window
// is open, where the whole layout grows in proportion until every caption
// shows whole on its line. The list shows whole rows throughout.
TEST_F(Form1Test, LayoutAtEveryDpiAndTextSize) {
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
  const auto layout = [this] {
    const probe::Fields state = TestWindowState(form_);
    return std::vector{Place(kLabel1, state), Place(kList1, state), Place(kLabel2, state), Place(kLabel3, state),
                       Place(0, state)};
  };
  std::string fonts;
  for (const bool perMonitor : {true, false}) {
    HidePerMonitorDpi(!perMonitor);
    for (const UINT dpi : {96u, 120u, 144u, 192u}) {
      for (const int percent : {0, 100, 150, 225}) {
        // The test display holds the window at larger text only up to 144 dpi.
        if (percent > 100 && dpi > 144) continue;
        const std::string what = std::to_string(dpi) + " dpi, text " +
                                 (percent ? std::to_string(percent) + "%" : "as the system's"s) +
                                 (perMonitor ? "" : ", no per-monitor functions");
        SCOPED_TRACE(what);
        restore.TextSize(0);
        open(dpi);
        if (percent) {
          restore.TextSize(percent);
          SendMessageW(form_, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
          const auto whileOpen = layout();
          Close();
          open(dpi);
          EXPECT_EQ(layout(), whileOpen) << "set before the start or while open";
        }
        // What tells whether an approval is right: whole rows, and every
        // caption whole on its line.
        const probe::Fields state = TestWindowState(form_);
        const auto rowHeight = static_cast<LONG>(SendMessageW(Control(kList1), LB_GETITEMHEIGHT, 0, 0));
        RECT rows{};
        GetClientRect(Control(kList1), &rows);
        EXPECT_EQ(rows.bottom % rowHeight, 0) << "rows of " << rowHeight << " in " << rows.bottom << " pixels";
        for (const int id : {kLabel1, kLabel2}) {
          const SIZE text = TextSize(id);
          const std::vector<LONG> label = Place(id, state);
          EXPECT_TRUE(text.cx <= label[2] && text.cy <= label[3])
              << id << ": " << text.cx << "x" << text.cy << " in " << label[2] << "x" << label[3];
        }
        // Only without them is the frame what the window really has here.
        const bool realFrame = !perMonitor || dpi == 96;
        std::string line = "fonts:";
        for (const std::string& font : std::set{Field(state, "font.label1"), Field(state, "font.list1"), Field(state, "font.label2")})
          line += " " + font + " |";
        if (line += " label3 " + Field(state, "font.label3"); line != fonts) report_.Line(fonts = line);
        line = what + ":";
        for (const auto& [id, name] : probe::kControlNames) line += " "s + name + " " + Field(state, "rect."s + name) + " |";
        report_.Line(realFrame ? line + " client " + Field(state, "client") : line.substr(0, line.size() - 2));
        Close();
      }
    }
  }
  ExpectApproved("layout", report_.text);
  // A suggestion of another size, as where the monitor is smaller, is taken too.
  Open();
  const RECT other{50, 60, 450, 400};
  RECT taken{};
  SendMessageW(form_, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&other));
  GetWindowRect(form_, &taken);
  EXPECT_TRUE(EqualRect(&taken, &other));
  Close();
  // The longest caption, which no label holds at larger text, runs up to
  // Label3 and is cut there, on its one line: at the start, and fitted again
  // after a change of DPI and of text size while the window is open.
  SetRaw(kOptions, "ResolutionX", REG_DWORD, Dword(0x80000000u));
  SetRaw(kOptions, "ResolutionY", REG_DWORD, Dword(0x80000000u));
  restore.TextSize(225);
  Open();
  const auto expectCut = [this](const char* when) {
    SCOPED_TRACE(when);
    const std::vector<LONG> label1 = Place(kLabel1);
    EXPECT_GT(TextSize(kLabel1).cx, label1[2]);
    EXPECT_EQ(label1[0] + label1[2], Place(kLabel3)[0]);
  };
  expectCut("at the start");
  SendMessageW(form_, WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
  expectCut("after a change to 144 dpi");
  restore.TextSize(150);
  SendMessageW(form_, WM_SETTINGCHANGE, SPI_SETNONCLIENTMETRICS, 0);
  expectCut("after a change to 150% text");
}

// What the window answers when the system asks how to paint it: the
// background its class names, and each label's text, text background and
// brush. The labels take the system's colours, whatever they are, and the
// hotspot is black on yellow; in Windows' default colours and in high
// contrast.
TEST_F(Form1Test, WindowAsksForItsColours) {
  const SystemSettings restore;
  // For its elements: button face, button text, window text, window.
  const COLORREF kSchemes[2][4] = {{RGB(240, 240, 240), RGB(0, 0, 0), RGB(0, 0, 0), RGB(255, 255, 255)},
                                   {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0)}};
  const auto hex = [](COLORREF colour) {
    char text[8];
    (void)std::snprintf(text, sizeof text, "%06lx", static_cast<unsigned long>(colour));
    return std::string(text);
  };
  for (const auto& scheme : kSchemes) {
    SetSysColors(4, restore.elements, scheme);
    Open();
    const auto background = GetClassLongPtrW(form_, GCLP_HBRBACKGROUND) - 1;
    report_.Line("== colours " + hex(scheme[0]) + " " + hex(scheme[1]) + " " + hex(scheme[2]) + " " + hex(scheme[3]));
    report_.Line("window: system colour " + std::to_string(background) + ", " + hex(GetSysColor(static_cast<int>(background))));
    HDC dc = CreateCompatibleDC(nullptr);
    for (const auto& [id, name] : probe::kControlNames) {
      if (id == kList1) continue;
      SetTextColor(dc, RGB(1, 2, 3)), SetBkColor(dc, RGB(4, 5, 6));  // what no reply leaves
      const auto brush = reinterpret_cast<HGDIOBJ>(SendMessageW(form_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                                                reinterpret_cast<LPARAM>(Control(id))));
      LOGBRUSH fill{};
      GetObjectW(brush, sizeof fill, &fill);
      report_.Line(name + ": text "s + hex(GetTextColor(dc)) + ", background " + hex(GetBkColor(dc)) + ", brush " +
                   hex(fill.lbColor));
    }
    DeleteDC(dc);
    Close();
  }
  ExpectApproved("colours", report_.text);
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
  Boxes();
  report_.Line("== a click, then a quick second one");
  click({WM_LBUTTONDOWN, WM_LBUTTONUP});
  click({WM_LBUTTONDBLCLK, WM_LBUTTONUP});
  Boxes();
  report_.Registry();
  Close();

  for (const bool windows : {false, true}) {
    WindowsSystemMenu(windows);
    Open(true);
    HMENU menu = GetSystemMenu(form_, FALSE);
    std::string items = windows ? "== Windows' system menu:" : "== Wine's system menu:";
    UINT about = 0;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
      wchar_t item[64] = {};
      GetMenuStringW(menu, static_cast<UINT>(i), item, 64, MF_BYPOSITION);
      items += " " + (item[0] ? probe::Value(item) : "-") + " |";
      if (std::wstring(item) == kAboutMenuItem) about = GetMenuItemID(menu, i);
    }
    report_.Line(items).Line("by its command");
    SendMessageW(form_, WM_SYSCOMMAND, about, 0);
    Boxes();
    report_.Line("by Alt+Space, A");
    INPUT keys[6] = {};
    const WORD sequence[6][2] = {{VK_MENU, 0}, {VK_SPACE, 0}, {VK_SPACE, KEYEVENTF_KEYUP}, {VK_MENU, KEYEVENTF_KEYUP},
                                 {'A', 0},     {'A', KEYEVENTF_KEYUP}};
    for (int i = 0; i < 6; ++i) keys[i].type = INPUT_KEYBOARD, keys[i].ki.wVk = sequence[i][0], keys[i].ki.dwFlags = sequence[i][1];
    SendInput(6, keys, sizeof keys[0]);
    Pump([this] { return Boxes() > 0; });
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

// A click on each entry stores it. Entries that another program adds to the
// list and that do not give two 32-bit numbers store nothing: Label1 still
// shows what is stored, and the program goes on.
TEST_F(Form1Test, ClickingEachEntryStoresIt) {
  Open(true);
  TakeRegistryCalls();
  std::vector<std::string> entries;
  for (const auto& [key, value] : TestWindowState(form_))
    if (key == "entry") entries.push_back(value);
  for (const wchar_t* added : {L"1024 768", L"1024 x", L"x768", L"1O24 x768", L"1024 x76B", L"", L"4294968320 x768",
                               L"1024 x4294967896", L"2147483648 x1", L"2147483647 x1 x2"}) {
    SendMessageW(Control(kList1), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(added));
    entries.push_back("added: \"" + probe::Value(added) + "\"");
  }
  for (size_t i = 0; i < entries.size(); ++i) {
    ClickEntry(static_cast<int>(i));
    ReportClick(entries[i]);
  }
  ExpectApproved("entries", report_.text);
}

// Letters, a space, a byte above 0x7F and one that Windows-1252 leaves
// undefined, all of which map to the same code point; a NUL at `nulAt`.
std::string BadData(size_t size, size_t nulAt) {
  static const char kPattern[] = {'K', 'e', ' ', '\xBA', '\x81', 's'};
  std::string data(size, '\0');
  for (size_t i = 0; i < size; ++i) data[i] = i == nulAt ? '\0' : kPattern[i % sizeof kPattern];
  return data;
}

// Whatever another program stored in the three values Travik reads, the
// window starts and shows what a careful reading of the bytes gives: every
// value type, sizes around four bytes and up to 1 MiB, with the terminator
// missing, at the end or in the middle.
TEST_F(Form1Test, BadDataShowsOnlyWhatTheBytesHold) {
  const DWORD kTypes[] = {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_DWORD_BIG_ENDIAN,
                          REG_MULTI_SZ, REG_QWORD};
  for (const std::string value : {"PlayerName", "ResolutionX", "ResolutionY"}) {
    for (const DWORD type : kTypes) {
      for (const size_t size : {0u, 1u, 2u, 3u, 4u, 5u, 8u, 1u << 20}) {
        for (const size_t nulAt : std::set<size_t>{size, size / 2, size ? size - 1 : 0}) {
          const std::string data = BadData(size, nulAt);
          SCOPED_TRACE(value + ", type " + std::to_string(type) + ", " + std::to_string(size) + " bytes, NUL at " +
                       std::to_string(nulAt));
          DeleteKey(kGame);
          SetRaw(value == "PlayerName" ? kDialog : kOptions, value, type, data);

          std::wstring name;
          if (value == "PlayerName" && type == REG_SZ)
            for (size_t i = 0; i < data.size() && data[i]; ++i) name += static_cast<unsigned char>(data[i]);
          std::uint32_t number = 0;
          if (value != "PlayerName" && type == REG_DWORD && size == 4)
            for (size_t i = 4; i-- > 0;) number = number << 8 | static_cast<unsigned char>(data[i]);
          const auto shown = std::to_wstring(static_cast<std::int32_t>(number));

          Open();
          EXPECT_EQ(Text(form_), L"Welcome " + name + L" to Travik");
          EXPECT_EQ(Text(Control(kLabel1)), L"Current SS Resolution: " + (value == "ResolutionX" ? shown : L"0") +
                                                L"x" + (value == "ResolutionY" ? shown : L"0"));
          Close();
        }
      }
    }
  }
}

}  // namespace
