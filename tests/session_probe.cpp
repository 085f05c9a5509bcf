// What the session test reads of Travik's window from another process: the
// tests' reading of the window ("window"), and the about box ("msgbox").
#include "window_state.h"

namespace {

using probe::Fields;

Fields MessageBoxState() {
  HWND box = FindWindowW(L"#32770", kAboutTitle);
  if (!box) return {};
  Fields fields = {{"title", probe::Value(probe::Text(box))}};
  int buttons = 0, icons = 0;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    wchar_t cls[32] = {};
    GetClassNameW(child, cls, 32);
    if (!IsWindowVisible(child)) continue;
    if (lstrcmpiW(cls, L"Button") == 0) {
      ++buttons;
      fields.emplace_back("button", probe::Value(probe::Text(child)));
    }
    const auto style = GetWindowLongPtrW(child, GWL_STYLE);
    if (lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_ICON && SendMessageW(child, STM_GETICON, 0, 0))
      ++icons;
  }
  fields.emplace_back("buttons", std::to_string(buttons));
  fields.emplace_back("icons", std::to_string(icons));
  return fields;
}

}  // namespace

int main(int argc, char** argv) {
  return probe::Probe(argc, argv, {{"window", probe::Shown<TestWindowState>}, {"msgbox", MessageBoxState}});
}
