// Helpers for tests that create the real Form1 and drive it with messages.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace WindowTest {

// Delivers whatever is queued for this thread (a WM_QUIT left by a closed
// window included), for about the given time.
void Pump(DWORD milliseconds = 0);

std::wstring Text(HWND hwnd);
std::vector<std::wstring> ListEntries(HWND list);

// A control's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);

// The top-level window of this process with the given class and title.
HWND FindOwnWindow(const wchar_t* className, const wchar_t* title);

// The text of a message box: its static control with id 0xFFFF.
std::wstring MessageBoxText(HWND box);

}  // namespace WindowTest
