// Plain reads and writes of single registry values. Each call opens its key,
// does one thing and closes the key again; nothing is kept between calls and
// platform errors never reach the caller.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include <windows.h>

// The value's text if it is a REG_SZ of at most 1 MiB that can be read,
// otherwise no value.
std::optional<std::wstring> ReadStringValue(HKEY root, const std::wstring& subkey,
                                            const std::wstring& valueName);

// The value if it is a 4-byte REG_DWORD, otherwise 0.
std::int32_t ReadDwordValue(HKEY root, const std::wstring& subkey, const std::wstring& valueName);

// Stores the value as REG_DWORD, creating the key and its parents if needed.
// A failure is silent: read the value back to learn what is stored.
void WriteDwordValue(HKEY root, const std::wstring& subkey, const std::wstring& valueName,
                     std::int32_t value);
