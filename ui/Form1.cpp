#include "Form1.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <cstdint>
#include <iterator>
#include <new>
#include <optional>
#include <string_view>

#include "Form1Design.h"
#include "registry/GameSettings.h"
#include "registry/Registry_MOD.h"

namespace {

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kExStyle = 0;
// Our own system menu command; the system keeps the low four bits.
constexpr UINT kAboutCommand = 0x0010;
constexpr UINT kAboutWine = SC_SCREENSAVE + 1;  // Wine's own "About Wine"
// WM_GETDPISCALEDSIZE, which Windows 10 sends from version 1703 on.
constexpr UINT kGetDpiScaledSize = 0x02E4;

// Per-monitor DPI functions arrived with Windows 10; looked up when needed so
// that the program still starts on earlier Windows.
template <typename Function>
Function User32(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}
using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

UINT SystemDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

UINT DpiOf(HWND hwnd) {
  const auto getDpiForWindow = User32<GetDpiForWindowFunction>("GetDpiForWindow");
  const UINT dpi = getDpiForWindow ? getDpiForWindow(hwnd) : 0;
  return dpi != 0 ? dpi : SystemDpi();
}

// The system's message font at the given DPI.
LOGFONTW MessageFont(UINT dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  const auto forDpi = User32<SystemParametersInfoForDpiFunction>("SystemParametersInfoForDpi");
  if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
    return metrics.lfMessageFont;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  metrics.lfMessageFont.lfHeight =
      MulDiv(metrics.lfMessageFont.lfHeight, static_cast<int>(dpi), static_cast<int>(SystemDpi()));
  return metrics.lfMessageFont;
}

LOGFONTW Label3Font(UINT dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(12, static_cast<int>(dpi), 72);
  font.lfWeight = FW_BOLD;
  font.lfCharSet = ANSI_CHARSET;
  static constexpr wchar_t kFace[] = L"Times New Roman";
  static_assert(sizeof kFace <= sizeof font.lfFaceName);
  std::copy(std::begin(kFace), std::end(kFace), font.lfFaceName);
  return font;
}

// 1440 twips to the inch, rounded to the nearest pixel.
int TwipsToPixels(int twips, UINT dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>((scaled + (scaled >= 0 ? 720 : -720)) / 1440);
}

// The width of the text and the height of its line, in pixels, in the font.
SIZE TextSize(HFONT font, const std::wstring& text) {
  HDC screen = GetDC(nullptr);
  HGDIOBJ old = SelectObject(screen, font);
  SIZE size{};
  GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size);
  TEXTMETRICW metrics{};
  GetTextMetricsW(screen, &metrics);
  size.cy = metrics.tmHeight;
  SelectObject(screen, old);
  ReleaseDC(nullptr, screen);
  return size;
}

// The DPI at which the layout's twips become pixels: the monitor's, or the
// least above it at which a label holds a line of the player's larger text,
// so that the whole window grows with the text and keeps its proportions.
UINT LayoutDpi(UINT dpi, HFONT messageFont) {
  const long long line = TextSize(messageFont, L"").cy;
  const int label = kLabel1Layout.height;
  const long long needed = (1440 * line - 720 + label - 1) / label;
  return needed > dpi ? static_cast<UINT>(needed) : dpi;
}

// The window's size for its client area laid out at layoutDpi, in a frame
// for dpi.
SIZE WindowSize(UINT dpi, UINT layoutDpi) {
  RECT r{0, 0, TwipsToPixels(kClientWidthTwips, layoutDpi), TwipsToPixels(kClientHeightTwips, layoutDpi)};
  const auto forDpi = User32<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  if (!(forDpi && forDpi(&r, kStyle, FALSE, kExStyle, dpi))) AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  return {r.right - r.left, r.bottom - r.top};
}

std::wstring TextOf(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring Decimal(std::int32_t value) {
  // cppcheck-suppress constVariable  ; std::to_chars writes it
  char digits[12];  // "-2147483648"
  char* const end = std::to_chars(std::begin(digits), std::end(digits), value).ptr;
  return std::wstring(std::begin(digits), end);  // ASCII digits widen unchanged
}

// A part of a table entry: a whole number, with spaces around it.
std::optional<std::int32_t> EntryNumber(std::wstring_view part) {
  const size_t first = part.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return std::nullopt;
  part = part.substr(first, part.find_last_not_of(L' ') - first + 1);
  std::int32_t value = 0;
  for (const wchar_t c : part) {
    if (c < L'0' || c > L'9' || value > (INT32_MAX - (c - L'0')) / 10) return std::nullopt;
    value = value * 10 + (c - L'0');
  }
  return value;
}

struct Resolution {
  std::int32_t width, height;
};

// "1024 x768" splits at its "x" into "1024 " and "768"; the height ends at a
// second "x", if there is one. An entry that does not give two numbers gives
// neither, so that no half pair is ever stored.
std::optional<Resolution> EntryResolution(std::wstring_view entry) {
  const size_t x = entry.find(L'x');
  if (x == std::wstring_view::npos) return std::nullopt;
  const auto width = EntryNumber(entry.substr(0, x));
  const auto height = EntryNumber(entry.substr(x + 1, entry.find(L'x', x + 1) - x - 1));
  if (!width || !height) return std::nullopt;
  return Resolution{*width, *height};
}

// The selected entry's text, or nothing where the list cannot give it.
std::optional<std::wstring> SelectedEntry(HWND list) {
  const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (index < 0) return std::nullopt;
  const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return std::nullopt;
  std::wstring entry(static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied =
      SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(entry.data()));
  if (copied < 0 || copied > length) return std::nullopt;
  entry.resize(static_cast<size_t>(copied));
  return entry;
}

}  // namespace

HWND Form1::Create(HINSTANCE instance) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(instance, kForm1Class, &wc)) {
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WndProc;
    wc.hInstance = instance;
    wc.hIcon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, 0, 0,
                                             LR_DEFAULTSIZE | LR_SHARED));
    wc.hIconSm = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kForm1Class;
    if (!RegisterClassExW(&wc)) return nullptr;
  }
  return CreateWindowExW(kExStyle, kForm1Class, kInitialCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 0, 0,
                         nullptr, nullptr, instance, nullptr);
}

LRESULT CALLBACK Form1::WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* form = new (std::nothrow) Form1(hwnd);
    if (form == nullptr) return FALSE;  // no window without its state
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    // The window owns its Form1 from here until WM_NCDESTROY.
    return DefWindowProcW(hwnd, message, wParam, lParam);  // NOLINT(clang-analyzer-cplusplus.NewDeleteLeaks)
  }
  auto* self = reinterpret_cast<Form1*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    delete self;  // releases the fonts and the brush with the window
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate() ? 0 : -1;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam) ? 0 : DefWindowProcW(hwnd_, message, wParam, lParam);
    case WM_CTLCOLORSTATIC:
      return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case kGetDpiScaledSize:
      if (lParam == 0) return FALSE;
      OnGetDpiScaledSize(static_cast<UINT>(wParam), reinterpret_cast<SIZE*>(lParam));
      return TRUE;
    case WM_SETTINGCHANGE:
      OnSettingChange();
      return 0;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wParam));
      return 0;
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
}

// Greets the player, shows the desktop's resolution and the game's, and
// fills the list. Runs once, before the window is first shown.
void Form1::Form_Load() {
  using namespace GameSettings;
  const std::optional<std::wstring> name = ReadStringValue(kRoot, kDialogKey, kPlayerName);
  SetWindowTextW(hwnd_, (L"Welcome " + name.value_or(L"") + L" to Travik").c_str());
  SetLabelCaption(kLabel2Layout, L"Windows Resolution: " + Decimal(GetSystemMetrics(SM_CXSCREEN)) + L" x " +
                                     Decimal(GetSystemMetrics(SM_CYSCREEN)));
  for (const wchar_t* entry : kResolutionTable)
    SendMessageW(list1_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  ShowStoredResolution();
}

// Stores the selected entry as the game's resolution, width first, each in
// a write of its own, then shows what the registry holds.
void Form1::List1_Click() {
  const std::optional<std::wstring> entry = SelectedEntry(list1_);
  const std::optional<Resolution> resolution = entry ? EntryResolution(*entry) : std::nullopt;
  if (resolution) {
    using namespace GameSettings;
    WriteDwordValue(kRoot, kOptionsKey, kResolutionX, resolution->width);
    WriteDwordValue(kRoot, kOptionsKey, kResolutionY, resolution->height);
  }
  ShowStoredResolution();
}

void Form1::Label3_Click() {
  // The open box disables the window; clicks that still arrive, posted by
  // another program, must not stack a second box on it.
  if (!IsWindowEnabled(hwnd_)) return;
  MessageBoxW(hwnd_, kAboutText, kAboutTitle, MB_OK);
}

// Label1 shows what the registry holds, read afresh, never what was meant
// to be written. Values beyond 16 bits are shown whole rather than wrapped.
void Form1::ShowStoredResolution() {
  using namespace GameSettings;
  const std::int32_t x = ReadDwordValue(kRoot, kOptionsKey, kResolutionX);
  const std::int32_t y = ReadDwordValue(kRoot, kOptionsKey, kResolutionY);
  SetLabelCaption(kLabel1Layout, L"Current SS Resolution: " + Decimal(x) + L"x" + Decimal(y));
}

bool Form1::OnCreate() {
  if (!CreateControls()) return false;
  AddAboutToSystemMenu();
  label3Brush_.reset(CreateSolidBrush(kLabel3Colour));
  ApplyDpi(DpiOf(hwnd_));
  CentreOnMonitor();
  Form_Load();
  return true;
}

bool Form1::CreateControls() {
  const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd_, GWLP_HINSTANCE));
  constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX;
  auto make = [&](ControlId id, DWORD exStyle, const wchar_t* cls, const wchar_t* text, DWORD style) {
    return CreateWindowExW(exStyle, cls, text, style, 0, 0, 0, 0, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  };
  // Created in tab order.
  label1_ = make(kLabel1, 0, L"STATIC", kLabel1Design, kLabelStyle);
  list1_ = make(kList1, WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY);
  label2_ = make(kLabel2, 0, L"STATIC", kLabel2Design, kLabelStyle);
  label3_ = make(kLabel3, 0, L"STATIC", kLabel3Caption, kLabelStyle | SS_NOTIFY);
  return label1_ && list1_ && label2_ && label3_;
}

// The about message by keyboard too (Alt+Space, A), as small utilities
// without a menu bar offer it. Windows' system menu has no item with an "A";
// Wine's ends with its own "About Wine", which would come first, so under
// Wine ours takes its place.
void Form1::AddAboutToSystemMenu() {
  HMENU systemMenu = GetSystemMenu(hwnd_, FALSE);
  if (ModifyMenuW(systemMenu, kAboutWine, MF_BYCOMMAND | MF_STRING, kAboutCommand, kAboutMenuItem)) return;
  AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(systemMenu, MF_STRING, kAboutCommand, kAboutMenuItem);
}

// Centred on the work area of the window's monitor, or where the system put
// it if the monitor cannot be asked.
void Form1::CentreOnMonitor() {
  const SIZE size = WindowSize(dpi_, layoutDpi_);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  const bool centre = GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  SetWindowPos(hwnd_, nullptr, work.left + std::max(0L, (work.right - work.left - size.cx) / 2),
               work.top + std::max(0L, (work.bottom - work.top - size.cy) / 2), size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE | (centre ? 0 : SWP_NOMOVE));
}

void Form1::OnCommand(int id, int code) {
  if (id == kList1 && code == LBN_SELCHANGE) List1_Click();
  // A quick second click on a static arrives as a double click.
  if (id == kLabel3 && (code == STN_CLICKED || code == STN_DBLCLK)) Label3_Click();
}

// The system keeps the low four bits of a system command.
bool Form1::OnSysCommand(WPARAM command) {
  if ((command & 0xFFF0) != kAboutCommand) return false;
  Label3_Click();
  return true;
}

LRESULT Form1::OnCtlColorStatic(HDC dc, HWND control) {
  if (control == label3_ && label3Brush_) {
    // Yellow as the background keeps the black caption readable.
    SetBkColor(dc, kLabel3Colour);
    SetTextColor(dc, RGB(0, 0, 0));
    return reinterpret_cast<LRESULT>(label3Brush_.get());
  }
  return DefWindowProcW(hwnd_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                        reinterpret_cast<LPARAM>(control));
}

// Windows suggests the rectangle that keeps the window from swinging between
// two monitors' DPIs; anyone can post the message without one, and the
// window then keeps its place.
void Form1::OnDpiChanged(UINT dpi, const RECT* suggested) {
  ApplyDpi(dpi);
  if (suggested == nullptr)
    KeepPlaceAndResize();
  else
    SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                 suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Asked before a move to a monitor of another DPI: the size there, which the
// layout and the player's text at that DPI give, not the old one scaled.
void Form1::OnGetDpiScaledSize(UINT dpi, SIZE* size) const {
  const LOGFONTW message = MessageFont(dpi);
  const UniqueFont font(CreateFontIndirectW(&message));
  *size = WindowSize(dpi, LayoutDpi(dpi, font.get()));
}

// The player may change the text size while the window is open.
void Form1::OnSettingChange() {
  const LOGFONTW message = MessageFont(dpi_);
  if (std::memcmp(&message, &messageFont_, sizeof message) == 0) return;
  ApplyDpi(dpi_);
  KeepPlaceAndResize();
}

// The list is the only control that takes the keyboard, so it has it whenever
// the window is active. The system gives the window the focus when it is
// activated (and the window passes it on), but not when it was activated
// while minimised, as after a minimised start: it gets it on the restore.
void Form1::OnSize(UINT kind) {
  if (kind != SIZE_MINIMIZED && GetActiveWindow() == hwnd_) SetFocus(list1_);
}

void Form1::OnSetFocus() { SetFocus(list1_); }

// Fonts for a DPI, the controls laid out for them, and the captions fitted.
void Form1::ApplyDpi(UINT dpi) {
  const LOGFONTW message = MessageFont(dpi);
  const LOGFONTW label3 = Label3Font(dpi);
  UniqueFont font(CreateFontIndirectW(&message));
  UniqueFont label3Font(CreateFontIndirectW(&label3));
  for (HWND control : {label1_, list1_, label2_})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  SendMessageW(label3_, WM_SETFONT, reinterpret_cast<WPARAM>(label3Font.get()), FALSE);
  dpi_ = dpi;
  layoutDpi_ = LayoutDpi(dpi, font.get());
  messageFont_ = message;
  // The controls hold the new fonts now; the old ones can go.
  font_ = std::move(font);
  label3Font_ = std::move(label3Font);

  // A list fits whole rows of its font only as it is sized, so it is sized
  // afresh even where its laid-out size stays the same.
  SetWindowPos(list1_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  for (const ControlLayout& row : kLayout)
    SetWindowPos(GetDlgItem(hwnd_, row.id), nullptr, TwipsToPixels(row.left, layoutDpi_),
                 TwipsToPixels(row.top, layoutDpi_), TwipsToPixels(row.width, layoutDpi_),
                 TwipsToPixels(row.height, layoutDpi_), SWP_NOZORDER | SWP_NOACTIVATE);
  SetLabelCaption(kLabel1Layout, TextOf(label1_));
  SetLabelCaption(kLabel2Layout, TextOf(label2_));
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form1::KeepPlaceAndResize() {
  const SIZE size = WindowSize(dpi_, layoutDpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Sets a label's text and widens the label, up to its limit, until the text
// fits on its one line.
void Form1::SetLabelCaption(const ControlLayout& row, const std::wstring& text) {
  HWND label = GetDlgItem(hwnd_, row.id);
  SetWindowTextW(label, text.c_str());
  const int laidOut = TwipsToPixels(row.width, layoutDpi_);
  const int limit = TwipsToPixels(row.maxRight, layoutDpi_) - TwipsToPixels(row.left, layoutDpi_);
  const int width = std::clamp(static_cast<int>(TextSize(font_.get(), text).cx), laidOut, std::max(laidOut, limit));
  const int height = TwipsToPixels(row.height, layoutDpi_);
  RECT current{};
  if (GetWindowRect(label, &current) && current.right - current.left == width &&
      current.bottom - current.top == height)
    return;
  SetWindowPos(label, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}
