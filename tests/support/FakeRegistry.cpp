#include "FakeRegistry.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <iterator>
#include <map>

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

struct Key {
  std::map<std::string, std::pair<std::string, FakeRegistry::RawValue>> values;  // lower name
};

struct State {
  std::map<std::string, Key> keys;              // lower full path, "" for the root
  std::map<std::uintptr_t, std::string> handles;  // open handle -> lower full path
  std::uintptr_t nextHandle = 0x1000;
  std::vector<std::string> calls;
  bool failCreates = false;
  bool failSets = false;
  std::optional<DWORD> reportedSize;
  std::function<void()> afterSet;
};

State& S() {
  static State state;
  return state;
}

bool IsRoot(HKEY key) { return key == HKEY_CURRENT_USER; }

// Splits a key path into its names: empty parts (a trailing backslash) are
// ignored, as the registry does.
std::vector<std::string> Parts(const char* path) {
  std::vector<std::string> parts;
  std::string part;
  for (const char* p = path ? path : ""; *p; ++p) {
    if (*p == '\\') {
      if (!part.empty()) parts.push_back(part);
      part.clear();
    } else {
      part.push_back(*p);
    }
  }
  if (!part.empty()) parts.push_back(part);
  return parts;
}

// The full lower-case path of subkey under parent, or nothing for a bad parent.
std::optional<std::string> Resolve(HKEY parent, const char* subkey) {
  std::string base;
  if (!IsRoot(parent)) {
    auto it = S().handles.find(reinterpret_cast<std::uintptr_t>(parent));
    if (it == S().handles.end()) return std::nullopt;
    base = it->second;
  }
  for (const std::string& part : Parts(subkey)) base += (base.empty() ? "" : "\\") + Lower(part);
  return base;
}

HKEY NewHandle(const std::string& path) {
  const std::uintptr_t h = S().nextHandle;
  S().nextHandle += 8;
  S().handles[h] = path;
  return reinterpret_cast<HKEY>(h);
}

Key* KeyOf(HKEY key) {
  auto path = Resolve(key, "");
  if (!path) return nullptr;
  auto it = S().keys.find(*path);
  return it == S().keys.end() ? nullptr : &it->second;
}

void CreatePath(const std::string& lowerPath) {
  std::string prefix;
  S().keys[""];
  for (const std::string& part : Parts(lowerPath.c_str())) {
    prefix += (prefix.empty() ? "" : "\\") + part;
    S().keys[prefix];
  }
}

bool IsString(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

}  // namespace

LONG RegOpenKeyA(HKEY root, LPCSTR subkey, HKEY* result) {
  S().calls.push_back(std::string("open ") + (subkey ? subkey : ""));
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  auto path = Resolve(root, subkey);
  if (!path) return ERROR_INVALID_HANDLE;
  if (!path->empty() && S().keys.count(*path) == 0) return ERROR_FILE_NOT_FOUND;
  *result = NewHandle(*path);
  return ERROR_SUCCESS;
}

LONG RegCreateKeyA(HKEY root, LPCSTR subkey, HKEY* result) {
  S().calls.push_back(std::string("create ") + (subkey ? subkey : ""));
  if (result == nullptr) return ERROR_INVALID_PARAMETER;
  *result = nullptr;
  auto path = Resolve(root, subkey);
  if (!path) return ERROR_INVALID_HANDLE;
  if (S().failCreates) return ERROR_ACCESS_DENIED;
  CreatePath(*path);
  *result = NewHandle(*path);
  return ERROR_SUCCESS;
}

LONG RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD size) {
  S().calls.push_back(std::string("query ") + (name ? name : ""));
  if (reserved != nullptr || (data != nullptr && size == nullptr)) return ERROR_INVALID_PARAMETER;
  Key* k = KeyOf(key);
  if (k == nullptr) return ERROR_INVALID_HANDLE;
  auto it = k->values.find(Lower(name ? name : ""));
  if (it == k->values.end()) {
    if (type) *type = REG_NONE;  // Windows and Wine clear it
    return ERROR_FILE_NOT_FOUND;
  }
  const FakeRegistry::RawValue& value = it->second.second;
  const auto length = static_cast<DWORD>(value.bytes.size());
  if (type) *type = value.type;
  if (data == nullptr) {
    if (size) *size = S().reportedSize.value_or(length);
    return ERROR_SUCCESS;
  }
  if (*size < length) {
    *size = length;
    return ERROR_MORE_DATA;
  }
  std::memcpy(data, value.bytes.data(), length);
  // Like Windows, a string stored without its terminator gets one where the
  // buffer has room for it; the reported size leaves it out.
  if (IsString(value.type) && length > 0 && length < *size && value.bytes.back() != '\0')
    data[length] = 0;
  *size = length;
  return ERROR_SUCCESS;
}

LONG RegSetValueExA(HKEY key, LPCSTR name, DWORD reserved, DWORD type, const BYTE* data, DWORD size) {
  S().calls.push_back(std::string("set ") + (name ? name : ""));
  if (reserved != 0 || (data == nullptr && size != 0)) return ERROR_INVALID_PARAMETER;
  Key* k = KeyOf(key);
  if (k == nullptr) return ERROR_INVALID_HANDLE;
  if (S().failSets) return ERROR_ACCESS_DENIED;
  const std::string n = name ? name : "";
  k->values[Lower(n)] = {n, {type, std::string(reinterpret_cast<const char*>(data), size)}};
  if (S().afterSet) S().afterSet();
  return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key) {
  S().calls.emplace_back("close");
  return S().handles.erase(reinterpret_cast<std::uintptr_t>(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

namespace FakeRegistry {

void Reset() { S() = State{}; }

void SetRaw(const std::string& path, const std::string& name, DWORD type, const std::string& bytes) {
  const std::string lower = *Resolve(HKEY_CURRENT_USER, path.c_str());
  CreatePath(lower);
  S().keys[lower].values[Lower(name)] = {name, {type, bytes}};
}

std::optional<RawValue> GetRaw(const std::string& path, const std::string& name) {
  auto key = S().keys.find(*Resolve(HKEY_CURRENT_USER, path.c_str()));
  if (key == S().keys.end()) return std::nullopt;
  auto it = key->second.values.find(Lower(name));
  if (it == key->second.values.end()) return std::nullopt;
  return it->second.second;
}

bool KeyExists(const std::string& path) {
  return S().keys.count(*Resolve(HKEY_CURRENT_USER, path.c_str())) != 0;
}

void DeleteTree(const std::string& path) {
  const std::string lower = *Resolve(HKEY_CURRENT_USER, path.c_str());
  for (auto it = S().keys.begin(); it != S().keys.end();) {
    const std::string& k = it->first;
    const bool inside = k == lower || (k.size() > lower.size() && k.compare(0, lower.size(), lower) == 0 &&
                                        k[lower.size()] == '\\');
    it = inside && !lower.empty() ? S().keys.erase(it) : std::next(it);
  }
}

std::vector<std::string> ValueNames(const std::string& path) {
  std::vector<std::string> names;
  auto key = S().keys.find(*Resolve(HKEY_CURRENT_USER, path.c_str()));
  if (key != S().keys.end())
    std::transform(key->second.values.begin(), key->second.values.end(), std::back_inserter(names),
                   [](const auto& entry) { return entry.second.first; });
  return names;
}

int OpenHandles() { return static_cast<int>(S().handles.size()); }
const std::vector<std::string>& Calls() { return S().calls; }
void FailCreates(bool fail) { S().failCreates = fail; }
void FailSets(bool fail) { S().failSets = fail; }
void OverrideReportedSize(std::optional<DWORD> size) { S().reportedSize = size; }
void AfterSet(std::function<void()> hook) { S().afterSet = std::move(hook); }

}  // namespace FakeRegistry
