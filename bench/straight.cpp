// Travik's window written with the least code that shows the same thing:
// the same resources and manifest, frame, controls, styles, fonts, colour and
// registry reads, as straight-line code with fixed 96-dpi pixels. Its
// start-up is the limit for Travik's.
#include <windows.h>

#include <cwchar>
#include <initializer_list>

namespace {

HBRUSH g_yellow;

LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CTLCOLORSTATIC && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == 104) {
    SetBkColor(reinterpret_cast<HDC>(wParam), 0x0000FFFF);
    return reinterpret_cast<LRESULT>(g_yellow);
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

DWORD ReadDword(const char* name) {
  HKEY key = nullptr;
  DWORD type = 0, value = 0, size = sizeof value;
  RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Virgin\\SubSpace\\Options", &key);
  RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return type == REG_DWORD ? value : 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = L"Straight";
  RegisterClassW(&wc);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame{0, 0, 306, 209};
  AdjustWindowRect(&frame, style, FALSE);
  HWND form = CreateWindowW(L"Straight", L"TRAVIK", style, CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                            frame.bottom - frame.top, nullptr, nullptr, instance, nullptr);
  const DWORD label = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX;
  HWND label1 = CreateWindowW(L"STATIC", L"Label1", label, 8, 0, 265, 17, form, HMENU(101), instance, nullptr);
  HWND list = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                              WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                              0, 48, 305, 160, form, HMENU(102), instance, nullptr);
  HWND label2 = CreateWindowW(L"STATIC", L"", label, 8, 24, 169, 17, form, HMENU(103), instance, nullptr);
  HWND label3 = CreateWindowW(L"STATIC", L"\u00BAo\u00BA", label | SS_NOTIFY, 288, 0, 33, 17, form, HMENU(104),
                              instance, nullptr);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  HFONT font = CreateFontIndirectW(&metrics.lfMessageFont);
  for (HWND control : {label1, list, label2}) SendMessageW(control, WM_SETFONT, WPARAM(font), FALSE);
  HFONT times = CreateFontW(-16, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, L"Times New Roman");
  SendMessageW(label3, WM_SETFONT, WPARAM(times), FALSE);
  g_yellow = CreateSolidBrush(0x0000FFFF);

  wchar_t text[320];
  char name[256] = {};
  HKEY key = nullptr;
  DWORD type = 0, size = 0;
  RegOpenKeyA(HKEY_CURRENT_USER, "Software\\Virgin\\SubSpace\\Dialog\\", &key);
  RegQueryValueExA(key, "PlayerName", nullptr, &type, nullptr, &size);
  size = sizeof name - 1;
  RegQueryValueExA(key, "PlayerName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
  RegCloseKey(key);
  std::swprintf(text, 320, L"Welcome %hs to Travik", type == REG_SZ ? name : "");
  SetWindowTextW(form, text);
  std::swprintf(text, 320, L"Windows Resolution: %d x %d", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SetWindowTextW(label2, text);
  for (const wchar_t* entry : {L"320x180", L"320 x200", L"640 x480", L"720 x480", L"720 x576", L"800 x600",
                               L"960 x720", L"1024 x768", L"1152 x864", L"1280 x1024", L"1600 x1024", L"1600 x1200",
                               L"1792 x1344", L"1856 x1392", L"1920 x1080", L"1920 x1440", L"2048 x1536"})
    SendMessageW(list, LB_ADDSTRING, 0, LPARAM(entry));
  std::swprintf(text, 320, L"Current SS Resolution: %dx%d", int(ReadDword("ResolutionX")),
                int(ReadDword("ResolutionY")));
  SetWindowTextW(label1, text);

  ShowWindow(form, show);
  SetFocus(list);
  UpdateWindow(form);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0)
    if (!IsDialogMessageW(form, &msg)) TranslateMessage(&msg), DispatchMessageW(&msg);
  return 0;
}
