// Whatever another program stored in the three values Travik reads, the
// window starts and shows what a careful reading of the bytes gives: every
// value type, sizes around four bytes and up to 1 MiB, with the terminator
// missing, at the end or in the middle.
#include <set>

#include "support.h"
#include "ui/Form1.h"
#include "ui/Form1Design.h"

namespace {

// Letters, a space, a byte above 0x7F and one that Windows-1252 leaves
// undefined, all of which map to the same code point; a NUL at `nulAt`.
std::string Data(size_t size, size_t nulAt) {
  static const char kPattern[] = {'K', 'e', ' ', '\xBA', '\x81', 's'};
  std::string data(size, '\0');
  for (size_t i = 0; i < size; ++i) data[i] = i == nulAt ? '\0' : kPattern[i % sizeof kPattern];
  return data;
}

class BadDataTest : public GameTest {};

TEST_F(BadDataTest, WindowShowsOnlyWhatTheBytesHold) {
  const char* const kValues[] = {"PlayerName", "ResolutionX", "ResolutionY"};
  const DWORD kTypes[] = {REG_NONE, REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD, REG_DWORD_BIG_ENDIAN,
                          REG_MULTI_SZ, REG_QWORD};
  for (const std::string value : kValues) {
    for (DWORD type : kTypes) {
      for (size_t size : {0u, 1u, 2u, 3u, 4u, 5u, 8u, 1u << 20}) {
        for (size_t nulAt : std::set<size_t>{size, size / 2, size ? size - 1 : 0}) {
          const std::string data = Data(size, nulAt);
          SCOPED_TRACE(value + ", type " + std::to_string(type) + ", " + std::to_string(size) + " bytes, NUL at " +
                       std::to_string(nulAt));
          DeleteKey(kGame);
          SetRaw(value == "PlayerName" ? kDialog : kOptions, value, type, data);

          std::wstring name;
          if (value == "PlayerName" && type == REG_SZ)
            for (size_t i = 0; i < data.size() && data[i]; ++i) name += static_cast<unsigned char>(data[i]);
          std::uint32_t number = 0;
          if (value != "PlayerName" && type == REG_DWORD && size == 4)
            for (size_t i = 4; i-- > 0;) number = number << 8 | static_cast<unsigned char>(data[i]);
          const auto shown = std::to_wstring(static_cast<std::int32_t>(number));

          HWND form = Form1::Create(GetModuleHandleW(nullptr));
          ASSERT_TRUE(form);
          EXPECT_EQ(Text(form), L"Welcome " + name + L" to Travik");
          EXPECT_EQ(Text(GetDlgItem(form, kLabel1)), L"Current SS Resolution: " +
                                                     (value == "ResolutionX" ? shown : L"0") + L"x" +
                                                     (value == "ResolutionY" ? shown : L"0"));
          DestroyWindow(form);
        }
      }
    }
  }
}

}  // namespace
