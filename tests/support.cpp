#include "support.h"

#include <set>
#include <utility>

#include "tools/ImportHook.h"

std::string Dword(std::uint32_t value) {
  std::string bytes(4, '\0');
  for (auto& b : bytes) b = static_cast<char>(value & 0xFF), value >>= 8;
  return bytes;
}

void SetRaw(const std::string& key, const std::string& name, DWORD type, const std::string& bytes) {
  HKEY handle = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &handle, nullptr), ERROR_SUCCESS);
  // The registry counts a NUL right after string data as part of it; a
  // guard byte keeps the stored size what the test asked for.
  const std::string data = bytes + 'G';
  EXPECT_EQ(RegSetValueExA(handle, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                           static_cast<DWORD>(bytes.size())),
            ERROR_SUCCESS);
  RegCloseKey(handle);
}

std::optional<Raw> GetRaw(const std::string& key, const std::string& name) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return std::nullopt;
  Raw raw;
  DWORD size = 0;
  LONG status = RegQueryValueExA(handle, name.c_str(), nullptr, &raw.type, nullptr, &size);
  raw.bytes.resize(size);
  if (status == ERROR_SUCCESS)
    status = RegQueryValueExA(handle, name.c_str(), nullptr, &raw.type,
                              reinterpret_cast<BYTE*>(raw.bytes.data()), &size);
  RegCloseKey(handle);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return raw;
}

bool KeyExists(const std::string& key) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

void DeleteKey(const std::string& key) {
  RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

std::wstring Text(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

namespace {

template <typename Function>
Function Advapi32(const char* name) {
  return reinterpret_cast<Function>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"advapi32.dll"), name)));
}

using OpenFunction = LONG(WINAPI*)(HKEY, LPCSTR, PHKEY);
using QueryFunction = LONG(WINAPI*)(HKEY, LPCSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD);
using SetFunction = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD);
using CloseFunction = LONG(WINAPI*)(HKEY);
const auto g_open = Advapi32<OpenFunction>("RegOpenKeyA");
const auto g_create = Advapi32<OpenFunction>("RegCreateKeyA");
const auto g_query = Advapi32<QueryFunction>("RegQueryValueExA");
const auto g_set = Advapi32<SetFunction>("RegSetValueExA");
const auto g_close = Advapi32<CloseFunction>("RegCloseKey");

std::vector<std::string> g_calls;
std::set<HKEY> g_programKeys;  // opened by the program and not yet closed
std::function<void(const std::string&)> g_beforeDataQuery;

std::string Name(LPCSTR name) { return name ? name : ""; }

LONG OpenOrCreate(OpenFunction real, const char* function, HKEY root, LPCSTR path, PHKEY key) {
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
  if (g_programKeys.count(key) || key == nullptr) {
    g_calls.push_back("RegQueryValueExA " + Name(name));
    if (data && g_beforeDataQuery) g_beforeDataQuery(Name(name));
  }
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

template <typename Function>
void Redirect(Function real, Function logged) {
  RedirectImport(reinterpret_cast<void (*)()>(real), reinterpret_cast<void (*)()>(logged));
}

// Before any test runs, the program's registry calls go through the log.
const bool g_logging = [] {
  Redirect(g_open, &LoggedOpen);
  Redirect(g_create, &LoggedCreate);
  Redirect(g_query, &LoggedQuery);
  Redirect(g_set, &LoggedSet);
  Redirect(g_close, &LoggedClose);
  return true;
}();

}  // namespace

std::vector<std::string> TakeRegistryCalls() { return std::exchange(g_calls, {}); }

void BeforeDataQuery(std::function<void(const std::string& name)> hook) { g_beforeDataQuery = std::move(hook); }
