// Registry_MOD against the real advapi32, in the game's own keys.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>

#include "registry/Registry_MOD.h"
#include "common/UniqueHandle.h"
#include "support.h"

using namespace std::string_literals;

namespace {

const std::wstring kWOptions = L"Software\\Virgin\\SubSpace\\Options";
using RegistryTest = GameTest;

std::optional<std::wstring> Name() {
  return ReadStringValue(HKEY_CURRENT_USER, L"Software\\Virgin\\SubSpace\\Dialog\\", L"PlayerName");
}

// Bytes stored as a value of a type, and the text ReadStringValue gives.
struct TextCase {
  DWORD type;
  std::string bytes;
  std::optional<std::wstring> expected;
};

// What the window cannot tell apart, the empty text and no text, a text
// stored without its terminator, and one stored from a larger buffer, with
// NULs or leftovers after its terminator, read under heap checking; every
// other type, size and terminator: the bad-data matrix.
TEST_F(RegistryTest, ReadsTheTextUpToItsFirstTerminator) {
  const TextCase cases[] = {{REG_SZ, "\0"s, L""},           {REG_SZ, "", L""},
                            {REG_SZ, "abc", L"abc"},        {REG_SZ, "Kestra\0\0\0\0"s, L"Kestra"},
                            {REG_SZ, "Kestra\0old\0"s, L"Kestra"}};
  for (const auto& c : cases) {
    SetRaw(kDialog, "PlayerName", c.type, c.bytes);
    EXPECT_EQ(Name(),
              c.expected) << c.bytes.size() << " bytes";
  }
}

// Text crosses the registry in the system's ANSI code page: the same bytes
// give each code page's text. The test run pins 1252 and, for a second run
// of this test (tests/CMakeLists.txt), the Cyrillic 1251.
TEST_F(RegistryTest, TextIsReadInTheAnsiCodePage) {
  const char* const asked = std::getenv("TRAVIK_ACP");
  ASSERT_EQ(GetACP(), asked ? std::strtoul(asked, nullptr, 10) : 1252) << "the locale the run asked for";
  const std::map<UINT, std::wstring> expected = {{1252, L"\u20AC\u00BAo\u00BA\u0081"},
                                                 {1251, L"\u0402\u0454o\u0454\u0403"}};
  SetRaw(kDialog, "PlayerName", REG_SZ, "\x80\xBAo\xBA\x81\0"s);
  EXPECT_EQ(Name(),
            expected.at(GetACP()));
}

// Another program rewrites the name between the query of its size and the
// query of its text: only text that the reading query reports as REG_SZ
// counts, and a name that grew or went meanwhile is no name at all.
TEST_F(RegistryTest, NameRewrittenBetweenItsTwoQueriesCountsOnlyAsRegSz) {
  const TextCase cases[] = {
      {REG_BINARY, "BINARY\0"s, std::nullopt},
      {REG_EXPAND_SZ, "EXPAND\0"s, std::nullopt},
      {REG_SZ, "Kestra and a longer name\0"s, std::nullopt},
      {REG_SZ, "", L""},  // empty, without even a terminator
      {REG_NONE, "", std::nullopt},  // deleted
      {REG_SZ, "Other\0"s, L"Other"},
  };
  for (const auto& c : cases) {
    SetRaw(kDialog, "PlayerName", REG_SZ, "Kestra\0"s);
    BeforeDataQuery([&c](const std::string& name) {
      if (c.type == REG_NONE) {
        UniqueHkey key;
        RegOpenKeyExA(HKEY_CURRENT_USER, kDialog.c_str(), 0, KEY_SET_VALUE, key.put());
        RegDeleteValueA(key.get(), name.c_str());
      } else {
        SetRaw(kDialog, name, c.type, c.bytes);
      }
    });
    EXPECT_EQ(Name(),
              c.expected) << "rewritten as type " << c.type << ", " << c.bytes.size() << " bytes";
    BeforeDataQuery(nullptr);
  }
}

// A name beyond 1 MiB, the largest value of the registry's standard format,
// is no name, and only its size is asked for; one of 1 MiB is read whole (the
// bad-data matrix).
TEST_F(RegistryTest, NamesBeyondOneMebibyteAreNotRead) {
  SetRaw(kDialog, "PlayerName", REG_SZ, std::string(size_t{1} << 20, 'n') + '\0');
  TakeRegistryCalls();
  EXPECT_EQ(Name(), std::nullopt);
  const std::vector<std::string> calls = TakeRegistryCalls();
  EXPECT_EQ(std::count(calls.begin(), calls.end(), "RegQueryValueExA PlayerName"), 1);
}

// Every 32-bit pattern, negative ones too, is stored and read back whole;
// other types and sizes read as 0 (the bad-data matrix). That a write creates
// its key and leaves all else alone, the window's and the session's checks see.
TEST_F(RegistryTest, EveryNumberIsStoredAndReadBackWhole) {
  for (std::int32_t value : {-1, INT32_MIN, 70000, 1024}) {
    WriteDwordValue(HKEY_CURRENT_USER, kWOptions, L"ResolutionX", value);
    EXPECT_EQ(GetRaw(kOptions, "ResolutionX"), Raw(REG_DWORD, Dword(static_cast<std::uint32_t>(value))));
    EXPECT_EQ(ReadDwordValue(HKEY_CURRENT_USER, kWOptions, L"ResolutionX"), value);
  }
}

// The suite runs under Wine's heap checking (tests/heap-check.sh): without
// it, an overrun of a name's buffer would pass unseen. Run on its own
// (tests/CMakeLists.txt), this overrun must be reported and fail the run.
TEST(HeapCheckTest, DISABLED_PlantedOverrun) {
  auto* block = static_cast<unsigned char*>(HeapAlloc(GetProcessHeap(), 0, 1));
  ASSERT_TRUE(block);
  block[1] = 0;  // NOLINT: the overrun the checking must report
  HeapFree(GetProcessHeap(), 0, block);
}

}  // namespace
