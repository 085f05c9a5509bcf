// Owns one open registry key and closes it when it goes out of scope, so that
// every path out of a registry operation releases its handle.
#pragma once

#include <windows.h>

class UniqueHkey {
 public:
  UniqueHkey() = default;
  ~UniqueHkey() { reset(); }
  UniqueHkey(const UniqueHkey&) = delete;
  UniqueHkey& operator=(const UniqueHkey&) = delete;

  HKEY get() const { return key_; }
  explicit operator bool() const { return key_ != nullptr; }

  // For the out parameter of an open or create call.
  HKEY* put() {
    reset();
    return &key_;
  }

  void reset() {
    if (key_ != nullptr) RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
};
