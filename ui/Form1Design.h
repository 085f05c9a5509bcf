// Form1's fixed design: its controls and their layout, its texts and the
// table of resolutions. The window is built from it, and tools read the
// window by its names and numbers.
#pragma once

inline constexpr wchar_t kForm1Class[] = L"TravikForm1";

// Control identifiers, in tab order.
enum ControlId : int { kLabel1 = 101, kList1 = 102, kLabel2 = 103, kLabel3 = 104 };  // NOLINT(performance-enum-size): ints, as the system's IDs

// One row of the layout, in twips relative to the client area. A label may
// grow to maxRight when its text needs it.
struct ControlLayout {
  ControlId id;
  int left, top, width, height;
  int maxRight;
};

inline constexpr int kClientWidthTwips = 4590;
inline constexpr int kClientHeightTwips = 3135;

inline constexpr ControlLayout kLabel1Layout{kLabel1, 120, 0, 3975, 255, 4320};  // stops where Label3 begins
inline constexpr ControlLayout kList1Layout{kList1, 0, 720, 4575, 2400, 4575};
inline constexpr ControlLayout kLabel2Layout{kLabel2, 120, 360, 2535, 255, kClientWidthTwips};
inline constexpr ControlLayout kLabel3Layout{kLabel3, 4320, 0, 495, 255, 4320 + 495};  // clipped by the frame
inline constexpr ControlLayout kLayout[] = {kLabel1Layout, kList1Layout, kLabel2Layout, kLabel3Layout};

inline constexpr wchar_t kInitialCaption[] = L"TRAVIK";
inline constexpr wchar_t kLabel1Design[] = L"Label1";
inline constexpr wchar_t kLabel2Design[] = L"Current Win Resolution: N/A";
inline constexpr wchar_t kLabel3Caption[] = L"\u00BAo\u00BA";
inline constexpr unsigned long kLabel3Colour = 0x0000FFFF;  // a COLORREF: red 255, green 255

inline constexpr const wchar_t* kResolutionTable[] = {
    L"320x180",    L"320 x200",   L"640 x480",   L"720 x480",   L"720 x576",   L"800 x600",
    L"960 x720",   L"1024 x768",  L"1152 x864",  L"1280 x1024", L"1600 x1024", L"1600 x1200",
    L"1792 x1344", L"1856 x1392", L"1920 x1080", L"1920 x1440", L"2048 x1536"};

inline constexpr wchar_t kAboutTitle[] = L"TRAVIK";
inline constexpr wchar_t kAboutMenuItem[] = L"&About Travik...";
inline constexpr wchar_t kAboutText[] =
    L"Travik\r\n"
    L"\r\n"
    L"Created by Kestra\r\n"
    L"\r\n"
    L"Squad: Solhame\r\n"
    L"Email: kestra@travik.example\r\n"
    L"Version: 1.00.0666a";
