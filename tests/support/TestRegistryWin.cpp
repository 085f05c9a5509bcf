#include <windows.h>

#include "TestRegistry.h"

namespace TestRegistry {

void DeleteTree(const std::string& path) {
  RegDeleteTreeA(HKEY_CURRENT_USER, path.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
}

void SetRaw(const std::string& path, const std::string& name, DWORD type, const std::string& bytes) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    return;
  // The registry counts a NUL that directly follows string data as part of
  // it; a guard byte keeps the stored size exactly what the test asked for.
  std::string data = bytes + 'G';
  RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                 static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

std::optional<Raw> GetRaw(const std::string& path, const std::string& name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return std::nullopt;
  Raw raw;
  DWORD size = 0;
  LONG status = RegQueryValueExA(key, name.c_str(), nullptr, &raw.type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    raw.bytes.assign(size, '\0');
    status = RegQueryValueExA(key, name.c_str(), nullptr, &raw.type,
                              reinterpret_cast<BYTE*>(raw.bytes.data()), &size);
    raw.bytes.resize(size);
  }
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return raw;
}

bool KeyExists(const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

}  // namespace TestRegistry
