// Worker threads on the Win32 primitives: a thread, a critical section and an
// event for each side's wake (the oldest systems served have no condition
// variables). No thread library comes into the programs for it.
#include <windows.h>

#include "platform/SystemWorker.h"

namespace kalvora {
namespace {

class Win32Worker : public Worker {
public:
  explicit Win32Worker(WorkerJob job)
      : job_(std::move(job)), ownerWake_(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
        workerWake_(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    InitializeCriticalSection(&section_);
  }
  ~Win32Worker() override {
    if (thread_) {
      WaitForSingleObject(thread_, INFINITE);
      CloseHandle(thread_);
    }
    if (ownerWake_) CloseHandle(ownerWake_);
    if (workerWake_) CloseHandle(workerWake_);
    DeleteCriticalSection(&section_);
  }
  Win32Worker(const Win32Worker&) = delete;
  Win32Worker& operator=(const Win32Worker&) = delete;

  bool start() {
    if (!ownerWake_ || !workerWake_) return false;
    thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
    return thread_ != nullptr;
  }

  void lock() override { EnterCriticalSection(&section_); }
  void unlock() override { LeaveCriticalSection(&section_); }
  void waitForOwner() override { WaitForSingleObject(workerWake_, INFINITE); }
  void wakeWorker() override { SetEvent(workerWake_); }
  void waitForWorker() override { WaitForSingleObject(ownerWake_, INFINITE); }
  void wakeOwner() override { SetEvent(ownerWake_); }

private:
  static DWORD WINAPI run(void* self) {
    auto* worker = static_cast<Win32Worker*>(self);
    worker->job_(*worker);
    return 0;
  }

  WorkerJob job_;
  CRITICAL_SECTION section_;
  HANDLE ownerWake_, workerWake_;
  HANDLE thread_ = nullptr;
};

} // namespace

std::unique_ptr<Worker> startSystemWorker(WorkerJob job) {
  auto worker = std::make_unique<Win32Worker>(std::move(job));
  if (!worker->start()) return nullptr;
  return worker;
}

} // namespace kalvora
