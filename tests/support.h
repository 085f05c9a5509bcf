// Shared by the tests: the game's keys in the real registry, seeded and read
// raw; the real window's texts; and a log of the registry calls the program
// makes through its own imports.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

inline const std::string kGame = "Software\\Virgin";
inline const std::string kDialog = kGame + "\\SubSpace\\Dialog";
inline const std::string kOptions = kGame + "\\SubSpace\\Options";

struct Raw {
  DWORD type = 0;
  std::string bytes;
  bool operator==(const Raw& o) const { return type == o.type && bytes == o.bytes; }
};

// These use the registry's Ex calls, which the program never makes, so that
// they stay out of the call log below.
std::string Dword(std::uint32_t value);  // little-endian, as stored
void SetRaw(const std::string& key, const std::string& name, DWORD type, const std::string& bytes);
std::optional<Raw> GetRaw(const std::string& key, const std::string& name);
bool KeyExists(const std::string& key);
void DeleteKey(const std::string& key);

std::wstring Text(HWND hwnd);

// The program's calls of RegOpenKeyA, RegCreateKeyA (with the key path),
// RegQueryValueExA, RegSetValueExA (with the value name) and RegCloseKey on
// its own keys since the last call, oldest first, such as
// "RegQueryValueExA ResolutionX". The calls still reach the real API.
std::vector<std::string> TakeRegistryCalls();

// Runs just before the program's RegQueryValueExA reads a value's data,
// with the value's name; an empty function removes it.
void BeforeDataQuery(std::function<void(const std::string& name)> hook);

// Every test starts and ends without the game's settings.
class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKey(kGame);
    TakeRegistryCalls();
  }
  void TearDown() override {
    BeforeDataQuery(nullptr);
    DeleteKey(kGame);
  }
};
