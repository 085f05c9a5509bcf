#include "imports.h"

#include <cstring>
#include <set>
#include <utility>

namespace {

// The real function, whatever the program's import slot holds later.
template <typename Function>
Function Real(Function, const wchar_t* dll, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(dll), name)));
}
const auto g_open = Real(&RegOpenKeyA, L"advapi32.dll", "RegOpenKeyA");
const auto g_create = Real(&RegCreateKeyA, L"advapi32.dll", "RegCreateKeyA");
const auto g_query = Real(&RegQueryValueExA, L"advapi32.dll", "RegQueryValueExA");
const auto g_set = Real(&RegSetValueExA, L"advapi32.dll", "RegSetValueExA");
const auto g_close = Real(&RegCloseKey, L"advapi32.dll", "RegCloseKey");
const auto g_find = Real(&GetProcAddress, L"kernel32.dll", "GetProcAddress");
const auto g_messageBox = Real(&MessageBoxW, L"user32.dll", "MessageBoxW");
const auto g_systemMenu = Real(&GetSystemMenu, L"user32.dll", "GetSystemMenu");

std::vector<std::string> g_calls;
std::set<HKEY> g_programKeys;  // opened by the program and not yet closed
std::vector<MessageBoxCall> g_boxes;
int g_openBoxes = 0;
bool g_hidePerMonitorDpi = false;
bool g_windowsSystemMenu = false;

std::string Name(LPCSTR name) { return name ? name : ""; }

LONG OpenOrCreate(decltype(g_open) real, const char* function, HKEY root, LPCSTR path, PHKEY key) {
  const LONG status = real(root, path, key);
  g_calls.push_back(function + (" " + Name(path)));
  if (status == ERROR_SUCCESS) g_programKeys.insert(*key);
  return status;
}
LONG WINAPI LoggedOpen(HKEY root, LPCSTR path, PHKEY key) { return OpenOrCreate(g_open, "RegOpenKeyA", root, path, key); }
LONG WINAPI LoggedCreate(HKEY root, LPCSTR path, PHKEY key) {
  return OpenOrCreate(g_create, "RegCreateKeyA", root, path, key);
}

LONG WINAPI LoggedQuery(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD size) {
  // A key of the program's that failed to open is null, and still its call.
  if (g_programKeys.count(key) || key == nullptr) g_calls.push_back("RegQueryValueExA " + Name(name));
  return g_query(key, name, reserved, type, data, size);
}

LONG WINAPI LoggedSet(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
  if (g_programKeys.count(key) || key == nullptr) g_calls.push_back("RegSetValueExA " + Name(name));
  return g_set(key, name, reserved, type, data, size);
}

LONG WINAPI LoggedClose(HKEY key) {
  if (g_programKeys.erase(key)) g_calls.emplace_back("RegCloseKey");
  return g_close(key);
}

FARPROC WINAPI FilteredFind(HMODULE module, LPCSTR name) {
  // Names, not ordinals: an ordinal is a number below 0x10000.
  const bool named = reinterpret_cast<ULONG_PTR>(name) > 0xFFFF;
  if (g_hidePerMonitorDpi && named)
    for (const char* hidden : {"GetDpiForWindow", "AdjustWindowRectExForDpi", "SystemParametersInfoForDpi"})
      if (std::strcmp(name, hidden) == 0) return nullptr;
  return g_find(module, name);
}

// Windows' system menu ends with Close; Wine adds a separator and "About Wine".
HMENU WINAPI SystemMenu(HWND hwnd, BOOL revert) {
  HMENU menu = g_systemMenu(hwnd, revert);
  constexpr UINT kAboutWine = SC_SCREENSAVE + 1;
  if (g_windowsSystemMenu && DeleteMenu(menu, kAboutWine, MF_BYCOMMAND)) {
    const int last = GetMenuItemCount(menu) - 1;
    if (last >= 0 && GetMenuState(menu, static_cast<UINT>(last), MF_BYPOSITION) & MF_SEPARATOR)
      DeleteMenu(menu, static_cast<UINT>(last), MF_BYPOSITION);
  }
  return menu;
}

// OK for every box of this thread's that has shown.
BOOL CALLBACK CloseBox(HWND hwnd, LPARAM) {
  wchar_t cls[8] = {};
  GetClassNameW(hwnd, cls, 8);
  if (IsWindowVisible(hwnd) && lstrcmpW(cls, L"#32770") == 0) PostMessageW(hwnd, WM_COMMAND, IDOK, 0);
  return TRUE;
}
void CALLBACK CloseBoxes(HWND, UINT, UINT_PTR, DWORD) { EnumThreadWindows(GetCurrentThreadId(), CloseBox, 0); }

int WINAPI LoggedMessageBox(HWND owner, LPCWSTR text, LPCWSTR title, UINT type) {
  g_boxes.push_back({owner, text ? text : L"", title ? title : L"", type, ++g_openBoxes});
  // Timer messages come only once the queue holds nothing else: whatever
  // was posted before the box reaches it first.
  const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, CloseBoxes);
  const int result = g_messageBox(owner, text, title, type);
  KillTimer(nullptr, timer);
  --g_openBoxes;
  return result;
}

// Points this program's import slots that hold `real` at `logged`, so that
// the program's own calls of the function reach the logger first.
template <typename Function>
void Redirect(Function real, Function logged) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const auto& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* dll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       dll->Name != 0; ++dll) {
    for (auto* slot = reinterpret_cast<ULONG_PTR*>(base + dll->FirstThunk); *slot != 0; ++slot) {
      if (*slot != reinterpret_cast<ULONG_PTR>(real)) continue;
      DWORD old = 0;
      VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
      *slot = reinterpret_cast<ULONG_PTR>(logged);
      VirtualProtect(slot, sizeof *slot, old, &old);
    }
  }
}

// Before any test runs, the program's calls go through here.
const bool g_redirected = [] {
  Redirect(g_open, &LoggedOpen);
  Redirect(g_create, &LoggedCreate);
  Redirect(g_query, &LoggedQuery);
  Redirect(g_set, &LoggedSet);
  Redirect(g_close, &LoggedClose);
  Redirect(g_find, &FilteredFind);
  Redirect(g_messageBox, &LoggedMessageBox);
  Redirect(g_systemMenu, &SystemMenu);
  return true;
}();

}  // namespace

std::vector<std::string> TakeRegistryCalls() { return std::exchange(g_calls, {}); }

std::vector<MessageBoxCall> TakeMessageBoxes() { return std::exchange(g_boxes, {}); }

void HidePerMonitorDpi(bool hide) { g_hidePerMonitorDpi = hide; }

void WindowsSystemMenu(bool windows) { g_windowsSystemMenu = windows; }
