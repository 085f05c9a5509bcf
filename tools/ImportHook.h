// Points this program's imported calls of one function at another, so that
// tests and benchmarks can see the calls the program makes through the real
// API. Returns how many import slots were changed.
#pragma once

#include <windows.h>

inline int RedirectImport(void (*real)(), void (*hook)()) {
  auto* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
      base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const auto& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  int changed = 0;
  for (auto* dll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
       dll->Name != 0; ++dll) {
    for (auto* slot = reinterpret_cast<ULONG_PTR*>(base + dll->FirstThunk); *slot != 0; ++slot) {
      if (*slot != reinterpret_cast<ULONG_PTR>(real)) continue;
      DWORD old = 0;
      VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &old);
      *slot = reinterpret_cast<ULONG_PTR>(hook);
      VirtualProtect(slot, sizeof *slot, old, &old);
      ++changed;
    }
  }
  return changed;
}
