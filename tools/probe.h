// Looks at Travik's window from another process and prints what it shows,
// one "key<TAB>value" per line. A program gives Probe its commands, each the
// state it prints; "close" asks the window to close.
//   PROGRAM [--desktop NAME] [--until KEY=VALUE] [--wait SECONDS] COMMAND
// "--desktop NAME" looks on that desktop (a Wine virtual desktop) instead of
// the default one; "--until KEY=VALUE" waits until that field has that value;
// "--wait SECONDS" is how long it waits for a state, and for --until
// (default 5). Exits 1 when it did not come to pass, after printing the last
// state.
#pragma once

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "ui/Form1Design.h"

namespace probe {

using Fields = std::vector<std::pair<std::string, std::string>>;
using State = Fields (*)();

// UTF-8, with line breaks written as \r and \n so that every value stays on
// its one line.
inline std::string Value(const std::wstring& text) {
  std::wstring value;
  for (const wchar_t c : text) value += c == L'\r' ? L"\\r" : c == L'\n' ? L"\\n" : std::wstring(1, c);
  const int length = static_cast<int>(value.size());
  std::string utf8(static_cast<size_t>(WideCharToMultiByte(CP_UTF8, 0, value.c_str(), length, nullptr, 0, nullptr, nullptr)), '\0');
  WideCharToMultiByte(CP_UTF8, 0, value.c_str(), length, utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr);
  return utf8;
}

inline std::string Numbers(std::initializer_list<long> numbers) {
  std::string text;
  for (const long n : numbers) text += (text.empty() ? "" : " ") + std::to_string(n);
  return text;
}

inline std::string Rect(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return Numbers({r.left, r.top, r.right, r.bottom});
}

inline std::wstring Text(HWND hwnd) {
  wchar_t buffer[512] = {};
  GetWindowTextW(hwnd, buffer, 512);
  return buffer;
}

// The controls by the names the readers give them.
inline constexpr std::pair<ControlId, const char*> kControlNames[] = {
    {kLabel1, "label1"}, {kList1, "list1"}, {kLabel2, "label2"}, {kLabel3, "label3"}};

inline HWND Form() { return FindWindowW(kForm1Class, nullptr); }

// The window's texts, its entries and where it is on the screen.
inline Fields WindowState(HWND form) {
  Fields fields = {{"caption", Value(Text(form))}};
  for (const auto& [id, name] : kControlNames)
    if (id != kList1) fields.emplace_back(name, Value(Text(GetDlgItem(form, id))));
  HWND list = GetDlgItem(form, kList1);
  const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t entry[128] = {};
    SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
    fields.emplace_back("entry", Value(entry));
  }
  fields.emplace_back("screen.window", Rect(form));
  return fields;
}

// Travik's window once it is shown, that is, once it has loaded; read by
// `reader`.
template <Fields (*reader)(HWND)>
Fields Shown() {
  HWND form = Form();
  return form && IsWindowVisible(form) ? reader(form) : Fields{};
}

// Whether there is a state, and one with `until` ("key=value"), if given.
inline bool Holds(const Fields& fields, const std::string& until) {
  if (fields.empty()) return false;
  if (until.empty()) return true;
  const size_t equals = until.find('=');
  for (const auto& [key, value] : fields)
    if (until.compare(0, equals, key) == 0 && until.compare(equals + 1, std::string::npos, value) == 0) return true;
  return false;
}

inline int Probe(int argc, char** argv, const std::map<std::string, State>& commands) {
  // Windows, and Wine from 9 on, scale what a program sees of a window at
  // another DPI than its own; the probe reads every window in true pixels,
  // as one aware of each monitor's DPI (Windows 10 on; before, of the system's).
  using SetAwareness = BOOL(WINAPI*)(HANDLE);
  const auto perMonitor = reinterpret_cast<SetAwareness>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  if (!perMonitor || !perMonitor(reinterpret_cast<HANDLE>(-4))) SetProcessDPIAware();  // -4: per monitor, v2
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
  const auto state = commands.find(command == "close" ? "window" : command);
  if (state == commands.end()) {
    (void)std::fprintf(stderr, "usage: %s [--desktop NAME] [--until KEY=VALUE] [--wait SECONDS] COMMAND\n", argv[0]);
    return 2;
  }
  Fields fields;
  for (const DWORD start = GetTickCount();; Sleep(50)) {
    // The desktop, too, may still be on its way.
    HDESK named = desktop ? OpenDesktopA(desktop, 0, FALSE, GENERIC_ALL) : nullptr;
    if (named && SetThreadDesktop(named)) desktop = nullptr;
    fields = desktop ? Fields{} : state->second();
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

}  // namespace probe
