// The few pthread calls that the static run-time's exception support makes (the
// unwinder's frame table lock and its once flags, the emergency exception
// pool), on the Win32 primitives. With them defined here, libwinpthread's
// thread, condition and rwlock code stays out of the programs, which start
// their one extra thread with CreateThread. The per-thread exception state has
// a Win32 slot of its own (LeanExceptionState.cpp). Should the run-time come to
// call another pthread function, the linker takes libwinpthread's object file
// for it: an error of duplicate definitions when that file also defines one of
// these, else silently, and only the programs' size tells (the uninstaller's
// size test).
#include <windows.h>

#include <pthread.h>

namespace {

// A mutex is the address of its critical section; the static initialiser's
// value gets one on first use.
CRITICAL_SECTION* sectionOf(pthread_mutex_t* mutex) {
  void* const unset = reinterpret_cast<void*>(PTHREAD_MUTEX_INITIALIZER);
  void* current = reinterpret_cast<void*>(*mutex);
  if (current != unset) return static_cast<CRITICAL_SECTION*>(current);
  auto* fresh = static_cast<CRITICAL_SECTION*>(HeapAlloc(GetProcessHeap(), 0, sizeof(CRITICAL_SECTION)));
  InitializeCriticalSection(fresh);
  current = InterlockedCompareExchangePointer(reinterpret_cast<void**>(mutex), fresh, unset);
  if (current == unset) return fresh;
  DeleteCriticalSection(fresh); // another thread was first
  HeapFree(GetProcessHeap(), 0, fresh);
  return static_cast<CRITICAL_SECTION*>(current);
}

enum OnceState : LONG { NotRun = PTHREAD_ONCE_INIT, Running, Done };

} // namespace

extern "C" {

int pthread_mutex_init(pthread_mutex_t* mutex, const pthread_mutexattr_t*) {
  *mutex = PTHREAD_MUTEX_INITIALIZER;
  return 0;
}

int pthread_mutex_destroy(pthread_mutex_t* mutex) {
  if (*mutex != PTHREAD_MUTEX_INITIALIZER) {
    CRITICAL_SECTION* section = sectionOf(mutex);
    DeleteCriticalSection(section);
    HeapFree(GetProcessHeap(), 0, section);
    *mutex = PTHREAD_MUTEX_INITIALIZER;
  }
  return 0;
}

int pthread_mutex_lock(pthread_mutex_t* mutex) {
  EnterCriticalSection(sectionOf(mutex));
  return 0;
}

int pthread_mutex_unlock(pthread_mutex_t* mutex) {
  LeaveCriticalSection(sectionOf(mutex));
  return 0;
}

int pthread_once(pthread_once_t* once, void (*run)(void)) {
  if (InterlockedCompareExchange(once, Running, NotRun) == NotRun) {
    run();
    InterlockedExchange(once, Done);
  } else {
    while (InterlockedCompareExchange(once, Done, Done) != Done)
      Sleep(0);
  }
  return 0;
}

} // extern "C"
