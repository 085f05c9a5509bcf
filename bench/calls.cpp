// Counts the registry calls each event makes, through the in-memory registry.
// Prints "<event> open=N create=N query=N set=N close=N".
#include <cstdio>
#include <map>
#include <string>

#include "support/FakeRegistry.h"
#include "ui/Form1Logic.h"

namespace {
void Report(const char* event) {
  std::map<std::string, int> counts{{"open", 0}, {"create", 0}, {"query", 0}, {"set", 0}, {"close", 0}};
  for (const std::string& call : FakeRegistry::Calls()) ++counts[call.substr(0, call.find(' '))];
  std::printf("%s open=%d create=%d query=%d set=%d close=%d\n", event, counts["open"], counts["create"],
              counts["query"], counts["set"], counts["close"]);
}
}  // namespace

int main() {
  FakeRegistry::Reset();
  FakeRegistry::SetRaw("Software\\Virgin\\SubSpace\\Dialog", "PlayerName", REG_SZ, std::string("Kestra\0", 7));
  FakeRegistry::SetRaw("Software\\Virgin\\SubSpace\\Options", "ResolutionX", REG_DWORD, std::string("\x80\x02\0\0", 4));
  FakeRegistry::SetRaw("Software\\Virgin\\SubSpace\\Options", "ResolutionY", REG_DWORD, std::string("\xe0\x01\0\0", 4));
  LoadGreeting();
  LoadStoredResolution();
  Report("load");
  FakeRegistry::Reset();
  StoreResolution(L"1024 x768");
  Report("select");
  return 0;
}
