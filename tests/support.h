// Shared by the tests: the game's keys in the real registry, seeded and read
// raw, and the real window's texts. Each test program works in a scratch key
// of its own, which stands in for HKEY_CURRENT_USER inside the program
// (support.cpp): no test can touch a player's settings, run by hand or not.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>

#include "imports.h"

inline const std::string kGame = "Software\\Virgin";
inline const std::string kDialog = kGame + "\\SubSpace\\Dialog";
inline const std::string kOptions = kGame + "\\SubSpace\\Options";

// The registry calls of the program, as the log gives them.
using Calls = std::vector<std::string>;
inline const std::string kOpenDialog = "RegOpenKeyA Software\\Virgin\\SubSpace\\Dialog\\";

// A value's type and its bytes. These use the registry's Ex calls, which the
// program never makes, so that they stay out of the registry log.
using Raw = std::pair<DWORD, std::string>;
inline std::string Dword(std::uint32_t value) { return {reinterpret_cast<const char*>(&value), sizeof value}; }
void SetRaw(const std::string& key, const std::string& name, DWORD type, const std::string& bytes);
std::optional<Raw> GetRaw(const std::string& key, const std::string& name);
bool KeyExists(const std::string& key);
void DeleteKey(const std::string& key);

std::wstring Text(HWND hwnd);

// Every test starts and ends without the game's settings.
class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKey(kGame);
    TakeRegistryCalls();
  }
  void TearDown() override {
    BeforeDataQuery(nullptr);
    HidePerMonitorDpi(false);
    WindowsSystemMenu(false);
    TakeMessageBoxes();
    DeleteKey(kGame);
  }
};
