// Runs natively against the stand-in and under Wine against advapi32: any
// difference between the two shows up here.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "registry/GameSettings.h"
#include "registry/Registry_MOD.h"
#include "support/TestRegistry.h"

#ifndef _WIN32
#include "support/FakeRegistry.h"
#endif

using namespace std::string_literals;
using TestRegistry::DwordBytes;

namespace {

const std::string kBase = "Software\\TravikTests";
const std::wstring kWBase = L"Software\\TravikTests";

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef _WIN32
    FakeRegistry::Reset();
#endif
    TestRegistry::DeleteTree(kBase);
  }
  void TearDown() override {
    TestRegistry::DeleteTree(kBase);
#ifndef _WIN32
    EXPECT_EQ(FakeRegistry::OpenHandles(), 0) << "a key handle was not closed";
#endif
  }
};

struct StringCase {
  const char* label;
  DWORD type;
  std::string bytes;
  std::optional<std::wstring> expected;
};

void PrintTo(const StringCase& c, std::ostream* os) { *os << c.label; }

class StringValueTest : public RegistryTest, public ::testing::WithParamInterface<StringCase> {};

TEST_P(StringValueTest, ReadsStoredData) {
  const StringCase& c = GetParam();
  TestRegistry::SetRaw(kBase, "Value", c.type, c.bytes);
  EXPECT_EQ(ReadStringValue(HKEY_CURRENT_USER, kWBase, L"Value"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, StringValueTest,
    ::testing::Values(
        StringCase{"Plain", REG_SZ, "Kestra\0"s, L"Kestra"},
        StringCase{"EmptyWithTerminator", REG_SZ, "\0"s, L""},
        StringCase{"ZeroBytes", REG_SZ, "", L""},
        StringCase{"NoTerminator", REG_SZ, "abc", L"abc"},
        StringCase{"EmbeddedNul", REG_SZ, "ab\0cd\0"s, L"ab"},
        StringCase{"OnlyNuls", REG_SZ, "\0\0\0"s, L""},
        StringCase{"AnsiLatin", REG_SZ, "J\xF6rg\0"s, L"J\u00F6rg"},
        StringCase{"AnsiHighBlock", REG_SZ, "\x80\xBAo\xBA\0"s, L"\u20AC\u00BAo\u00BA"},
        StringCase{"UndefinedAnsiByte", REG_SZ, "a\x81z\0"s, L"a\u0081z"},
        StringCase{"Longer32767", REG_SZ, std::string(40000, 'n') + '\0', std::wstring(40000, L'n')},
        StringCase{"ExpandSz", REG_EXPAND_SZ, "name\0"s, std::nullopt},
        StringCase{"MultiSz", REG_MULTI_SZ, "name\0\0"s, std::nullopt},
        StringCase{"Binary", REG_BINARY, "name\0"s, std::nullopt},
        StringCase{"Dword", REG_DWORD, DwordBytes(7), std::nullopt},
        StringCase{"None", REG_NONE, "name\0"s, std::nullopt}),
    [](const auto& param) { return std::string(param.param.label); });

struct DwordCase {
  const char* label;
  DWORD type;
  std::string bytes;
  std::int32_t expected;
};

void PrintTo(const DwordCase& c, std::ostream* os) { *os << c.label; }

class DwordValueTest : public RegistryTest, public ::testing::WithParamInterface<DwordCase> {};

TEST_P(DwordValueTest, ReadsStoredData) {
  const DwordCase& c = GetParam();
  TestRegistry::SetRaw(kBase, "Value", c.type, c.bytes);
  EXPECT_EQ(ReadDwordValue(HKEY_CURRENT_USER, kWBase, L"Value"), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Registry, DwordValueTest,
    ::testing::Values(DwordCase{"Plain", REG_DWORD, DwordBytes(640), 640},
                      DwordCase{"Negative", REG_DWORD, DwordBytes(0xFFFFFFFF), -1},
                      DwordCase{"Largest", REG_DWORD, DwordBytes(0x7FFFFFFF), INT32_MAX},
                      DwordCase{"TwoBytes", REG_DWORD, "\x80\x02"s, 0},
                      DwordCase{"ZeroBytes", REG_DWORD, "", 0},
                      DwordCase{"EightBytes", REG_DWORD, DwordBytes(640) + DwordBytes(0), 0},
                      DwordCase{"Qword", REG_QWORD, DwordBytes(640) + DwordBytes(0), 0},
                      DwordCase{"BigEndian", REG_DWORD_BIG_ENDIAN, DwordBytes(640), 0},
                      DwordCase{"Binary", REG_BINARY, DwordBytes(640), 0},
                      DwordCase{"Text", REG_SZ, "640\0"s, 0}),
    [](const auto& param) { return std::string(param.param.label); });

TEST_F(RegistryTest, MissingKeyReadsAsNothingAndStaysMissing) {
  const std::wstring missing = kWBase + L"\\Missing\\Deeper";
  EXPECT_EQ(ReadStringValue(HKEY_CURRENT_USER, missing, L"Value"), std::nullopt);
  EXPECT_EQ(ReadDwordValue(HKEY_CURRENT_USER, missing, L"Value"), 0);
  EXPECT_FALSE(TestRegistry::KeyExists(kBase + "\\Missing"));
  EXPECT_FALSE(TestRegistry::KeyExists(kBase));
}

TEST_F(RegistryTest, MissingValueReadsAsNothing) {
  TestRegistry::SetRaw(kBase, "Other", REG_DWORD, DwordBytes(5));
  EXPECT_EQ(ReadStringValue(HKEY_CURRENT_USER, kWBase, L"Value"), std::nullopt);
  EXPECT_EQ(ReadDwordValue(HKEY_CURRENT_USER, kWBase, L"Value"), 0);
}

TEST_F(RegistryTest, WriteCreatesMissingKeysAndRoundTrips) {
  const std::wstring path = kWBase + L"\\New\\Options";
  for (std::int32_t v : {0, 1, 640, 2048, -1, -32769, INT32_MIN, INT32_MAX}) {
    WriteDwordValue(HKEY_CURRENT_USER, path, L"ResolutionX", v);
    EXPECT_EQ(ReadDwordValue(HKEY_CURRENT_USER, path, L"ResolutionX"), v);
    const auto raw = TestRegistry::GetRaw(kBase + "\\New\\Options", "ResolutionX");
    ASSERT_TRUE(raw);
    EXPECT_EQ(*raw, (TestRegistry::Raw{REG_DWORD, DwordBytes(static_cast<std::uint32_t>(v))}));
  }
}

TEST_F(RegistryTest, WriteTouchesOnlyItsOwnValue) {
  TestRegistry::SetRaw(kBase, "ResolutionY", REG_DWORD, DwordBytes(480));
  TestRegistry::SetRaw(kBase, "Name", REG_SZ, "keep\0"s);
  TestRegistry::SetRaw(kBase + "\\Child", "Deep", REG_BINARY, "\x01\x02"s);
  WriteDwordValue(HKEY_CURRENT_USER, kWBase, L"ResolutionX", 800);

  EXPECT_EQ(TestRegistry::GetRaw(kBase, "ResolutionY"), (TestRegistry::Raw{REG_DWORD, DwordBytes(480)}));
  EXPECT_EQ(TestRegistry::GetRaw(kBase, "Name"), (TestRegistry::Raw{REG_SZ, "keep\0"s}));
  EXPECT_EQ(TestRegistry::GetRaw(kBase + "\\Child", "Deep"), (TestRegistry::Raw{REG_BINARY, "\x01\x02"s}));
}

TEST_F(RegistryTest, WriteReplacesValueOfAnotherType) {
  TestRegistry::SetRaw(kBase, "ResolutionX", REG_SZ, "1024\0"s);
  WriteDwordValue(HKEY_CURRENT_USER, kWBase, L"ResolutionX", 1024);
  EXPECT_EQ(TestRegistry::GetRaw(kBase, "ResolutionX"), (TestRegistry::Raw{REG_DWORD, DwordBytes(1024)}));
}

TEST_F(RegistryTest, PathsIgnoreCaseAndTrailingBackslash) {
  TestRegistry::SetRaw(kBase + "\\Dialog", "PlayerName", REG_SZ, "Kestra\0"s);
  EXPECT_EQ(ReadStringValue(HKEY_CURRENT_USER, kWBase + L"\\Dialog\\", L"PlayerName"), L"Kestra");
  EXPECT_EQ(ReadStringValue(HKEY_CURRENT_USER, L"SOFTWARE\\traviktests\\DIALOG", L"playername"),
            L"Kestra");
}

TEST_F(RegistryTest, NonAsciiNamesCrossTheBoundaryInTheAnsiCodePage) {
  WriteDwordValue(HKEY_CURRENT_USER, kWBase + L"\\Gr\u00F6\u00DFe", L"Wert\u20AC", 77);
  EXPECT_EQ(TestRegistry::GetRaw(kBase + "\\Gr\xF6\xDF" "e", "Wert\x80"),
            (TestRegistry::Raw{REG_DWORD, DwordBytes(77)}));
  EXPECT_EQ(ReadDwordValue(HKEY_CURRENT_USER, kWBase + L"\\Gr\u00F6\u00DFe", L"Wert\u20AC"), 77);
}

// The game's own keys, as the window reads and writes them.
TEST_F(RegistryTest, GameSettingsLocations) {
  const std::string game = "Software\\Virgin\\SubSpace";
  TestRegistry::DeleteTree("Software\\Virgin");
  TestRegistry::SetRaw(game + "\\Dialog", "PlayerName", REG_SZ, "Kestra\0"s);
  WriteDwordValue(GameSettings::kRoot, GameSettings::kOptionsKey, GameSettings::kResolutionX, 1280);

  EXPECT_EQ(ReadStringValue(GameSettings::kRoot, GameSettings::kDialogKey, GameSettings::kPlayerName),
            L"Kestra");
  EXPECT_EQ(TestRegistry::GetRaw(game + "\\Options", "ResolutionX"),
            (TestRegistry::Raw{REG_DWORD, DwordBytes(1280)}));
  TestRegistry::DeleteTree("Software\\Virgin");
}

#ifndef _WIN32
// Faults only the stand-in can produce.

TEST_F(RegistryTest, EachOperationMakesItsCallsAndClosesItsKey) {
  TestRegistry::SetRaw(kBase, "S", REG_SZ, "x\0"s);
  ReadStringValue(HKEY_CURRENT_USER, kWBase, L"S");
  ReadDwordValue(HKEY_CURRENT_USER, kWBase, L"D");
  WriteDwordValue(HKEY_CURRENT_USER, kWBase, L"D", 1);
  ReadDwordValue(HKEY_CURRENT_USER, kWBase + L"\\Missing", L"D");
  const std::vector<std::string> expected = {
      "open " + kBase, "query S", "query S", "close",  //
      "open " + kBase, "query D", "close",             //
      "create " + kBase, "set D", "close",             //
      "open " + kBase + "\\Missing"};
  EXPECT_EQ(FakeRegistry::Calls(), expected);
}

TEST_F(RegistryTest, AbsurdReportedSizeGivesNoValue) {
  TestRegistry::SetRaw(kBase, "Value", REG_SZ, "abc\0"s);
  FakeRegistry::OverrideReportedSize(0xFFFFFFFFu);
  EXPECT_EQ(ReadStringValue(HKEY_CURRENT_USER, kWBase, L"Value"), std::nullopt);
}

TEST_F(RegistryTest, PaddingNeverBecomesText) {
  TestRegistry::SetRaw(kBase, "Value", REG_SZ, "abc");
  FakeRegistry::OverrideReportedSize(10);  // the value shrank between the two queries
  EXPECT_EQ(ReadStringValue(HKEY_CURRENT_USER, kWBase, L"Value"), L"abc");
  FakeRegistry::OverrideReportedSize(2);  // ... or grew
  EXPECT_EQ(ReadStringValue(HKEY_CURRENT_USER, kWBase, L"Value"), std::nullopt);
}

TEST_F(RegistryTest, FailedWritesChangeNothing) {
  TestRegistry::SetRaw(kBase, "ResolutionX", REG_DWORD, DwordBytes(640));
  FakeRegistry::FailSets(true);
  WriteDwordValue(HKEY_CURRENT_USER, kWBase, L"ResolutionX", 1024);
  EXPECT_EQ(ReadDwordValue(HKEY_CURRENT_USER, kWBase, L"ResolutionX"), 640);
  FakeRegistry::FailSets(false);

  FakeRegistry::FailCreates(true);
  WriteDwordValue(HKEY_CURRENT_USER, kWBase + L"\\New", L"ResolutionX", 1024);
  EXPECT_FALSE(TestRegistry::KeyExists(kBase + "\\New"));
}
#endif

}  // namespace
