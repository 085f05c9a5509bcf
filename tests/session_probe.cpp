// What the session test reads of Travik's window from another process: the
// tests' reading of the window ("window"), and the about box's title, once
// it shows ("msgbox").
#include "window_state.h"

namespace {

probe::Fields MessageBoxState() {
  HWND box = FindWindowW(L"#32770", kAboutTitle);
  return box ? probe::Fields{{"title", probe::Value(probe::Text(box))}} : probe::Fields{};
}

}  // namespace

int main(int argc, char** argv) {
  return probe::Probe(argc, argv, {{"window", probe::Shown<TestWindowState>}, {"msgbox", MessageBoxState}});
}
