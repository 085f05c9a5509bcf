// What the program under test asks of the platform, seen and steered at its
// own imports: its registry calls (RegOpenKeyA, RegCreateKeyA,
// RegQueryValueExA, RegSetValueExA, RegCloseKey) are logged on their way to
// the real API, and its GetProcAddress can be made to find nothing of the
// per-monitor DPI functions, as on Windows before 10. It starts before main.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The calls since the last call, oldest first, each with its key path or
// value name, such as "RegQueryValueExA ResolutionX". Calls on keys that the
// program opened with other functions (the Ex ones) are left out.
std::vector<std::string> TakeRegistryCalls();

// Runs just before the program's RegQueryValueExA reads a value's data,
// with the value's name; an empty function removes it.
void BeforeDataQuery(std::function<void(const std::string& name)> hook);

// While true, GetDpiForWindow, AdjustWindowRectExForDpi and
// SystemParametersInfoForDpi are not found.
void HidePerMonitorDpi(bool hide);
