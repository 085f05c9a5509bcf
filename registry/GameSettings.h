// Where SubSpace keeps the settings Travik reads and writes. The paths are
// passed to the registry exactly as the game wrote them: the Dialog path keeps
// its trailing backslash.
#pragma once

#include <windows.h>

namespace GameSettings {

// A constant handle, which is what is meant here.
inline const HKEY kRoot = HKEY_CURRENT_USER;  // NOLINT(misc-misplaced-const)

inline constexpr wchar_t kDialogKey[] = L"Software\\Virgin\\SubSpace\\Dialog\\";
inline constexpr wchar_t kOptionsKey[] = L"Software\\Virgin\\SubSpace\\Options";

inline constexpr wchar_t kPlayerName[] = L"PlayerName";
inline constexpr wchar_t kResolutionX[] = L"ResolutionX";
inline constexpr wchar_t kResolutionY[] = L"ResolutionY";

}  // namespace GameSettings
