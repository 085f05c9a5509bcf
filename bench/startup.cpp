// Start-up time and memory of GUI programs, measured alternately so that both
// see the same machine: from CreateProcess until the program has shown its
// window and first waits for input with nothing pending (WaitForInputIdle),
// then its peak working set at that moment.
//   bench_startup RUNS EXE...
// Prints "startup_us NAME MEDIAN" and "peak_ws NAME BYTES" (median of runs).
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// Microseconds from the performance counter.
double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

struct Sample {
  double micros = 0;
  SIZE_T peak = 0;
};

BOOL CALLBACK CloseProcessWindows(HWND hwnd, LPARAM pid) {
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == static_cast<DWORD>(pid)) PostMessageW(hwnd, WM_CLOSE, 0, 0);
  return TRUE;
}

bool Run(const std::wstring& exe, Sample& sample) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::wstring command = L"\"" + exe + L"\"";
  const double start = Now();
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  const bool idle = WaitForInputIdle(pi.hProcess, 10000) == 0;
  sample.micros = Now() - start;
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (GetProcessMemoryInfo(pi.hProcess, &counters, sizeof counters)) sample.peak = counters.PeakWorkingSetSize;
  EnumWindows(CloseProcessWindows, static_cast<LPARAM>(pi.dwProcessId));
  if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return idle;
}

template <typename T>
T Median(std::vector<T> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_startup RUNS EXE...\n");
    return 2;
  }
  const int runs = _wtoi(argv[1]);
  std::vector<std::vector<Sample>> samples(static_cast<size_t>(argc - 2));
  for (int run = -1; run < runs; ++run) {  // run -1 warms the caches
    for (int i = 2; i < argc; ++i) {
      Sample sample;
      if (!Run(argv[i], sample)) {
        std::fwprintf(stderr, L"%ls did not become idle\n", argv[i]);
        return 1;
      }
      if (run >= 0) samples[static_cast<size_t>(i - 2)].push_back(sample);
    }
  }
  for (int i = 2; i < argc; ++i) {
    std::vector<double> micros;
    std::vector<SIZE_T> peaks;
    for (const Sample& s : samples[static_cast<size_t>(i - 2)]) {
      micros.push_back(s.micros);
      peaks.push_back(s.peak);
    }
    std::wstring name = argv[i];
    name = name.substr(name.find_last_of(L"\\/") + 1);
    std::printf("startup_us %ls %.0f\n", name.c_str(), Median(micros));
    std::printf("peak_ws %ls %llu\n", name.c_str(), static_cast<unsigned long long>(Median(peaks)));
  }
  return 0;
}
