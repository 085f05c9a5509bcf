// Looks at Travik's window from another process, for scripts/run and the
// end-to-end test: prints what the window shows, one "key<TAB>value" per line.
//   probe [OPTIONS] window    caption, labels, list entries, selection, focus, geometry
//   probe [OPTIONS] msgbox    title and text of an open "TRAVIK" message box
//   probe [OPTIONS] close     asks the window to close
// Options: "--desktop NAME" looks on that desktop (a Wine virtual desktop)
// instead of the default one; "--until KEY=VALUE" waits until that field has
// that value; "--wait SECONDS" is how long it waits for the window (shown,
// that is loaded) or the box, and for --until (default 5). Exits 1 when it
// did not come to pass, after printing the last state.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "ui/Form1Design.h"

namespace {

using Fields = std::vector<std::pair<std::string, std::string>>;

// UTF-8, with line breaks written as \r and \n so that every value stays on
// its one line.
std::string Value(const std::wstring& text) {
  std::wstring value;
  for (wchar_t c : text) value += c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : std::wstring(1, c);
  const int length = static_cast<int>(value.size());
  std::string utf8(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, value.c_str(), length, nullptr, 0, nullptr, nullptr)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, value.c_str(), length, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
  return utf8;
}

std::string Numbers(std::initializer_list<long> numbers) {
  std::string text;
  for (long n : numbers) text += (text.empty() ? "" : " ") + std::to_string(n);
  return text;
}

std::string Rect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return Numbers({r.left, r.top, r.right, r.bottom});
}

std::wstring Text(HWND hwnd) {
  wchar_t buffer[512] = {};
  GetWindowTextW(hwnd, buffer, 512);
  return buffer;
}

HWND Form() { return FindWindowW(kForm1Class, nullptr); }

// Nothing while the window is not shown yet, that is, while it loads.
Fields WindowState() {
  HWND form = Form();
  if (!form || !IsWindowVisible(form)) return {};
  Fields fields = {{"caption", Value(Text(form))}};
  const struct {
    ControlId id;
    const char* name;
  } controls[] = {{kLabel1, "label1"}, {kList1, "list1"}, {kLabel2, "label2"}, {kLabel3, "label3"}};
  for (const auto& control : controls) {
    HWND hwnd = GetDlgItem(form, control.id);
    if (control.id != kList1) fields.emplace_back(control.name, Value(Text(hwnd)));
    fields.emplace_back(std::string("rect.") + control.name, Rect(hwnd));
  }
  HWND list = GetDlgItem(form, kList1);
  const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t entry[128] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
    fields.emplace_back("entry", Value(entry));
  }
  for (const auto& [name, message] : {std::pair{"selected", LB_GETCURSEL}, {"topindex", LB_GETTOPINDEX}}) {
    fields.emplace_back(name, std::to_string(SendMessageW(list, static_cast<UINT>(message), 0, 0)));
  }
  fields.emplace_back("itemheight", std::to_string(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0)));
  POINT origin{0, 0};
  ClientToScreen(list, &origin);
  fields.emplace_back("list.client", Numbers({origin.x, origin.y}));
  RECT client{};
  GetClientRect(form, &client);
  POINT corner{0, 0};
  ClientToScreen(form, &corner);
  fields.emplace_back("client", Numbers({client.right, client.bottom}));
  fields.emplace_back("client.origin", Numbers({corner.x, corner.y}));
  fields.emplace_back("window", Rect(form));
  fields.emplace_back("enabled", IsWindowEnabled(form) ? "1" : "0");
  HWND menu = FindWindowW(L"#32768", nullptr);  // an open popup menu
  fields.emplace_back("menu", menu && IsWindowVisible(menu) ? "1" : "0");
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info);
  fields.emplace_back("focus", std::to_string(info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0));
  return fields;
}

Fields MessageBoxState() {
  HWND box = FindWindowW(L"#32770", kAboutTitle);
  if (!box) return {};
  Fields fields = {{"title", Value(Text(box))}, {"text", Value(Text(GetDlgItem(box, 0xFFFF)))}};
  fields.emplace_back("owner", GetWindow(box, GW_OWNER) == Form() ? "1" : "0");
  int buttons = 0, icons = 0;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (!IsWindowVisible(child)) continue;
    if (lstrcmpiW(cls, L"Button") == 0) {
      ++buttons;
      fields.emplace_back("button", Value(Text(child)));
    }
    const auto style = GetWindowLongPtrW(child, GWL_STYLE);
    if (lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && SendMessageW(child, STM_GETICON, 0, 0))
      ++icons;
  }
  fields.emplace_back("buttons", std::to_string(buttons));
  fields.emplace_back("icons", std::to_string(icons));
  fields.emplace_back("window", Rect(box));
  return fields;
}

// Whether there is a state, and one with `until` ("key=value"), if given.
bool Holds(const Fields& fields, const std::string& until) {
  if (fields.empty()) return false;
  if (until.empty()) return true;
  const size_t equals = until.find('=');
  for (const auto& [key, value] : fields)
    if (until.compare(0, equals, key) == 0 && until.compare(equals + 1, std::string::npos, value) == 0) return true;
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  std::string until;
  const char* desktop = nullptr;
  double seconds = 5;
  int arg = 1;
  for (; arg + 1 < argc && argv[arg][0] == '-'; arg += 2) {
    const std::string option = argv[arg];
    if (option == "--until") until = argv[arg + 1];
    if (option == "--wait") seconds = std::strtod(argv[arg + 1], nullptr);
    if (option == "--desktop") desktop = argv[arg + 1];
  }
  const std::string command = argc > arg ? argv[arg] : "window";
  if (command != "window" && command != "msgbox" && command != "close") {
    (void)std::fprintf(stderr, "usage: probe [--desktop NAME] [--until KEY=VALUE] [--wait SECONDS] window|msgbox|close\n");
    return 2;
  }
  Fields fields;
  for (const DWORD start = GetTickCount();; Sleep(50)) {
    // The desktop, too, may still be on its way.
    HDESK named = desktop ? OpenDesktopA(desktop, 0, FALSE, GENERIC_ALL) : nullptr;
    if (named && SetThreadDesktop(named)) desktop = nullptr;
    fields = desktop ? Fields{} : command == "msgbox" ? MessageBoxState() : WindowState();
    if (Holds(fields, command == "close" ? "" : until) || GetTickCount() - start > seconds * 1000) break;
  }
  if (command == "close") {
    if (fields.empty()) return 1;
    PostMessageW(Form(), WM_CLOSE, 0, 0);
    return 0;
  }
  for (const auto& [key, value] : fields) std::printf("%s\t%s\n", key.c_str(), value.c_str());
  return Holds(fields, until) ? 0 : 1;
}
