// The load and selection handlers of the real window, timed in-process,
// against baselines that make the same raw registry calls and the same
// caption and list updates with nothing else around them.
//   bench_events [ITERATIONS]
// Stores a full set of the game's settings first. Prints
// "<event>_us travik|baseline MEDIAN" per event, and before that the
// registry calls each handler makes: "calls <event> <function> <count>".
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <utility>
#include <vector>

#include "Clock.h"
#include "tools/ImportHook.h"

#include "ui/Form1.h"
#include "ui/Form1Logic.h"

namespace {

const char kDialog[] = "Software\\Virgin\\SubSpace\\Dialog\\";
const char kOptions[] = "Software\\Virgin\\SubSpace\\Options";

DWORD ReadDword(const char* name) {
  HKEY key = nullptr;
  DWORD type = 0, value = 0, size = sizeof value;
  RegOpenKeyA(HKEY_CURRENT_USER, kOptions, &key);
  RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(key);
  return value;
}

void WriteDword(const char* name, DWORD value) {
  HKEY key = nullptr;
  RegCreateKeyA(HKEY_CURRENT_USER, kOptions, &key);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

void SetResolutionLabel(HWND label) {
  wchar_t text[64];
  std::swprintf(text, 64, L"Current SS Resolution: %dx%d", static_cast<int>(ReadDword("ResolutionX")),
                static_cast<int>(ReadDword("ResolutionY")));
  SetWindowTextW(label, text);
}

void BaselineLoad(HWND form) {
  HKEY key = nullptr;
  DWORD type = 0, size = 0;
  char name[256] = {};
  RegOpenKeyA(HKEY_CURRENT_USER, kDialog, &key);
  RegQueryValueExA(key, "PlayerName", nullptr, &type, nullptr, &size);
  size = sizeof name;
  RegQueryValueExA(key, "PlayerName", nullptr, &type, reinterpret_cast<BYTE*>(name), &size);
  RegCloseKey(key);
  wchar_t text[300];
  std::swprintf(text, 300, L"Welcome %hs to Travik", name);
  SetWindowTextW(form, text);
  std::swprintf(text, 300, L"Windows Resolution: %d x %d", GetSystemMetrics(SM_CXSCREEN),
                GetSystemMetrics(SM_CYSCREEN));
  SetWindowTextW(GetDlgItem(form, kLabel2), text);
  HWND list = GetDlgItem(form, kList1);
  for (const wchar_t* entry : kResolutionTable) SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
  SetResolutionLabel(GetDlgItem(form, kLabel1));
}

void BaselineSelect(HWND form) {
  HWND list = GetDlgItem(form, kList1);
  wchar_t entry[32] = {};
  SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(SendMessageW(list, LB_GETCURSEL, 0, 0)),
               reinterpret_cast<LPARAM>(entry));
  wchar_t* rest = nullptr;
  const long x = std::wcstol(entry, &rest, 10);
  const long y = std::wcstol(rest + 1 + std::wcscspn(rest, L"x"), nullptr, 10);
  WriteDword("ResolutionX", static_cast<DWORD>(x));
  WriteDword("ResolutionY", static_cast<DWORD>(y));
  SetResolutionLabel(GetDlgItem(form, kLabel1));
}

// The five registry functions, counted at this program's imports on their way
// to the real API.
const char* const kCounted[] = {"RegOpenKeyA", "RegQueryValueExA", "RegCreateKeyA", "RegSetValueExA", "RegCloseKey"};
void (*g_real[5])();
int g_calls[5];

template <int I, typename F>
struct Counter;
template <int I, typename R, typename... A>
struct Counter<I, R(WINAPI*)(A...)> {
  static R WINAPI Call(A... args) {
    ++g_calls[I];
    return reinterpret_cast<R(WINAPI*)(A...)>(g_real[I])(args...);
  }
};

// While counting, `function` reads back as the counter.
template <int I, typename F>
void Count(F function, bool on) {
  const auto counter = reinterpret_cast<void (*)()>(&Counter<I, F>::Call);
  if (on) g_real[I] = reinterpret_cast<void (*)()>(function), RedirectImport(g_real[I], counter);
  else RedirectImport(counter, g_real[I]);
}

void CountCalls(bool on) {
  Count<0>(&RegOpenKeyA, on);
  Count<1>(&RegQueryValueExA, on);
  Count<2>(&RegCreateKeyA, on);
  Count<3>(&RegSetValueExA, on);
  Count<4>(&RegCloseKey, on);
}

template <typename Event>
void PrintCalls(const char* event, Event run) {
  std::fill(std::begin(g_calls), std::end(g_calls), 0);
  run();
  for (int i = 0; i < 5; ++i) std::printf("calls %s %s %d\n", event, kCounted[i], g_calls[i]);
}

// Times two ways of doing the same thing, alternately, so that both see the
// same state of the registry and the window system.
template <typename Prepare, typename First, typename Second>
std::pair<double, double> MedianMicros(int iterations, Prepare prepare, First first, Second second) {
  std::vector<double> a, b;
  for (int i = 0; i < iterations; ++i) {
    prepare(i);
    double start = Now();
    first();
    a.push_back(Now() - start);
    prepare(i);
    start = Now();
    second();
    b.push_back(Now() - start);
  }
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  return {a[a.size() / 2], b[b.size() / 2]};
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const int iterations = argc > 1 ? _wtoi(argv[1]) : 2000;
  HKEY key = nullptr;
  RegCreateKeyA(HKEY_CURRENT_USER, kDialog, &key);
  RegSetValueExA(key, "PlayerName", 0, REG_SZ, reinterpret_cast<const BYTE*>("Kestra"), 7);
  RegCloseKey(key);
  WriteDword("ResolutionX", 1024);
  WriteDword("ResolutionY", 768);

  HWND hwnd = Form1::Create(GetModuleHandleW(nullptr));
  Form1* form = Form1::FromHandle(hwnd);
  if (!form) return 1;
  HWND list = GetDlgItem(hwnd, kList1);
  auto clearList = [&](int) { SendMessageW(list, LB_RESETCONTENT, 0, 0); };
  auto select = [&](int i) { SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(i % 17), 0); };

  CountCalls(true);
  PrintCalls("load", [&] { clearList(0), form->Form_Load(); });
  PrintCalls("select", [&] { select(7), form->List1_Click(); });
  CountCalls(false);

  for (int round = 0; round < 2; ++round) {  // the first round warms up
    const auto load = MedianMicros(iterations, clearList, [&] { form->Form_Load(); }, [&] { BaselineLoad(hwnd); });
    const auto pick = MedianMicros(iterations, select, [&] { form->List1_Click(); }, [&] { BaselineSelect(hwnd); });
    if (round == 1) {
      std::printf("load_us travik %.1f\nload_us baseline %.1f\n", load.first, load.second);
      std::printf("select_us travik %.1f\nselect_us baseline %.1f\n", pick.first, pick.second);
    }
  }
  DestroyWindow(hwnd);
  return 0;
}
