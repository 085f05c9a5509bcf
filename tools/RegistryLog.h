// A log of the registry calls this program makes through its imports of
// RegOpenKeyA, RegCreateKeyA, RegQueryValueExA, RegSetValueExA and
// RegCloseKey, for tests. It starts before main; the calls still reach the
// real API.
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

