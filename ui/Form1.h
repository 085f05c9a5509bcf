// Travik's one window: a greeting caption, the game's and the desktop's
// resolution, the list of resolutions to pick from, and the about hotspot.
// Each handled event has its handler; everything else is the system's.
#pragma once

#include <windows.h>

#include <string>

#include "common/UniqueHandle.h"

struct ControlLayout;

class Form1 {
 public:
  // Creates the window and its controls and runs the load handler. The window
  // is sized for its monitor's DPI and the player's text size, and centred,
  // but not yet shown.
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
  bool OnSysCommand(WPARAM command);
  LRESULT OnCtlColorStatic(HDC dc, HWND control);
  void OnDpiChanged(UINT dpi, const RECT* suggested);
  void OnGetDpiScaledSize(UINT dpi, SIZE* size) const;
  void OnSettingChange();
  void OnSize(UINT kind);
  void OnSetFocus();

  bool CreateControls();
  void AddAboutToSystemMenu();
  void CentreOnMonitor();
  void ShowStoredResolution();
  void ApplyDpi(UINT dpi);
  void KeepPlaceAndResize();
  void SetLabelCaption(const ControlLayout& label, const std::wstring& text);

  HWND hwnd_;
  HWND label1_ = nullptr;
  HWND list1_ = nullptr;
  HWND label2_ = nullptr;
  HWND label3_ = nullptr;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  // The DPI the layout's twips are converted at: dpi_, or more where the
  // player's text is larger than a label's line.
  UINT layoutDpi_ = USER_DEFAULT_SCREEN_DPI;
  LOGFONTW messageFont_{};
  UniqueFont font_;
  UniqueFont label3Font_;
  UniqueBrush label3Brush_;
};
