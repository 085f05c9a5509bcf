// What Form1 shows and does, apart from the window itself: texts, the
// resolution table, the layout, and the registry work behind each event.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// Control identifiers, in tab order.
enum ControlId : int { kLabel1 = 101, kList1 = 102, kLabel2 = 103, kLabel3 = 104 };

// One row of the window's layout, in twips relative to the client area.
// Labels may grow to maxRight when their text needs it.
struct ControlLayout {
  ControlId id;
  int left, top, width, height;
  int maxRight;
};

inline constexpr int kClientWidthTwips = 4590;
inline constexpr int kClientHeightTwips = 3135;

inline constexpr ControlLayout kLayout[] = {
    {kLabel1, 120, 0, 3975, 255, 4320},  // stops where Label3 begins
    {kList1, 0, 720, 4575, 2400, 4575},
    {kLabel2, 120, 360, 2535, 255, kClientWidthTwips},
    {kLabel3, 4320, 0, 495, 255, 4320 + 495},  // its right part is clipped by the frame
};

const ControlLayout& LayoutOf(ControlId id);

// 1440 twips to the inch, rounded to the nearest pixel.
int TwipsToPixels(int twips, unsigned dpi);

inline constexpr wchar_t kInitialCaption[] = L"TRAVIK";
inline constexpr wchar_t kLabel1Design[] = L"Label1";
inline constexpr wchar_t kLabel2Design[] = L"Current Win Resolution: N/A";
inline constexpr wchar_t kLabel3Caption[] = L"\u00BAo\u00BA";

inline constexpr const wchar_t* kResolutionTable[] = {
    L"320x180",    L"320 x200",   L"640 x480",   L"720 x480",   L"720 x576",   L"800 x600",
    L"960 x720",   L"1024 x768",  L"1152 x864",  L"1280 x1024", L"1600 x1024", L"1600 x1200",
    L"1792 x1344", L"1856 x1392", L"1920 x1080", L"1920 x1440", L"2048 x1536"};

std::wstring GreetingCaption(const std::optional<std::wstring>& playerName);
std::wstring DesktopCaption(int width, int height);
std::wstring ResolutionCaption(std::int32_t x, std::int32_t y);

// Width and height of a table entry: exactly two parts around a lowercase
// "x", each a whole 32-bit number with optional surrounding spaces.
std::optional<std::pair<std::int32_t, std::int32_t>> ParseResolutionEntry(std::wstring_view entry);

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

// Registry work of the events; each returns the caption to show.
std::wstring LoadGreeting();
std::wstring LoadStoredResolution();
// Stores the entry's width and height, in that order, and reads both back.
// An entry that does not parse writes nothing.
std::wstring StoreResolution(std::wstring_view entry);
