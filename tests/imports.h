// What the program under test asks of the platform, seen and steered at its
// own imports: its registry calls (RegOpenKeyA, RegCreateKeyA,
// RegQueryValueExA, RegSetValueExA, RegCloseKey) are logged on their way to
// the real API, its message boxes are logged and closed as soon as they
// show, its GetProcAddress can be made to find nothing of the per-monitor DPI
// functions, as on Windows before 10, and its GetSystemMenu can give a system
// menu without Wine's own items, as on Windows. It starts before main.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The calls since the last call, oldest first, each with its key path or
// value name, such as "RegQueryValueExA ResolutionX". Calls on keys that the
// program opened with other functions (the Ex ones) are left out.
std::vector<std::string> TakeRegistryCalls();

// The message boxes shown since the last call: each is a real one, closed
// with OK from inside its own message loop, and noted with how many of the
// program's boxes were open at once when it was.
struct MessageBoxCall {
  HWND owner;
  std::wstring text, title;
  UINT type;
  int openAtOnce;
};
std::vector<MessageBoxCall> TakeMessageBoxes();

// While true, GetDpiForWindow, AdjustWindowRectExForDpi and
// SystemParametersInfoForDpi are not found.
void HidePerMonitorDpi(bool hide);

// While true, the system menu the program gets has no "About Wine" item.
void WindowsSystemMenu(bool windows);
