// Registry_MOD against the real advapi32, in the game's own keys.
#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstdint>
#include <map>
#include <new>

#include "registry/Registry_MOD.h"
#include "common/UniqueHandle.h"
#include "support.h"

using namespace std::string_literals;

// The suite runs under Wine's heap checking (tests/heap-check.sh), which
// from Wine 9 on does not look into the groups in which a growing heap hands
// out small blocks. This program's blocks, the name's buffer among them,
// come from a heap of fixed size instead, where each block stands alone and
// is checked; blocks too large for it from the C runtime's. The library's
// other forms of new and delete come here.
namespace {
constexpr std::uintptr_t kCheckedHeapSize = std::uintptr_t{64} << 20;
HANDLE CheckedHeap() {  // made at the first allocation, whichever file makes it
  static const auto heap = HeapCreate(0, 0, kCheckedHeapSize);
  return heap;
}
}  // namespace

// NOLINTBEGIN(misc-use-internal-linkage): replacements, which the linker must see
void* operator new(std::size_t size) {
  void* block = size < 65536 ? HeapAlloc(CheckedHeap(), 0, size) : std::malloc(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}
void operator delete(void* block) noexcept {
  if (reinterpret_cast<std::uintptr_t>(block) - reinterpret_cast<std::uintptr_t>(CheckedHeap()) < kCheckedHeapSize) {
    HeapFree(CheckedHeap(), 0, block);
  } else {
    std::free(block);
  }
}
void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
// NOLINTEND(misc-use-internal-linkage)

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
  for (const std::int32_t value : {-1, INT32_MIN, 70000, 1024}) {
    WriteDwordValue(HKEY_CURRENT_USER, kWOptions, L"ResolutionX", value);
    EXPECT_EQ(GetRaw(kOptions, "ResolutionX"), Raw(REG_DWORD, Dword(static_cast<std::uint32_t>(value))));
    EXPECT_EQ(ReadDwordValue(HKEY_CURRENT_USER, kWOptions, L"ResolutionX"), value);
  }
}

// Without heap checking, an overrun of a name's buffer would pass unseen.
// Run on its own (tests/CMakeLists.txt), this overrun of a block from where
// the name's comes must be reported and fail the run.
TEST(HeapCheckTest, DISABLED_PlantedOverrun) {
  const volatile std::size_t size = 1;  // neither the size nor the store is the compiler's to see through
  auto* const block = static_cast<volatile unsigned char*>(operator new(size));
  block[size] = 0;  // NOLINT: the overrun the checking must report
  operator delete(const_cast<unsigned char*>(block));
}

}  // namespace
