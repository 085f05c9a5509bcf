// Looks at Travik's window from another process, for scripts/run and the
// end-to-end test: prints what the window shows, one "key<TAB>value" per line.
//   probe window    caption, labels, list entries, selection, focus, geometry
//   probe msgbox    title and text of an open "TRAVIK" message box
//   probe close     asks the window to close
// With "--desktop NAME" first, it looks on that desktop (a Wine virtual
// desktop) instead of the default one. Exits 1 when there is no such window
// (for "window": none shown yet).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Prints the value as UTF-8, with line breaks written as \r and \n so that
// every value stays on its one line.
void Print(const char* key, const std::wstring& text) {
  std::wstring value;
  for (wchar_t c : text) value += c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : std::wstring(1, c);
  const int length = static_cast<int>(value.size());
  std::string utf8(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, value.c_str(), length, nullptr, 0, nullptr, nullptr)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, value.c_str(), length, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
  std::printf("%s\t%s\n", key, utf8.c_str());
}

void PrintRect(const char* key, RECT r) {
  std::printf("%s\t%ld %ld %ld %ld\n", key, r.left, r.top, r.right, r.bottom);
}

std::wstring Text(HWND hwnd) {
  wchar_t buffer[512] = {};
  GetWindowTextW(hwnd, buffer, 512);
  return buffer;
}

RECT ScreenRect(HWND hwnd) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return r;
}

HWND Form() { return FindWindowW(L"TravikForm1", nullptr); }

int ShowWindowState() {
  HWND form = Form();
  if (!form || !IsWindowVisible(form)) return 1;  // shown only once loaded
  Print("caption", Text(form));
  const char* names[] = {"label1", "list1", "label2", "label3"};
  for (int id = 101; id <= 104; ++id) {
    HWND control = GetDlgItem(form, id);
    if (id != 102) Print(names[id - 101], Text(control));
    char key[32];
    (void)std::snprintf(key, sizeof key, "rect.%s", names[id - 101]);
    PrintRect(key, ScreenRect(control));
  }
  HWND list = GetDlgItem(form, 102);
  const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t entry[128] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
    Print("entry", entry);
  }
  std::printf("selected\t%ld\n", static_cast<long>(SendMessageW(list, LB_GETCURSEL, 0, 0)));
  std::printf("topindex\t%ld\n", static_cast<long>(SendMessageW(list, LB_GETTOPINDEX, 0, 0)));
  std::printf("itemheight\t%ld\n", static_cast<long>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)));
  POINT origin{0, 0};
  ClientToScreen(list, &origin);
  std::printf("list.client\t%ld %ld\n", origin.x, origin.y);
  RECT client;
  GetClientRect(form, &client);
  std::printf("client\t%ld %ld\n", client.right, client.bottom);
  PrintRect("window", ScreenRect(form));
  std::printf("enabled\t%d\n", IsWindowEnabled(form) ? 1 : 0);
  HWND menu = FindWindowW(L"#32768", nullptr);  // an open popup menu
  std::printf("menu\t%d\n", menu && IsWindowVisible(menu) ? 1 : 0);
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info);
  std::printf("focus\t%d\n", info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0);
  return 0;
}

int ShowMessageBox() {
  HWND box = FindWindowW(L"#32770", L"TRAVIK");
  if (!box) return 1;
  Print("title", Text(box));
  Print("text", Text(GetDlgItem(box, 0xFFFF)));
  std::printf("owner\t%d\n", GetWindow(box, GW_OWNER) == Form() ? 1 : 0);
  int buttons = 0, icons = 0;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (!IsWindowVisible(child)) continue;
    if (lstrcmpiW(cls, L"Button") == 0) {
      ++buttons;
      Print("button", Text(child));
    }
    const auto style = GetWindowLongPtrW(child, GWL_STYLE);
    if (lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && SendMessageW(child, STM_GETICON, 0, 0))
      ++icons;
  }
  std::printf("buttons\t%d\nicons\t%d\n", buttons, icons);
  PrintRect("window", ScreenRect(box));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  int arg = 1;
  if (argc > 2 && std::string(argv[1]) == "--desktop") {
    HDESK desktop = OpenDesktopA(argv[2], 0, FALSE, GENERIC_ALL);
    if (!desktop || !SetThreadDesktop(desktop)) return 1;
    arg = 3;
  }
  const std::string command = argc > arg ? argv[arg] : "window";
  if (command == "window") return ShowWindowState();
  if (command == "msgbox") return ShowMessageBox();
  if (command == "close") {
    HWND form = Form();
    if (!form) return 1;
    PostMessageW(form, WM_CLOSE, 0, 0);
    return 0;
  }
  (void)std::fprintf(stderr, "usage: probe [--desktop NAME] window|msgbox|close\n");
  return 2;
}
