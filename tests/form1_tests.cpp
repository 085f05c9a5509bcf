// The real window, created in this process under Wine and driven by messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/TestRegistry.h"
#include "support/WindowTest.h"
#include "ui/Form1.h"
#include "ui/Form1Logic.h"

using namespace std::string_literals;
using TestRegistry::DwordBytes;
using TestRegistry::Raw;
using TestRegistry::kDialog;
using TestRegistry::kGame;
using TestRegistry::kOptions;
using WindowTest::ChildRect;
using WindowTest::Text;

namespace {

class Form1Test : public ::testing::Test {
 protected:
  void SetUp() override { TestRegistry::DeleteTree(kGame); }
  void TearDown() override {
    if (form_) DestroyWindow(form_);
    WindowTest::Pump();
    TestRegistry::DeleteTree(kGame);
  }

  HWND Open() {
    form_ = Form1::Create(GetModuleHandleW(nullptr));
    return form_;
  }
  HWND Control(ControlId id) const { return GetDlgItem(form_, id); }

  HWND form_ = nullptr;
};

struct StartCase {
  const char* label;
  std::optional<Raw> playerName;
  std::optional<std::pair<std::uint32_t, std::uint32_t>> resolution;
  const wchar_t* caption;
  const wchar_t* label1;
};

void PrintTo(const StartCase& c, std::ostream* os) { *os << c.label; }

class Form1StartTest : public Form1Test, public ::testing::WithParamInterface<StartCase> {};

TEST_P(Form1StartTest, FillsTheWindowAndWritesNothing) {
  const StartCase& c = GetParam();
  if (c.playerName) TestRegistry::SetRaw(kDialog, "PlayerName", c.playerName->type, c.playerName->bytes);
  if (c.resolution) {
    TestRegistry::SetRaw(kOptions, "ResolutionX", REG_DWORD, DwordBytes(c.resolution->first));
    TestRegistry::SetRaw(kOptions, "ResolutionY", REG_DWORD, DwordBytes(c.resolution->second));
  }
  const auto before = std::make_tuple(TestRegistry::KeyExists(kDialog), TestRegistry::KeyExists(kOptions),
                                      TestRegistry::GetRaw(kOptions, "ResolutionX"),
                                      TestRegistry::GetRaw(kOptions, "ResolutionY"));
  ASSERT_TRUE(Open());

  EXPECT_EQ(Text(form_), c.caption);
  EXPECT_EQ(Text(Control(kLabel1)), c.label1);
  EXPECT_EQ(Text(Control(kLabel2)),
            DesktopCaption(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_EQ(Text(Control(kLabel3)), L"\u00BAo\u00BA");
  EXPECT_FALSE(IsWindowVisible(form_)) << "shown only after loading";

  const auto after = std::make_tuple(TestRegistry::KeyExists(kDialog), TestRegistry::KeyExists(kOptions),
                                     TestRegistry::GetRaw(kOptions, "ResolutionX"),
                                     TestRegistry::GetRaw(kOptions, "ResolutionY"));
  EXPECT_EQ(before, after);
}

INSTANTIATE_TEST_SUITE_P(
    Form1, Form1StartTest,
    ::testing::Values(
        StartCase{"Empty", std::nullopt, std::nullopt, L"Welcome  to Travik",
                  L"Current SS Resolution: 0x0"},
        StartCase{"Stored", Raw{REG_SZ, "Kestra\0"s}, std::make_pair(640u, 480u),
                  L"Welcome Kestra to Travik", L"Current SS Resolution: 640x480"},
        StartCase{"ExpandSzName", Raw{REG_EXPAND_SZ, "Kestra\0"s}, std::nullopt,
                  L"Welcome  to Travik", L"Current SS Resolution: 0x0"},
        StartCase{"AnsiName", Raw{REG_SZ, "J\xF6rg & Co\0"s}, std::nullopt,
                  L"Welcome J\u00F6rg & Co to Travik", L"Current SS Resolution: 0x0"},
        StartCase{"Negative", std::nullopt, std::make_pair(0xFFFFFFFFu, 0xFFFF8000u),
                  L"Welcome  to Travik", L"Current SS Resolution: -1x-32768"},
        StartCase{"Beyond16Bits", std::nullopt, std::make_pair(70000u, 0x80000000u),
                  L"Welcome  to Travik", L"Current SS Resolution: 70000x-2147483648"}),
    [](const auto& param) { return std::string(param.param.label); });

TEST_F(Form1Test, ControlsInTabOrderWithTheResolutionTable) {
  ASSERT_TRUE(Open());
  std::vector<int> ids;
  for (HWND child = GetWindow(form_, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    ids.push_back(GetDlgCtrlID(child));
  EXPECT_EQ(ids, (std::vector<int>{kLabel1, kList1, kLabel2, kLabel3}));

  HWND list = Control(kList1);
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(list, GWL_STYLE));
  EXPECT_TRUE(style & LBS_NOTIFY);
  EXPECT_TRUE(style & LBS_NOINTEGRALHEIGHT);
  EXPECT_FALSE(style & (LBS_SORT | LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  for (ControlId id : {kLabel1, kLabel2, kLabel3})
    EXPECT_FALSE(GetWindowLongPtrW(Control(id), GWL_STYLE) & WS_TABSTOP) << id;
  EXPECT_TRUE(style & WS_TABSTOP);

  const auto entries = WindowTest::ListEntries(list);
  ASSERT_EQ(entries.size(), std::size(kResolutionTable));
  for (size_t i = 0; i < entries.size(); ++i) EXPECT_EQ(entries[i], kResolutionTable[i]);
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR) << "nothing selected at start";
}

TEST_F(Form1Test, ListHasTheFocusWhenShown) {
  ASSERT_TRUE(Open());
  ShowWindow(form_, SW_SHOWNORMAL);
  SetForegroundWindow(form_);
  WindowTest::Pump(100);
  EXPECT_EQ(GetFocus(), Control(kList1));
}

// Positions follow the twips table at the window's DPI; the labels may only
// have grown to fit their text.
void ExpectLayout(HWND form, UINT dpi) {
  // The frame is sized for the DPI. A faked DPI change leaves the frame drawn
  // at the old DPI, so the outer size is what is checked.
  RECT expected{0, 0, TwipsToPixels(kClientWidthTwips, dpi), TwipsToPixels(kClientHeightTwips, dpi)};
  using ForDpi = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
  const auto forDpi = reinterpret_cast<ForDpi>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "AdjustWindowRectExForDpi")));
  ASSERT_TRUE(forDpi);
  const RECT client = expected;
  forDpi(&expected, static_cast<DWORD>(GetWindowLongPtrW(form, GWL_STYLE)), FALSE, 0, dpi);
  RECT window;
  GetWindowRect(form, &window);
  EXPECT_EQ(window.right - window.left, expected.right - expected.left);
  EXPECT_EQ(window.bottom - window.top, expected.bottom - expected.top);
  if (dpi == 96) {
    RECT actual;
    GetClientRect(form, &actual);
    EXPECT_EQ(actual.right, client.right);
    EXPECT_EQ(actual.bottom, client.bottom);
  }
  for (const ControlLayout& row : kLayout) {
    HWND control = GetDlgItem(form, row.id);
    const RECT r = ChildRect(control);
    EXPECT_EQ(r.left, TwipsToPixels(row.left, dpi)) << row.id;
    EXPECT_EQ(r.top, TwipsToPixels(row.top, dpi)) << row.id;
    EXPECT_EQ(r.bottom - r.top, TwipsToPixels(row.height, dpi)) << row.id;
    EXPECT_GE(r.right - r.left, TwipsToPixels(row.width, dpi)) << row.id;
    EXPECT_LE(r.right, TwipsToPixels(row.maxRight, dpi)) << row.id;
  }
  EXPECT_EQ(ChildRect(GetDlgItem(form, kList1)).right, TwipsToPixels(4575, dpi));
  EXPECT_GT(ChildRect(GetDlgItem(form, kLabel3)).right, client.right) << "clipped by the frame";
}

// Every label's text fits on its one line.
void ExpectTextsFit(HWND form) {
  for (ControlId id : {kLabel1, kLabel2}) {
    HWND label = GetDlgItem(form, id);
    HDC dc = GetDC(label);
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0)));
    const std::wstring text = Text(label);
    SIZE size;
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    ReleaseDC(label, dc);
    const RECT r = ChildRect(label);
    EXPECT_LE(size.cx, r.right - r.left) << id;
  }
}

TEST_F(Form1Test, LayoutAt96AndAfterMovingTo144Dpi) {
  TestRegistry::SetRaw(kOptions, "ResolutionX", REG_DWORD, DwordBytes(1920));
  TestRegistry::SetRaw(kOptions, "ResolutionY", REG_DWORD, DwordBytes(1080));
  ASSERT_TRUE(Open());
  ExpectLayout(form_, 96);
  ExpectTextsFit(form_);

  RECT suggested{100, 100, 700, 600};
  SendMessageW(form_, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  ExpectLayout(form_, 144);
  ExpectTextsFit(form_);
  RECT window;
  GetWindowRect(form_, &window);
  EXPECT_EQ(window.left, 100);
  EXPECT_EQ(window.top, 100);

  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(Control(kLabel3), WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_EQ(font.lfHeight, -24);  // 12 pt at 144 dpi
}

TEST_F(Form1Test, HotspotFontAndColour) {
  ASSERT_TRUE(Open());
  HWND label3 = Control(kLabel3);
  LOGFONTW font{};
  GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(label3, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(font.lfFaceName, L"Times New Roman");
  EXPECT_EQ(font.lfWeight, 700);
  EXPECT_EQ(font.lfHeight, -16);  // 12 pt at 96 dpi
  EXPECT_EQ(font.lfCharSet, 0);
  EXPECT_TRUE(GetWindowLongPtrW(label3, GWL_STYLE) & SS_NOTIFY);

  HDC dc = GetDC(label3);
  const auto brush = reinterpret_cast<HBRUSH>(
      SendMessageW(form_, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(label3)));
  EXPECT_EQ(GetBkColor(dc), 0x0000FFFFu);
  LOGBRUSH logBrush{};
  GetObjectW(brush, sizeof logBrush, &logBrush);
  EXPECT_EQ(logBrush.lbColor, 0x0000FFFFu);
  EXPECT_NE(GetTextColor(dc), GetBkColor(dc));
  ReleaseDC(label3, dc);
}

TEST_F(Form1Test, FrameIsFixedWithIconAndMinimiseButton) {
  ASSERT_TRUE(Open());
  const auto style = static_cast<DWORD>(GetWindowLongPtrW(form_, GWL_STYLE));
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & (WS_THICKFRAME | WS_MAXIMIZEBOX));
  EXPECT_NE(GetClassLongPtrW(form_, GCLP_HICON), 0);

  // Centred on the work area.
  RECT window, work;
  GetWindowRect(form_, &window);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((window.left + window.right) / 2, (work.left + work.right) / 2, 1);
  EXPECT_NEAR((window.top + window.bottom) / 2, (work.top + work.bottom) / 2, 1);
}

TEST(Resources, IconGroupOneHoldsImage30001) {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC group = FindResourceW(self, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14));
  ASSERT_TRUE(group);
  const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(self, group)));
  ASSERT_EQ(SizeofResource(self, group), 20u);
  EXPECT_EQ(dir[4], 1);                          // one image
  EXPECT_EQ(dir[6], 32);                         // 32 wide
  EXPECT_EQ(dir[7], 32);                         // 32 high
  EXPECT_EQ(dir[12] | dir[13] << 8, 8);          // 8 bits per pixel
  EXPECT_EQ(dir[18] | dir[19] << 8, 30001);      // the image's number
  HRSRC image = FindResourceW(self, MAKEINTRESOURCEW(30001), MAKEINTRESOURCEW(3));
  ASSERT_TRUE(image);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(self, image)));
  EXPECT_EQ(header->biWidth, 32);
  EXPECT_EQ(header->biBitCount, 8);
}

TEST(Resources, VersionRecord) {
  wchar_t path[MAX_PATH];
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  DWORD ignored = 0;
  std::vector<BYTE> data(GetFileVersionInfoSizeW(path, &ignored));
  ASSERT_FALSE(data.empty());
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, static_cast<DWORD>(data.size()), data.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(fixed->dwFileOS, static_cast<DWORD>(VOS__WINDOWS32));

  const std::pair<const wchar_t*, const wchar_t*> strings[] = {
      {L"FileVersion", L"1.00"},      {L"ProductVersion", L"1.00"},
      {L"ProductName", L"travik"},    {L"InternalName", L"travik"},
      {L"OriginalFilename", L"travik.exe"}};
  for (const auto& [name, expected] : strings) {
    wchar_t* value = nullptr;
    const std::wstring key = L"\\StringFileInfo\\040904B0\\"s + name;
    ASSERT_TRUE(VerQueryValueW(data.data(), key.c_str(), reinterpret_cast<void**>(&value), &size)) << name;
    EXPECT_STREQ(value, expected);
  }
  wchar_t* company = nullptr;
  EXPECT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040904B0\\CompanyName",
                             reinterpret_cast<void**>(&company), &size));
}

}  // namespace
