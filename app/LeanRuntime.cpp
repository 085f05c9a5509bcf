// Travik throws no exceptions, so nothing in it needs the C++ runtime's
// exception machinery, which would be four fifths of the program's size:
// unwinder, exception classes, their strings, and the terminate handler's
// demangler and printf. What would still pull it in is defined here, and
// every failure ends the program at once, as an uncaught exception would.
//
// operator new and delete are replaceable by the standard. The __throw_*
// functions are libstdc++'s own (bits/functexcept.h): its string and
// allocator code calls them on a length error or an impossible size. They
// live in one member of libstdc++ (functexcept.o) with the others of their
// kind, so should a new version call one that is not here, that member is
// linked in too and the link fails on duplicate definitions; the check after
// the link (app/CMakeLists.txt) stops any other way back in.
#include <cstdlib>
#include <new>

// NOLINTBEGIN(misc-use-internal-linkage): replacements, which the linker must see

void* operator new(std::size_t size) {
  void* memory = std::malloc(size == 0 ? 1 : size);
  if (memory == nullptr) std::abort();
  return memory;
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size == 0 ? 1 : size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return std::malloc(size == 0 ? 1 : size); }

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
// NOLINTEND(misc-use-internal-linkage)

// NOLINTBEGIN(cert-dcl58-cpp, bugprone-reserved-identifier, cert-dcl37-c, cert-dcl51-cpp, cert-dcl50-cpp, misc-use-internal-linkage)
namespace std {
[[noreturn]] void __throw_bad_alloc() { std::abort(); }
[[noreturn]] void __throw_bad_array_new_length() { std::abort(); }
[[noreturn]] void __throw_length_error(const char*) { std::abort(); }
[[noreturn]] void __throw_logic_error(const char*) { std::abort(); }
[[noreturn]] void __throw_out_of_range_fmt(const char*, ...) { std::abort(); }
}  // namespace std
// NOLINTEND(cert-dcl58-cpp, bugprone-reserved-identifier, cert-dcl37-c, cert-dcl51-cpp, cert-dcl50-cpp, misc-use-internal-linkage)
