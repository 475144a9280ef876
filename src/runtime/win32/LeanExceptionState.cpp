// The C++ run-time's per-thread exception state (the exceptions caught and not
// yet finished, the count of those thrown and not yet caught), kept in a Win32
// thread-local slot. The library's version is a thread-local variable, which
// mingw-w64 emulates (libgcc's emutls, with a pthread key and a once flag per
// variable); this is the same state without that layer.
//
// A thread's state is made on its first call and never freed: a thread that
// threw an exception leaves these few bytes behind.
#include <windows.h>

#include <cstdlib>
#include <cxxabi.h>

namespace {

// The layout the C++ ABI gives __cxa_eh_globals on this target.
struct ExceptionState {
  void* caughtExceptions;
  unsigned int uncaughtExceptions;
};

DWORD volatile stateSlot = TLS_OUT_OF_INDEXES;

// The slot, allocated by the first thread to ask; a thread that loses the race frees its own.
DWORD slot() {
  if (stateSlot != TLS_OUT_OF_INDEXES) return stateSlot;
  const DWORD fresh = TlsAlloc();
  if (fresh == TLS_OUT_OF_INDEXES) std::abort();
  const LONG before = InterlockedCompareExchange(reinterpret_cast<LONG volatile*>(&stateSlot), static_cast<LONG>(fresh),
                                                 static_cast<LONG>(TLS_OUT_OF_INDEXES));
  if (static_cast<DWORD>(before) == TLS_OUT_OF_INDEXES) return fresh;
  TlsFree(fresh);
  return static_cast<DWORD>(before);
}

} // namespace

namespace __cxxabiv1 {

// Both keep the caller's last error, which TlsGetValue clears: an exception
// thrown between a failed call and its GetLastError must not change the code.
extern "C" __cxa_eh_globals* __cxa_get_globals() noexcept {
  const DWORD lastError = GetLastError();
  const DWORD index = slot();
  void* state = TlsGetValue(index);
  if (!state) {
    state = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(ExceptionState));
    if (!state || !TlsSetValue(index, state)) std::abort();
  }
  SetLastError(lastError);
  return static_cast<__cxa_eh_globals*>(state);
}

extern "C" __cxa_eh_globals* __cxa_get_globals_fast() noexcept { return __cxa_get_globals(); }

} // namespace __cxxabiv1
