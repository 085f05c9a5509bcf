#include "Form1.h"

#include <algorithm>
#include <charconv>
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
constexpr UINT kAboutWine = SC_SCREENSAVE + 1;

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

const ControlLayout& LayoutOf(int id) {
  const auto* row = std::find_if(std::begin(kLayout), std::end(kLayout),
                                 [id](const ControlLayout& r) { return r.id == id; });
  return row != std::end(kLayout) ? *row : kLayout[0];
}

// The text's width in pixels in the control's current font.
int TextWidth(HWND control, const std::wstring& text) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return size.cx;
}

std::wstring TextOf(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring Decimal(std::int32_t value) {
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
    case WM_CTLCOLORSTATIC:
      return OnCtlColorStatic(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_SIZE:
      OnSize(static_cast<UINT>(wParam));
      return 0;
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_SYSCOMMAND:
      if ((wParam & 0xFFF0) == kAboutCommand) {
        Label3_Click();
        return 0;
      }
      return DefWindowProcW(hwnd_, message, wParam, lParam);
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
  SetLabelCaption(label2_, L"Windows Resolution: " + Decimal(GetSystemMetrics(SM_CXSCREEN)) + L" x " +
                               Decimal(GetSystemMetrics(SM_CYSCREEN)));
  for (const wchar_t* entry : kResolutionTable)
    SendMessageW(list1_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  ShowStoredResolution();
}

// Stores the selected entry as the game's resolution, width first, each in
// a write of its own, then shows what the registry holds.
void Form1::List1_Click() {
  const LRESULT index = SendMessageW(list1_, LB_GETCURSEL, 0, 0);
  const LRESULT length = index < 0 ? LB_ERR : SendMessageW(list1_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  std::wstring entry(length < 0 ? 0 : static_cast<size_t>(length) + 1, L'\0');
  const LRESULT copied = length < 0 ? LB_ERR
                                    : SendMessageW(list1_, LB_GETTEXT, static_cast<WPARAM>(index),
                                                   reinterpret_cast<LPARAM>(entry.data()));
  // A text that cannot be read, however the list fails, is no entry.
  entry.resize(copied >= 0 && copied <= length ? static_cast<size_t>(copied) : 0);

  // "1024 x768" splits at its "x" into "1024 " and "768"; the height ends at
  // a second "x", if there is one. An entry that does not give two numbers
  // writes neither, so that no half pair is left behind.
  const std::wstring_view text(entry);
  const size_t x = text.find(L'x');
  const auto width = EntryNumber(text.substr(0, x));
  const auto height =
      x == text.npos ? std::nullopt : EntryNumber(text.substr(x + 1, text.find(L'x', x + 1) - x - 1));
  if (width && height) {
    using namespace GameSettings;
    WriteDwordValue(kRoot, kOptionsKey, kResolutionX, *width);
    WriteDwordValue(kRoot, kOptionsKey, kResolutionY, *height);
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
  SetLabelCaption(label1_, L"Current SS Resolution: " + Decimal(x) + L"x" + Decimal(y));
}

bool Form1::OnCreate() {
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
  if (!label1_ || !list1_ || !label2_ || !label3_) return false;

  // The about message by keyboard too (Alt+Space, A), as small utilities
  // without a menu bar offer it. Wine ends the menu with its own "About
  // Wine", whose "A" would come first; under Wine ours takes its place.
  HMENU systemMenu = GetSystemMenu(hwnd_, FALSE);
  if (!ModifyMenuW(systemMenu, kAboutWine, MF_BYCOMMAND | MF_STRING, kAboutCommand, kAboutMenuItem)) {
    AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(systemMenu, MF_STRING, kAboutCommand, kAboutMenuItem);
  }

  label3Brush_.reset(CreateSolidBrush(kLabel3Colour));
  ApplyDpi(DpiOf(hwnd_));

  // Centred on the work area of the window's monitor, or where the system put
  // it if the monitor cannot be asked.
  const SIZE size = WindowSizeForDpi();
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  const bool centre = GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &monitor);
  const RECT& work = monitor.rcWork;
  SetWindowPos(hwnd_, nullptr, work.left + std::max(0L, (work.right - work.left - size.cx) / 2),
               work.top + std::max(0L, (work.bottom - work.top - size.cy) / 2), size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE | (centre ? 0 : SWP_NOMOVE));

  Form_Load();
  return true;
}

void Form1::OnCommand(int id, int code) {
  if (id == kList1 && code == LBN_SELCHANGE) List1_Click();
  // A quick second click on a static arrives as a double click.
  if (id == kLabel3 && (code == STN_CLICKED || code == STN_DBLCLK)) Label3_Click();
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

// Anyone can post this message; without a suggested rectangle the window
// stays where it is.
void Form1::OnDpiChanged(UINT dpi, const RECT* suggested) {
  ApplyDpi(dpi);
  // The captions may need a different width in the new fonts.
  SetLabelCaption(label1_, TextOf(label1_));
  SetLabelCaption(label2_, TextOf(label2_));
  const SIZE size = WindowSizeForDpi();
  SetWindowPos(hwnd_, nullptr, suggested ? suggested->left : 0, suggested ? suggested->top : 0, size.cx,
               size.cy, SWP_NOZORDER | SWP_NOACTIVATE | (suggested ? 0 : SWP_NOMOVE));
}

// The list is the only control that takes the keyboard, so it has it whenever
// the window is active. The system gives the window the focus when it is
// activated (and the window passes it on), but not when it was activated
// while minimised, as after a minimised start: it gets it on the restore.
void Form1::OnSize(UINT kind) {
  if (kind != SIZE_MINIMIZED && GetActiveWindow() == hwnd_) SetFocus(list1_);
}

void Form1::OnSetFocus() { SetFocus(list1_); }

// Fonts and laid-out control positions for a DPI; callers fit the captions.
void Form1::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  const LOGFONTW message = MessageFont(dpi);
  const LOGFONTW label3 = Label3Font(dpi);
  UniqueFont font(CreateFontIndirectW(&message));
  UniqueFont label3Font(CreateFontIndirectW(&label3));
  for (HWND control : {label1_, list1_, label2_})
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  SendMessageW(label3_, WM_SETFONT, reinterpret_cast<WPARAM>(label3Font.get()), FALSE);
  // The controls hold the new fonts now; the old ones can go.
  font_ = std::move(font);
  label3Font_ = std::move(label3Font);

  for (const ControlLayout& row : kLayout) {
    const int left = TwipsToPixels(row.left, dpi);
    const int top = TwipsToPixels(row.top, dpi);
    SetWindowPos(GetDlgItem(hwnd_, row.id), nullptr, left, top, TwipsToPixels(row.width, dpi),
                 TwipsToPixels(row.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  InvalidateRect(hwnd_, nullptr, TRUE);
}

// Sets a label's text and widens the label, up to its limit, until the text
// fits on its one line.
void Form1::SetLabelCaption(HWND label, const std::wstring& text) {
  SetWindowTextW(label, text.c_str());
  const ControlLayout& row = LayoutOf(GetDlgCtrlID(label));
  const int laidOut = TwipsToPixels(row.width, dpi_);
  const int limit = TwipsToPixels(row.maxRight, dpi_) - TwipsToPixels(row.left, dpi_);
  const int width = std::clamp(TextWidth(label, text), laidOut, std::max(laidOut, limit));
  const int height = TwipsToPixels(row.height, dpi_);
  RECT current{};
  if (GetWindowRect(label, &current) && current.right - current.left == width &&
      current.bottom - current.top == height)
    return;
  SetWindowPos(label, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE Form1::WindowSizeForDpi() const {
  RECT r{0, 0, TwipsToPixels(kClientWidthTwips, dpi_), TwipsToPixels(kClientHeightTwips, dpi_)};
  const auto forDpi = User32<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
  if (!(forDpi && forDpi(&r, kStyle, FALSE, kExStyle, dpi_)))
    AdjustWindowRectEx(&r, kStyle, FALSE, kExStyle);
  return {r.right - r.left, r.bottom - r.top};
}
