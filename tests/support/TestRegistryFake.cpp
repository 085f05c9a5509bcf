#include "FakeRegistry.h"
#include "TestRegistry.h"

namespace TestRegistry {

void DeleteTree(const std::string& path) { FakeRegistry::DeleteTree(path); }

void SetRaw(const std::string& path, const std::string& name, DWORD type, const std::string& bytes) {
  FakeRegistry::SetRaw(path, name, type, bytes);
}

std::optional<Raw> GetRaw(const std::string& path, const std::string& name) {
  auto raw = FakeRegistry::GetRaw(path, name);
  if (!raw) return std::nullopt;
  return Raw{raw->type, raw->bytes};
}

bool KeyExists(const std::string& path) { return FakeRegistry::KeyExists(path); }

}  // namespace TestRegistry
