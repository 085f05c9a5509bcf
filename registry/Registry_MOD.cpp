#include "Registry_MOD.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "common/UniqueHandle.h"

namespace {

constexpr DWORD kLargestText = 1024 * 1024;

// The registry's "A" calls take and give text in the system's ANSI code page.
std::string ToAnsi(std::wstring_view text) {
  if (text.empty() || text.size() > INT_MAX) return {};
  const int length = static_cast<int>(text.size());
  const int needed = WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string bytes(static_cast<size_t>(needed), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), length, bytes.data(), needed, nullptr, nullptr);
  return bytes;
}

std::wstring FromAnsi(std::string_view bytes) {
  if (bytes.empty() || bytes.size() > INT_MAX) return {};
  const int length = static_cast<int>(bytes.size());
  const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring text(static_cast<size_t>(needed), L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), needed);
  return text;
}

}  // namespace

std::optional<std::wstring> ReadStringValue(HKEY root, const std::wstring& subkey,
                                            const std::wstring& valueName) {
  const std::string path = ToAnsi(subkey);
  const std::string name = ToAnsi(valueName);

  UniqueHkey key;
  if (RegOpenKeyA(root, path.c_str(), key.put()) != ERROR_SUCCESS) return std::nullopt;

  DWORD type = 0;
  DWORD size = 0;
  RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size);
  // The size comes from whoever wrote the value. No text beyond the largest
  // value of the registry's standard format is a name; it is not even read.
  if (type != REG_SZ || size > kLargestText) return std::nullopt;

  const std::unique_ptr<char[]> buffer(new (std::nothrow) char[size == 0 ? 1 : size]);
  if (!buffer) return std::nullopt;
  std::memset(buffer.get(), ' ', size);

  // Another program may have replaced the value since the first query: only
  // bytes that were read as REG_SZ are text.
  DWORD secondType = 0;
  DWORD filled = size;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &secondType,
                       reinterpret_cast<BYTE*>(buffer.get()), &filled) != ERROR_SUCCESS ||
      secondType != REG_SZ)
    return std::nullopt;

  // Only the bytes the query reports are data; the text ends at the first NUL
  // or, for a value stored without one, at the end of the data.
  const std::wstring text = FromAnsi(std::string_view(buffer.get(), std::min(filled, size)));
  return text.substr(0, text.find(L'\0'));
}

std::int32_t ReadDwordValue(HKEY root, const std::wstring& subkey, const std::wstring& valueName) {
  const std::string path = ToAnsi(subkey);
  const std::string name = ToAnsi(valueName);

  UniqueHkey key;
  if (RegOpenKeyA(root, path.c_str(), key.put()) != ERROR_SUCCESS) return 0;

  DWORD type = 0;
  std::uint32_t data = 0;
  DWORD size = sizeof data;
  const LONG status =
      RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
  // A DWORD stored with fewer than four bytes would leave part of the number
  // unwritten; it is as unusable as a value of the wrong type.
  if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof data) return 0;
  return static_cast<std::int32_t>(data);
}

void WriteDwordValue(HKEY root, const std::wstring& subkey, const std::wstring& valueName,
                     std::int32_t value) {
  const std::string path = ToAnsi(subkey);
  const std::string name = ToAnsi(valueName);

  UniqueHkey key;
  if (RegCreateKeyA(root, path.c_str(), key.put()) != ERROR_SUCCESS) return;

  // Registry DWORDs are little-endian, as is every Windows target.
  const auto data = static_cast<std::uint32_t>(value);
  RegSetValueExA(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                 sizeof data);
}
