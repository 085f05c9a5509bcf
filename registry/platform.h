// The registry surface the module is written against. On Windows it is the
// real advapi32; elsewhere an in-memory stand-in provides the same five calls
// with the same types, so the module compiles unchanged.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <cstdint>

struct HKEY__;  // NOLINT(bugprone-reserved-identifier,cert-dcl37-c,cert-dcl51-cpp): the Windows name
using HKEY = HKEY__*;
using LONG = std::int32_t;
using DWORD = std::uint32_t;
using BYTE = std::uint8_t;
using LPCSTR = const char*;
using LPDWORD = DWORD*;
using LPBYTE = BYTE*;

// Predefined roots are sign-extended 32-bit numbers, as in the Windows headers.
inline HKEY PredefinedKey(std::uint32_t id) {
  return reinterpret_cast<HKEY>(static_cast<std::intptr_t>(static_cast<std::int32_t>(id)));
}
#define HKEY_CURRENT_USER (PredefinedKey(0x80000001u))

constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
constexpr DWORD REG_LINK = 6;
constexpr DWORD REG_MULTI_SZ = 7;
constexpr DWORD REG_QWORD = 11;

LONG RegOpenKeyA(HKEY root, LPCSTR subkey, HKEY* result);
LONG RegCreateKeyA(HKEY root, LPCSTR subkey, HKEY* result);
LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD size);
LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD size);
LONG RegCloseKey(HKEY key);
#endif
