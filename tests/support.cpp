#include "support.h"

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

using SetValue = LONG(WINAPI*)(HKEY, LPCSTR, DWORD, DWORD, const BYTE*, DWORD);
SetValue g_realSet = nullptr;
std::vector<std::string> g_storedNames;

LONG WINAPI LoggedSet(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
  g_storedNames.emplace_back(name ? name : "");
  return g_realSet(key, name, reserved, type, data, size);
}

}  // namespace

std::vector<std::string> TakeStoredNames() {
  if (!g_realSet) {
    const auto real = reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "RegSetValueExA"));
    g_realSet = reinterpret_cast<SetValue>(real);
    RedirectImport(real, reinterpret_cast<void (*)()>(&LoggedSet));
  }
  return std::exchange(g_storedNames, {});
}
