// Pieces of the C++ run-time that setup.exe and unkalvora.exe define themselves,
// so that the static link leaves out what the library's own versions drag in.
// These programs are built without exception support: nothing could catch an
// exception, and the unwinder that throwing needs would take a third of them.
//
// - The default terminate handler names the uncaught exception's type on stderr
//   (which a GUI program does not have) with the name demangler and mingw's
//   printf: about 50 KB. Ours ends the program as that handler does at last.
// - The library's throw helpers for its containers and strings (an index out
//   of range, a length past max_size(), memory that cannot be had) construct
//   std::logic_error and friends and throw them: the exception types, their
//   reference-counted string code and the unwinder. Ours end the program:
//   each stands for a fault of the program or an exhausted machine, which
//   these programs cannot go on from.
// - The library's operator new throws std::bad_alloc, and its nothrow forms
//   call that one and catch; both would bring the unwinder back. Ours take
//   memory from the C run-time's heap and end the program when there is none,
//   or, in the nothrow forms, give null. Deletes to match.
// - A Windows exception nothing handles (an access violation) ends the program
//   the same way, rather than with the system's crash report.
//
// Each of these ends goes through reportFault() (platform/Win32ProgramFault.h):
// setup.exe tells an interactive user and starts the rollback of an
// installation under way first.
//
// The library defines the throw helpers in one object file: a helper used but
// not defined here pulls that file in and the link fails with a duplicate
// definition, so the list below must stay complete.
#include <bits/functexcept.h> // the helpers' declarations
#include <cstdlib>
#include <malloc.h> // _aligned_malloc, _aligned_free
#include <new>
#include <windows.h>

#include "platform/Win32ProgramFault.h"
#include "runtime/ProgramFault.h"

namespace {

// Ends the program with its own exit code once the fault is reported: abort()
// would end it with 3, which setup.exe's callers read as an installed copy,
// and the C run-time may first show a message box, which would hold an
// unattended run forever.
[[noreturn]] void fatal() {
  kalvora::reportFault();
  TerminateProcess(GetCurrentProcess(), kalvora::kExitProgramFault);
  std::abort(); // not reached
}

void* allocate(std::size_t size) noexcept { return std::malloc(size != 0 ? size : 1); }

void* allocateAligned(std::size_t size, std::align_val_t alignment) noexcept {
  return _aligned_malloc(size != 0 ? size : 1, static_cast<std::size_t>(alignment));
}

void* allocateOrEnd(std::size_t size) {
  void* memory = allocate(size);
  if (!memory) fatal();
  return memory;
}

void* allocateAlignedOrEnd(std::size_t size, std::align_val_t alignment) {
  void* memory = allocateAligned(size, alignment);
  if (!memory) fatal();
  return memory;
}

LONG WINAPI unhandledException(EXCEPTION_POINTERS*) { fatal(); }

// Before main: a fault at any later moment finds the filter in place.
[[gnu::constructor]] void catchUnhandledExceptions() { SetUnhandledExceptionFilter(unhandledException); }

} // namespace

namespace __gnu_cxx {
void __verbose_terminate_handler() { fatal(); }
} // namespace __gnu_cxx

namespace std {
void __throw_bad_exception() { fatal(); }
void __throw_bad_alloc() { fatal(); }
void __throw_bad_array_new_length() { fatal(); }
void __throw_bad_cast() { fatal(); }
void __throw_bad_typeid() { fatal(); }
void __throw_logic_error(const char*) { fatal(); }
void __throw_domain_error(const char*) { fatal(); }
void __throw_invalid_argument(const char*) { fatal(); }
void __throw_length_error(const char*) { fatal(); }
void __throw_out_of_range(const char*) { fatal(); }
void __throw_out_of_range_fmt(const char*, ...) { fatal(); }
void __throw_runtime_error(const char*) { fatal(); }
void __throw_range_error(const char*) { fatal(); }
void __throw_overflow_error(const char*) { fatal(); }
void __throw_underflow_error(const char*) { fatal(); }
void __throw_bad_function_call() { fatal(); }
} // namespace std

void* operator new(std::size_t size) { return allocateOrEnd(size); }
void* operator new[](std::size_t size) { return allocateOrEnd(size); }
void* operator new(std::size_t size, std::align_val_t alignment) { return allocateAlignedOrEnd(size, alignment); }
void* operator new[](std::size_t size, std::align_val_t alignment) { return allocateAlignedOrEnd(size, alignment); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return allocateAligned(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return allocateAligned(size, alignment);
}

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

void operator delete(void* memory, std::align_val_t) noexcept { _aligned_free(memory); }
void operator delete[](void* memory, std::align_val_t) noexcept { _aligned_free(memory); }
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept { _aligned_free(memory); }
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept { _aligned_free(memory); }
void operator delete(void* memory, std::align_val_t, const std::nothrow_t&) noexcept { _aligned_free(memory); }
void operator delete[](void* memory, std::align_val_t, const std::nothrow_t&) noexcept { _aligned_free(memory); }
