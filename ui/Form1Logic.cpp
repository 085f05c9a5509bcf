#include "Form1Logic.h"

#include <algorithm>
#include <climits>
#include <iterator>

#include "registry/GameSettings.h"
#include "registry/Registry_MOD.h"

const ControlLayout& LayoutOf(ControlId id) {
  const auto* row = std::find_if(std::begin(kLayout), std::end(kLayout),
                                 [id](const ControlLayout& r) { return r.id == id; });
  return row != std::end(kLayout) ? *row : kLayout[0];
}

int TwipsToPixels(int twips, unsigned dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>((scaled + (scaled >= 0 ? 720 : -720)) / 1440);
}

std::wstring GreetingCaption(const std::optional<std::wstring>& playerName) {
  return L"Welcome " + playerName.value_or(L"") + L" to Travik";
}

std::wstring DesktopCaption(int width, int height) {
  return L"Windows Resolution: " + std::to_wstring(width) + L" x " + std::to_wstring(height);
}

// Values outside the 16-bit range are shown whole rather than wrapped.
std::wstring ResolutionCaption(std::int32_t x, std::int32_t y) {
  return L"Current SS Resolution: " + std::to_wstring(x) + L"x" + std::to_wstring(y);
}

namespace {

std::optional<std::int32_t> ParseNumber(std::wstring_view text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(L' ') - first + 1);

  bool negative = false;
  if (text.front() == L'-' || text.front() == L'+') {
    negative = text.front() == L'-';
    text.remove_prefix(1);
  }
  if (text.empty()) return std::nullopt;
  long long value = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + (c - L'0');
    if (value > static_cast<long long>(INT32_MAX) + 1) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(value);
}

}  // namespace

std::optional<std::pair<std::int32_t, std::int32_t>> ParseResolutionEntry(std::wstring_view entry) {
  const auto split = entry.find(L'x');
  if (split == std::wstring_view::npos || entry.find(L'x', split + 1) != std::wstring_view::npos)
    return std::nullopt;
  const auto width = ParseNumber(entry.substr(0, split));
  const auto height = ParseNumber(entry.substr(split + 1));
  if (!width || !height) return std::nullopt;
  return std::make_pair(*width, *height);
}

std::wstring LoadGreeting() {
  return GreetingCaption(
      ReadStringValue(GameSettings::kRoot, GameSettings::kDialogKey, GameSettings::kPlayerName));
}

std::wstring LoadStoredResolution() {
  using namespace GameSettings;
  const std::int32_t x = ReadDwordValue(kRoot, kOptionsKey, kResolutionX);
  const std::int32_t y = ReadDwordValue(kRoot, kOptionsKey, kResolutionY);
  return ResolutionCaption(x, y);
}

std::wstring StoreResolution(std::wstring_view entry) {
  using namespace GameSettings;
  // Both parts are checked before anything is written, so a bad entry can
  // never leave half a pair behind.
  if (const auto size = ParseResolutionEntry(entry)) {
    WriteDwordValue(kRoot, kOptionsKey, kResolutionX, size->first);
    WriteDwordValue(kRoot, kOptionsKey, kResolutionY, size->second);
  }
  return LoadStoredResolution();
}
