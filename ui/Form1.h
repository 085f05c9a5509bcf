// Travik's one window: a greeting caption, the game's and the desktop's
// resolution, the list of resolutions to pick from, and the about hotspot.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

class Form1 {
 public:
  // Creates the window and its controls and runs the load handler. The window
  // is sized for its monitor's DPI and centred, but not yet shown.
  static HWND Create(HINSTANCE instance);

  static constexpr wchar_t kClassName[] = L"TravikForm1";

  // The Form1 behind a window made by Create, or null.
  static Form1* FromHandle(HWND hwnd);

  // The handled events; the window calls them itself.
  void Form_Load();
  void List1_Click();
  void Label3_Click();

 private:
  struct GdiDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
  };
  using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDeleter>;
  using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiDeleter>;

  explicit Form1(HWND hwnd) : hwnd_(hwnd) {}
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  bool OnCreate();
  void OnCommand(int id, int code);
  LRESULT OnCtlColorStatic(HDC dc, HWND control);
  void OnDpiChanged(UINT dpi, const RECT* suggested);
  void OnSetFocus();

  void ApplyDpi(UINT dpi);
  void SetLabelCaption(HWND label, const std::wstring& text);
  SIZE WindowSizeForDpi() const;

  HWND hwnd_;
  HWND label1_ = nullptr;
  HWND list1_ = nullptr;
  HWND label2_ = nullptr;
  HWND label3_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  Font font_;
  Font label3Font_;
  Brush label3Brush_;
};
