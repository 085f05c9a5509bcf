// Whatever another program stored under the game's keys, the window starts
// and shows well-formed texts. Every value type and a range of sizes, for each
// of the three values the program reads, through the real registry API.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "support/TestRegistry.h"
#include "support/WindowTest.h"
#include "ui/Form1.h"
#include "ui/Form1Logic.h"

using TestRegistry::kDialog;
using TestRegistry::kGame;
using TestRegistry::kOptions;
using WindowTest::Text;

namespace {

constexpr DWORD kTypes[] = {REG_NONE,  REG_SZ,               REG_EXPAND_SZ, REG_BINARY,
                            REG_DWORD, REG_DWORD_BIG_ENDIAN, REG_MULTI_SZ,  REG_QWORD};
constexpr size_t kSizes[] = {0, 1, 2, 3, 4, 5, 8, 1 << 20};

// Data of the given size: letters, a byte above 0x7F and one the Windows-1252
// code page leaves undefined, with a NUL at `nulAt` if it falls inside.
std::string Data(size_t size, size_t nulAt) {
  static const char kPattern[] = {'K', 'e', '\xBA', '\x81', 's'};
  std::string data(size, '\0');
  for (size_t i = 0; i < size; ++i) data[i] = i == nulAt ? '\0' : kPattern[i % sizeof kPattern];
  return data;
}

// The same text as the program should read it, decoded by hand.
std::wstring Decoded(const std::string& data) {
  std::wstring text;
  for (char c : data) {
    if (c == '\0') break;
    text += static_cast<wchar_t>(static_cast<unsigned char>(c));  // these bytes map to themselves
  }
  return text;
}

std::int32_t AsNumber(DWORD type, const std::string& data) {
  if (type != REG_DWORD || data.size() != 4) return 0;
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = v << 8 | static_cast<unsigned char>(data[static_cast<size_t>(i)]);
  return static_cast<std::int32_t>(v);
}

struct Shown {
  std::wstring caption, label1, label2;
};

Shown StartWindow() {
  HWND form = Form1::Create(GetModuleHandleW(nullptr));
  EXPECT_TRUE(form);
  if (!form) return {};
  Shown shown{Text(form), Text(GetDlgItem(form, kLabel1)), Text(GetDlgItem(form, kLabel2))};
  DestroyWindow(form);
  WindowTest::Pump();
  return shown;
}

enum class Target { kPlayerName, kResolutionX, kResolutionY };

void PrintTo(Target target, std::ostream* os) { *os << static_cast<int>(target); }

class BadDataTest : public ::testing::TestWithParam<std::tuple<Target, DWORD>> {
 protected:
  void SetUp() override { TestRegistry::DeleteTree(kGame); }
  void TearDown() override { TestRegistry::DeleteTree(kGame); }
};

TEST_P(BadDataTest, WindowShowsWellFormedTexts) {
  const auto [target, type] = GetParam();
  const std::wstring desktop = DesktopCaption(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  for (size_t size : kSizes) {
    // No terminator, a terminator at the end, and one in the middle.
    std::set<size_t> placements = {size, size / 2};
    if (size > 0) placements.insert(size - 1);
    for (size_t nulAt : placements) {
      SCOPED_TRACE("size " + std::to_string(size) + ", NUL at " + std::to_string(nulAt));
      const std::string data = Data(size, nulAt);
      TestRegistry::DeleteTree(kGame);
      std::wstring name;
      std::int32_t x = 0, y = 0;
      switch (target) {
        case Target::kPlayerName:
          TestRegistry::SetRaw(kDialog, "PlayerName", type, data);
          if (type == REG_SZ) name = Decoded(data);
          break;
        case Target::kResolutionX:
          TestRegistry::SetRaw(kOptions, "ResolutionX", type, data);
          x = AsNumber(type, data);
          break;
        case Target::kResolutionY:
          TestRegistry::SetRaw(kOptions, "ResolutionY", type, data);
          y = AsNumber(type, data);
          break;
      }
      const Shown shown = StartWindow();
      EXPECT_EQ(shown.caption, GreetingCaption(name));
      EXPECT_EQ(shown.label1, ResolutionCaption(x, y));
      EXPECT_EQ(shown.label2, desktop);
    }
  }
}

std::string CaseName(const ::testing::TestParamInfo<std::tuple<Target, DWORD>>& param) {
  static const char* const kTargets[] = {"PlayerName", "ResolutionX", "ResolutionY"};
  return std::string(kTargets[static_cast<int>(std::get<0>(param.param))]) + "_type" +
         std::to_string(std::get<1>(param.param));
}

INSTANTIATE_TEST_SUITE_P(
    Matrix, BadDataTest,
    ::testing::Combine(::testing::Values(Target::kPlayerName, Target::kResolutionX, Target::kResolutionY),
                       ::testing::ValuesIn(kTypes)),
    CaseName);

TEST(BadData, GameKeysPresentButEmpty) {
  TestRegistry::DeleteTree(kGame);
  TestRegistry::SetRaw(kDialog, "Other", REG_SZ, std::string("x\0", 2));
  TestRegistry::SetRaw(kOptions, "Other", REG_DWORD, TestRegistry::DwordBytes(1));
  const Shown shown = StartWindow();
  EXPECT_EQ(shown.caption, L"Welcome  to Travik");
  EXPECT_EQ(shown.label1, L"Current SS Resolution: 0x0");
  TestRegistry::DeleteTree(kGame);
}

}  // namespace
