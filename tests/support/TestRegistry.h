// What the tests need of the registry beyond the program's own operations:
// seeding raw values, looking at what is stored, and clearing keys. One
// implementation uses the real API (under Wine), the other the native stand-in.
// Paths are relative to HKEY_CURRENT_USER.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "registry/platform.h"

namespace TestRegistry {

// The game's keys, as the tests seed and inspect them.
inline const std::string kGame = "Software\\Virgin";
inline const std::string kDialog = "Software\\Virgin\\SubSpace\\Dialog";
inline const std::string kOptions = "Software\\Virgin\\SubSpace\\Options";

struct Raw {
  DWORD type = 0;
  std::string bytes;
  bool operator==(const Raw& o) const { return type == o.type && bytes == o.bytes; }
};

void DeleteTree(const std::string& path);
void SetRaw(const std::string& path, const std::string& name, DWORD type, const std::string& bytes);
std::optional<Raw> GetRaw(const std::string& path, const std::string& name);
bool KeyExists(const std::string& path);

inline std::string DwordBytes(std::uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
          static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
}

}  // namespace TestRegistry
