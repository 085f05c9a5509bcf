// What the session test reads of Travik's window from another process: what
// tools/probe gives, with the focus, whether the window takes input and
// whether a menu is open, and where to click ("window"); and the about box
// ("msgbox").
#include "tools/probe.h"

namespace {

using probe::Fields;

Fields SessionWindowState() {
  Fields fields = probe::WindowState();
  HWND form = probe::Form();
  if (fields.empty()) return fields;
  HWND list = GetDlgItem(form, kList1);
  POINT origin{0, 0};
  ClientToScreen(list, &origin);
  RECT client{};
  GetClientRect(form, &client);
  HWND menu = FindWindowW(L"#32768", nullptr);  // an open popup menu
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(form, nullptr), &info);
  fields.insert(fields.end(),
                {{"rect.label3", probe::Rect(GetDlgItem(form, kLabel3))},
                 {"list.client", probe::Numbers({origin.x, origin.y})},
                 {"topindex", std::to_string(SendMessageW(list, LB_GETTOPINDEX, 0, 0))},
                 {"itemheight", std::to_string(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0))},
                 {"client", probe::Numbers({client.right, client.bottom})},
                 {"enabled", IsWindowEnabled(form) ? "1" : "0"},
                 {"menu", menu && IsWindowVisible(menu) ? "1" : "0"},
                 {"focus", std::to_string(info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0)}});
  return fields;
}

Fields MessageBoxState() {
  HWND box = FindWindowW(L"#32770", kAboutTitle);
  if (!box) return {};
  Fields fields = {{"title", probe::Value(probe::Text(box))},
                   {"text", probe::Value(probe::Text(GetDlgItem(box, 0xFFFF)))},
                   {"owner", GetWindow(box, GW_OWNER) == probe::Form() ? "1" : "0"}};
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
  return probe::Probe(argc, argv, {{"window", SessionWindowState}, {"msgbox", MessageBoxState}});
}
