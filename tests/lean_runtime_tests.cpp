// travik.exe's own operator new, one case a run (tests/CMakeLists.txt): a
// failed nothrow allocation gives null and the run passes; a failed
// allocation must end the program through abort, so that the run fails, and
// a program that goes on passes.
#include <new>
#include <string>

namespace {
volatile size_t g_huge = static_cast<size_t>(-1) / 2;  // never allocatable, not foldable
char* volatile g_kept = nullptr;                       // keeps each allocation real
}  // namespace

int main(int argc, char** argv) {
  const std::string name = argc > 1 ? argv[1] : "";
  if (name == "new") g_kept = new char[g_huge];
  if (name == "nothrow") g_kept = new (std::nothrow) char[g_huge];
  return name == "nothrow" && g_kept != nullptr ? 1 : 0;
}
