#include <windows.h>

#include "ui/Form1.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  HWND form = Form1::Create(instance);
  if (form == nullptr) return 1;
  ShowWindow(form, show);
  UpdateWindow(form);

  MSG msg{};
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (IsDialogMessageW(form, &msg)) continue;  // Tab and arrow keys as in a dialog
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
