// Feeds arbitrary stored values to the registry reads and arbitrary entries to
// the selection, through the in-memory registry, and checks what may be
// relied on whatever the data:
//   byte 0    the stored value's type (any number)
//   byte 1    bit 0: which value; bits 1-2: the size a query reports is the
//             true one, larger or smaller by byte 2 (the value changed between
//             the program's two queries)
//   the rest  the stored data, and also (as UTF-16) an entry to select
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "registry/AnsiText.h"
#include "registry/Registry_MOD.h"
#include "support/FakeRegistry.h"
#include "ui/Form1Logic.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

const char kOptions[] = "Software\\Virgin\\SubSpace\\Options";
const wchar_t kWOptions[] = L"Software\\Virgin\\SubSpace\\Options";

void FuzzReads(DWORD type, std::uint8_t flags, std::uint8_t delta, const std::string& data) {
  FakeRegistry::Reset();
  const std::string name = (flags & 1) ? "PlayerName" : "ResolutionX";
  FakeRegistry::SetRaw(kOptions, name, type, data);
  const int sizeMode = (flags >> 1) & 3;
  if (sizeMode == 1) FakeRegistry::OverrideReportedSize(static_cast<DWORD>(data.size() + delta));
  if (sizeMode == 2) FakeRegistry::OverrideReportedSize(static_cast<DWORD>(data.size() - std::min<size_t>(delta, data.size())));

  const std::wstring wname(name.begin(), name.end());
  const auto text = ReadStringValue(HKEY_CURRENT_USER, kWOptions, wname);
  if (type != REG_SZ) Check(!text);
  if (text) {
    Check(text->find(L'\0') == std::wstring::npos);
    Check(text->size() <= data.size());
    if (sizeMode == 0) Check(*text == FromAnsi(data.substr(0, data.find('\0'))));
  } else {
    Check(type != REG_SZ || sizeMode == 2);  // only a value that grew is unreadable
  }

  const std::int32_t number = ReadDwordValue(HKEY_CURRENT_USER, kWOptions, wname);
  if (type == REG_DWORD && data.size() == 4) {
    std::uint32_t stored = 0;
    for (int i = 3; i >= 0; --i) stored = stored << 8 | static_cast<unsigned char>(data[static_cast<size_t>(i)]);
    Check(static_cast<std::uint32_t>(number) == stored);
  } else {
    Check(number == 0);
  }
  Check(FakeRegistry::OpenHandles() == 0);
}

void FuzzSelection(const std::string& data) {
  FakeRegistry::Reset();
  std::wstring entry;
  for (size_t i = 0; i + 1 < data.size(); i += 2)
    entry.push_back(static_cast<wchar_t>(static_cast<unsigned char>(data[i]) | static_cast<unsigned char>(data[i + 1]) << 8));
  const auto size = ParseResolutionEntry(entry);
  const std::wstring shown = StoreResolution(entry);
  if (size) {
    Check(shown == ResolutionCaption(size->first, size->second));
    Check(ReadDwordValue(HKEY_CURRENT_USER, kWOptions, L"ResolutionX") == size->first);
    Check(ReadDwordValue(HKEY_CURRENT_USER, kWOptions, L"ResolutionY") == size->second);
  } else {
    Check(shown == L"Current SS Resolution: 0x0");
    Check(!FakeRegistry::KeyExists(kOptions));  // nothing written, not even half a pair
  }
  Check(FakeRegistry::OpenHandles() == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, size_t size) {
  if (size < 3) return 0;
  const std::string data(reinterpret_cast<const char*>(bytes + 3), size - 3);
  FuzzReads(bytes[0], bytes[1], bytes[2], data);
  FuzzSelection(data);
  return 0;
}
