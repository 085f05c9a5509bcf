// Travik's one window: a greeting caption, the game's and the desktop's
// resolution, the list of resolutions to pick from, and the about hotspot.
// Each handled event has its handler; everything else is the system's.
#pragma once

#include <windows.h>

#include <string>

#include "registry/UniqueHandle.h"

class Form1 {
 public:
  // Creates the window and its controls and runs the load handler. The window
  // is sized for its monitor's DPI and centred, but not yet shown.
  static HWND Create(HINSTANCE instance);

 private:
  explicit Form1(HWND hwnd) : hwnd_(hwnd) {}
  static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // The program's own events.
  void Form_Load();
  void List1_Click();
  void Label3_Click();

  // The window's events.
  bool OnCreate();
  void OnCommand(int id, int code);
  LRESULT OnCtlColorStatic(HDC dc, HWND control);
  void OnDpiChanged(UINT dpi, const RECT* suggested);
  void OnSize(UINT kind);
  void OnSetFocus();

  void ShowStoredResolution();
  void ApplyDpi(UINT dpi);
  void SetLabelCaption(HWND label, const std::wstring& text);
  SIZE WindowSizeForDpi() const;

  HWND hwnd_;
  HWND label1_ = nullptr;
  HWND list1_ = nullptr;
  HWND label2_ = nullptr;
  HWND label3_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  UniqueFont font_;
  UniqueFont label3Font_;
  UniqueBrush label3Brush_;
};
