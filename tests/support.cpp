#include "support.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "common/UniqueHandle.h"

namespace {

// HKEY_CURRENT_USER, inside this process, is a scratch key of its own: made
// before the first test, removed after the last.
class ScratchUser : public ::testing::Environment {
 public:
  void SetUp() override {
    UniqueHkey scratch;
    const bool made = RegCreateKeyExA(HKEY_CURRENT_USER, kPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                      scratch.put(), nullptr) == ERROR_SUCCESS;
    ASSERT_TRUE(made) << kPath;
    const bool redirected = RegOverridePredefKey(HKEY_CURRENT_USER, scratch.get()) == ERROR_SUCCESS;
    ASSERT_TRUE(redirected) << "HKEY_CURRENT_USER onto " << kPath;
  }
  void TearDown() override {
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, kPath.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, kPath.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Travik tests");  // only once no other run uses it
  }

 private:
  const std::string kPath = "Software\\Travik tests\\" + std::to_string(GetCurrentProcessId());
};

[[maybe_unused]] const auto* const g_scratchUser = ::testing::AddGlobalTestEnvironment(new ScratchUser);

}  // namespace

void SetRaw(const std::string& key, const std::string& name, DWORD type, const std::string& bytes) {
  // The registry counts a NUL right after string data as part of it; a
  // guard byte keeps the stored size what the test asked for.
  const std::string data = bytes + 'G';
  const bool stored = RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), name.c_str(), type, data.data(),
                                      static_cast<DWORD>(bytes.size())) == ERROR_SUCCESS;
  EXPECT_TRUE(stored) << key << "\\" << name;
}

std::optional<Raw> GetRaw(const std::string& key, const std::string& name) {
  UniqueHkey handle;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, handle.put()) != ERROR_SUCCESS) return std::nullopt;
  Raw raw;
  DWORD size = 0;
  LONG status = RegQueryValueExA(handle.get(), name.c_str(), nullptr, &raw.first, nullptr, &size);
  raw.second.resize(size);
  if (status == ERROR_SUCCESS)
    status = RegQueryValueExA(handle.get(), name.c_str(), nullptr, &raw.first,
                              reinterpret_cast<BYTE*>(raw.second.data()), &size);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return raw;
}

bool KeyExists(const std::string& key) {
  UniqueHkey handle;
  return RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, handle.put()) == ERROR_SUCCESS;
}

void DeleteKey(const std::string& key) {
  RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

std::wstring Text(HWND hwnd) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
  return text;
}

void ExpectApproved(const std::string& name, const std::string& text) {
  const std::string path = TRAVIK_APPROVED_DIR "/" + name + ".txt";
  if (std::getenv("TRAVIK_APPROVE")) {
    std::ofstream(path, std::ios::binary) << text;
    return;
  }
  std::ifstream file(path, std::ios::binary);
  EXPECT_EQ(text, std::string(std::istreambuf_iterator<char>(file), {}))
      << "what the scenario shows differs from " << path << "; TRAVIK_APPROVE=1 writes it there";
}

Report& Report::Line(const std::string& line) {
  text += line + '\n';
  return *this;
}

Report& Report::State(HWND form, const std::set<std::string>& keys) {
  for (const auto& [key, value] : TestWindowState(form))
    if (keys.empty() ? key.rfind("screen.", 0) != 0 : keys.count(key) > 0) Line(std::string(key).append(": ").append(value));
  return *this;
}

Report& Report::Registry() {
  const std::vector<std::string> calls = TakeRegistryCalls();
  std::string lines = "registry:";
  for (const std::string& call : calls) lines += "\n  " + call;
  if (calls.empty()) lines += " none";
  if (lines != lastCalls_) Line(lastCalls_ = lines);
  return *this;
}
