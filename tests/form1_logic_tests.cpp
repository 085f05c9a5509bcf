// The window's texts, table, layout and registry work. Runs natively against
// the stand-in and under Wine against the real registry.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "registry/GameSettings.h"
#include "support/TestRegistry.h"
#include "ui/Form1Logic.h"

#ifndef _WIN32
#include "support/FakeRegistry.h"
#endif

using namespace std::string_literals;
using TestRegistry::DwordBytes;
using TestRegistry::Raw;
using TestRegistry::kDialog;
using TestRegistry::kGame;
using TestRegistry::kOptions;

namespace {

TEST(Form1Text, Captions) {
  EXPECT_EQ(GreetingCaption(std::nullopt), L"Welcome  to Travik");
  EXPECT_EQ(GreetingCaption(L""), L"Welcome  to Travik");
  EXPECT_EQ(GreetingCaption(L"Kestra"), L"Welcome Kestra to Travik");
  EXPECT_EQ(DesktopCaption(1024, 768), L"Windows Resolution: 1024 x 768");
  EXPECT_EQ(ResolutionCaption(640, 480), L"Current SS Resolution: 640x480");
  EXPECT_EQ(ResolutionCaption(-5, 0), L"Current SS Resolution: -5x0");
  EXPECT_EQ(ResolutionCaption(-32768, 32767), L"Current SS Resolution: -32768x32767");
  // Beyond 16 bits the whole value is shown, never wrapped.
  EXPECT_EQ(ResolutionCaption(70000, INT32_MIN), L"Current SS Resolution: 70000x-2147483648");
}

TEST(Form1Text, AboutText) {
  EXPECT_STREQ(kAboutTitle, L"TRAVIK");
  EXPECT_STREQ(kAboutText,
               L"Travik\r\n\r\nCreated by Kestra\r\n\r\nSquad: Solhame\r\n"
               L"Email: kestra@travik.example\r\nVersion: 1.00.0666a");
}

TEST(Form1Text, ParseResolutionEntry) {
  using Size = std::optional<std::pair<std::int32_t, std::int32_t>>;
  const std::pair<const wchar_t*, Size> cases[] = {
      {L"320x180", std::make_pair(320, 180)},
      {L"1024 x768", std::make_pair(1024, 768)},
      {L"  7  x  8  ", std::make_pair(7, 8)},
      {L"-5 x-6", std::make_pair(-5, -6)},
      {L"-2147483648x2147483647", std::make_pair(INT32_MIN, INT32_MAX)},
      {L"2147483648x1", std::nullopt},
      {L"99999999999999999999x1", std::nullopt},
      {L"1024", std::nullopt},
      {L"1x2x3", std::nullopt},
      {L"x768", std::nullopt},
      {L"1024 x", std::nullopt},
      {L"1024 X768", std::nullopt},
      {L"1 024x768", std::nullopt},
      {L"1e3x5", std::nullopt},
      {L"-x5", std::nullopt},
      {L"", std::nullopt},
  };
  for (const auto& [entry, expected] : cases) EXPECT_EQ(ParseResolutionEntry(entry), expected) << entry;
}

TEST(Form1Text, ResolutionTable) {
  const std::pair<int, int> expected[] = {
      {320, 180},   {320, 200},   {640, 480},   {720, 480},   {720, 576},   {800, 600},
      {960, 720},   {1024, 768},  {1152, 864},  {1280, 1024}, {1600, 1024}, {1600, 1200},
      {1792, 1344}, {1856, 1392}, {1920, 1080}, {1920, 1440}, {2048, 1536}};
  ASSERT_EQ(std::size(kResolutionTable), std::size(expected));
  EXPECT_STREQ(kResolutionTable[0], L"320x180");
  EXPECT_STREQ(kResolutionTable[16], L"2048 x1536");
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(ParseResolutionEntry(kResolutionTable[i]), expected[i]) << i;
    // One space before the "x" in every entry but the first, none after it.
    const std::wstring entry = kResolutionTable[i];
    EXPECT_EQ(entry.find(L" x") != std::wstring::npos, i != 0) << i;
    EXPECT_EQ(entry.find(L"x "), std::wstring::npos) << i;
  }
}

TEST(Form1Layout, TwipsToPixels) {
  // At 96 dpi a pixel is 15 twips, and every figure of the layout is whole.
  for (const ControlLayout& row : kLayout) {
    for (int twips : {row.left, row.top, row.width, row.height, row.maxRight}) {
      EXPECT_EQ(twips % 15, 0);
      EXPECT_EQ(TwipsToPixels(twips, 96), twips / 15);
    }
  }
  EXPECT_EQ(TwipsToPixels(kClientWidthTwips, 96), 306);
  EXPECT_EQ(TwipsToPixels(kClientHeightTwips, 96), 209);
  EXPECT_EQ(TwipsToPixels(kClientWidthTwips, 144), 459);
  EXPECT_EQ(TwipsToPixels(kClientHeightTwips, 144), 314);  // 313.5 rounds up
  EXPECT_EQ(TwipsToPixels(255, 120), 21);
  EXPECT_EQ(TwipsToPixels(4320, 192), 576);
}

class Form1LogicTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef _WIN32
    FakeRegistry::Reset();
#endif
    TestRegistry::DeleteTree(kGame);
  }
  void TearDown() override { TestRegistry::DeleteTree(kGame); }

  static void SeedResolution(std::uint32_t x, std::uint32_t y) {
    TestRegistry::SetRaw(kOptions, "ResolutionX", REG_DWORD, DwordBytes(x));
    TestRegistry::SetRaw(kOptions, "ResolutionY", REG_DWORD, DwordBytes(y));
  }
};

TEST_F(Form1LogicTest, StoringCreatesOptionsAndKeepsEverythingElse) {
  TestRegistry::SetRaw(kDialog, "PlayerName", REG_SZ, "Kestra\0"s);
  TestRegistry::SetRaw(kOptions, "Windowed", REG_DWORD, DwordBytes(1));
  TestRegistry::SetRaw(kOptions + "\\Sub", "Keep", REG_BINARY, "\x01"s);

  EXPECT_EQ(StoreResolution(L"1600 x1024"), L"Current SS Resolution: 1600x1024");
  EXPECT_EQ(TestRegistry::GetRaw(kDialog, "PlayerName"), (Raw{REG_SZ, "Kestra\0"s}));
  EXPECT_EQ(TestRegistry::GetRaw(kOptions, "Windowed"), (Raw{REG_DWORD, DwordBytes(1)}));
  EXPECT_EQ(TestRegistry::GetRaw(kOptions + "\\Sub", "Keep"), (Raw{REG_BINARY, "\x01"s}));

  TestRegistry::DeleteTree(kGame);
  EXPECT_EQ(StoreResolution(L"320x180"), L"Current SS Resolution: 320x180");
  EXPECT_TRUE(TestRegistry::KeyExists(kOptions));
}

TEST_F(Form1LogicTest, EntryThatDoesNotParseWritesNothing) {
  SeedResolution(640, 480);
  for (const wchar_t* entry : {L"1024", L"1024 x768 x1", L"abc x768", L"1024 x"}) {
    EXPECT_EQ(StoreResolution(entry), L"Current SS Resolution: 640x480") << entry;
  }
  EXPECT_EQ(TestRegistry::GetRaw(kOptions, "ResolutionX"), (Raw{REG_DWORD, DwordBytes(640)}));
  EXPECT_EQ(TestRegistry::GetRaw(kOptions, "ResolutionY"), (Raw{REG_DWORD, DwordBytes(480)}));
  TestRegistry::DeleteTree(kGame);
  EXPECT_EQ(StoreResolution(L"bad"), L"Current SS Resolution: 0x0");
  EXPECT_FALSE(TestRegistry::KeyExists(kOptions));
}

#ifndef _WIN32
TEST_F(Form1LogicTest, SelectionWritesXThenYThenReadsBoth) {
  StoreResolution(L"1024 x768");
  const std::string options = "Software\\Virgin\\SubSpace\\Options";
  const std::vector<std::string> expected = {
      "create " + options, "set ResolutionX", "close",                   //
      "create " + options, "set ResolutionY", "close",                   //
      "open " + options,   "query ResolutionX", "close",                 //
      "open " + options,   "query ResolutionY", "close"};
  EXPECT_EQ(FakeRegistry::Calls(), expected);
  EXPECT_EQ(FakeRegistry::OpenHandles(), 0);
}

TEST_F(Form1LogicTest, StartUpReadsNameThenResolution) {
  LoadGreeting();
  LoadStoredResolution();
  const std::vector<std::string> expected = {
      "open Software\\Virgin\\SubSpace\\Dialog\\",
      "open Software\\Virgin\\SubSpace\\Options",
      "open Software\\Virgin\\SubSpace\\Options"};
  EXPECT_EQ(FakeRegistry::Calls(), expected);
}

TEST_F(Form1LogicTest, LabelShowsWhatIsStoredNotWhatWasMeant) {
  SeedResolution(640, 480);
  // Another writer changes the width right after each of our writes.
  FakeRegistry::AfterSet([] { FakeRegistry::SetRaw("Software\\Virgin\\SubSpace\\Options", "ResolutionX",
                                                    REG_DWORD, DwordBytes(1234)); });
  EXPECT_EQ(StoreResolution(L"800 x600"), L"Current SS Resolution: 1234x600");
  FakeRegistry::AfterSet(nullptr);

  FakeRegistry::FailSets(true);  // e.g. access denied
  EXPECT_EQ(StoreResolution(L"1024 x768"), L"Current SS Resolution: 1234x600");
  FakeRegistry::FailSets(false);

  TestRegistry::DeleteTree(kGame);
  FakeRegistry::FailCreates(true);
  EXPECT_EQ(StoreResolution(L"1024 x768"), L"Current SS Resolution: 0x0");
}
#endif

}  // namespace
