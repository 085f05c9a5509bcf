// Shared by the tests: the game's keys in the real registry, seeded and read
// raw, and the real window's texts. Each test program works in a scratch key
// of its own, which stands in for HKEY_CURRENT_USER inside the program
// (support.cpp): no test can touch a player's settings, run by hand or not.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <set>
#include <string>

#include "imports.h"
#include "window_state.h"

inline const std::string kGame = "Software\\Virgin";
inline const std::string kDialog = kGame + "\\SubSpace\\Dialog";
inline const std::string kOptions = kGame + "\\SubSpace\\Options";


// A value's type and its bytes. These use the registry's Ex calls, which the
// program never makes, so that they stay out of the registry log.
using Raw = std::pair<DWORD, std::string>;
inline std::string Dword(std::uint32_t value) { return {reinterpret_cast<const char*>(&value), sizeof value}; }
void SetRaw(const std::string& key, const std::string& name, DWORD type, const std::string& bytes);
std::optional<Raw> GetRaw(const std::string& key, const std::string& name);
bool KeyExists(const std::string& key);
void DeleteKey(const std::string& key);

std::wstring Text(HWND hwnd);

// Compares what a scenario showed with tests/approved/NAME.txt; with
// TRAVIK_APPROVE=1 in the environment, writes it there instead, to be
// reviewed as a diff.
void ExpectApproved(const std::string& name, const std::string& text);

// What a scenario shows, as the text of an approved file: lines of its own,
// fields of the window's state, and the program's registry calls, each
// sequence printed only where it differs from the one printed last.
class Report {
 public:
  Report& Line(const std::string& line);
  // The fields named, or all but the screen's places.
  Report& State(HWND form, const std::set<std::string>& keys = {});
  Report& Registry();
  std::string text;

 private:
  std::string lastCalls_;
};

// Every test starts and ends without the game's settings.
class GameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DeleteKey(kGame);
    TakeRegistryCalls();
  }
  void TearDown() override {
    HidePerMonitorDpi(false);
    WindowsSystemMenu(false);
    TakeMessageBoxes();
    DeleteKey(kGame);
  }
};
