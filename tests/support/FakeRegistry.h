// In-memory stand-in for the registry calls, used by the native build. It
// behaves as Windows (and Wine) do for what the program relies on; the same
// registry tests run against both to keep it honest. Tests also reach in
// through this header to seed raw values and inject faults.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "registry/platform.h"

namespace FakeRegistry {

struct RawValue {
  DWORD type = REG_NONE;
  std::string bytes;
};

// Forgets every key and value, every fault and the call log.
void Reset();

// Seeds a value of any type and size, creating the key (paths relative to HKCU).
void SetRaw(const std::string& path, const std::string& name, DWORD type, const std::string& bytes);
std::optional<RawValue> GetRaw(const std::string& path, const std::string& name);
bool KeyExists(const std::string& path);
void DeleteTree(const std::string& path);
std::vector<std::string> ValueNames(const std::string& path);

// Handles opened and not yet closed.
int OpenHandles();

// One line per platform call, in order: "open <path>", "create <path>",
// "query <name>", "set <name>", "close".
const std::vector<std::string>& Calls();

// Faults.
void FailCreates(bool fail);      // RegCreateKeyA answers access denied
void FailSets(bool fail);         // RegSetValueExA answers access denied
void OverrideReportedSize(std::optional<DWORD> size);  // what a size query reports
void AfterSet(std::function<void()> hook);  // runs after each successful set

}  // namespace FakeRegistry
