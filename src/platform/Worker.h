#pragma once
// A thread beside the caller's, for work that reads files and computes and
// does nothing else to the system. The owner and the work share their state
// under lock(); a side that must wait for the other sleeps in its wait until
// the other wakes it. A wake given before the wait is kept, so none is lost;
// a wait may also end without one, so each side tests its condition again.
#include <functional>
#include <memory>

namespace kalvora {

class Worker {
public:
  virtual ~Worker() = default; // waits for the work to end: tell it to end first

  virtual void lock() = 0;
  virtual void unlock() = 0;
  // By the work, not holding the lock.
  virtual void waitForOwner() = 0;
  virtual void wakeWorker() = 0;
  // By the owner, not holding the lock.
  virtual void waitForWorker() = 0;
  virtual void wakeOwner() = 0;
};

using WorkerJob = std::function<void(Worker&)>;

// The lock held for a scope.
class WorkerLock {
public:
  explicit WorkerLock(Worker& worker) : worker_(worker) { worker_.lock(); }
  ~WorkerLock() { worker_.unlock(); }
  WorkerLock(const WorkerLock&) = delete;
  WorkerLock& operator=(const WorkerLock&) = delete;

private:
  Worker& worker_;
};

} // namespace kalvora
