// Travik's window as the tests read it, in their own process or from another
// (the session's probe): what tools/probe reads, and each control's place in
// the client area, font and styles, the list's rows and selection, the focus
// and whether the window takes input. Keys that begin "screen." are places
// on the screen, which depend on where the system put the window.
#pragma once

#include <cstdio>

#include "tools/probe.h"

inline probe::Fields TestWindowState(HWND form) {
  using probe::Numbers;
  probe::Fields fields = probe::WindowState(form);
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
                {{"screen.list", Numbers({origin.x, origin.y})},
                 {"screen.label3", probe::Rect(GetDlgItem(form, kLabel3))},
                 {"client", Numbers({client.right, client.bottom})},
                 {"topindex", std::to_string(SendMessageW(list, LB_GETTOPINDEX, 0, 0))},
                 {"itemheight", std::to_string(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0))},
                 {"selected", std::to_string(SendMessageW(list, LB_GETCURSEL, 0, 0))},
                 {"enabled", IsWindowEnabled(form) ? "1" : "0"},
                 {"icons", GetClassLongPtrW(form, GCLP_HICON) && GetClassLongPtrW(form, GCLP_HICONSM) ? "both" : "missing"},
                 {"menu", menu && IsWindowVisible(menu) ? "1" : "0"},
                 {"focus", std::to_string(info.hwndFocus ? GetDlgCtrlID(info.hwndFocus) : 0)}});
  for (const auto& [id, name] : probe::kControlNames) {
    HWND control = GetDlgItem(form, id);
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    char styles[24];
    (void)std::snprintf(styles, sizeof styles, "%08lx %08lx", static_cast<unsigned long>(GetWindowLongW(control, GWL_STYLE)),
                        static_cast<unsigned long>(GetWindowLongW(control, GWL_EXSTYLE)));
    // The character set of the system's message font is the system's; Label3's is the program's own.
    const std::string charset = id == kLabel3 ? " " + std::to_string(font.lfCharSet) : "";
    fields.insert(fields.end(), {{"rect." + std::string(name), Numbers({r.left, r.top, r.right - r.left, r.bottom - r.top})},
                                 {"font." + std::string(name), probe::Value(font.lfFaceName) + " " +
                                                                   Numbers({font.lfHeight, font.lfWeight}) + charset},
                                 {"style." + std::string(name), styles}});
  }
  return fields;
}

// The value of a field, or "" where there is none.
inline std::string Field(const probe::Fields& fields, const std::string& key) {
  for (const auto& [k, value] : fields)
    if (k == key) return value;
  return "";
}
