// Worker threads of the native builds: the standard library's.
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/SystemWorker.h"

namespace kalvora {
namespace {

class PosixWorker : public Worker {
public:
  explicit PosixWorker(WorkerJob job) : job_(std::move(job)) {}
  ~PosixWorker() override {
    if (thread_.joinable()) thread_.join();
  }

  void start() {
    thread_ = std::thread([this] { job_(*this); });
  }

  void lock() override { shared_.lock(); }
  void unlock() override { shared_.unlock(); }
  void waitForOwner() override { wait(workerWoken_); }
  void wakeWorker() override { wake(workerWoken_); }
  void waitForWorker() override { wait(ownerWoken_); }
  void wakeOwner() override { wake(ownerWoken_); }

private:
  void wait(bool& woken) {
    std::unique_lock<std::mutex> hold(wakes_);
    changed_.wait(hold, [&] { return woken; });
    woken = false;
  }
  void wake(bool& woken) {
    {
      std::lock_guard<std::mutex> hold(wakes_);
      woken = true;
    }
    changed_.notify_all();
  }

  WorkerJob job_;
  std::mutex shared_, wakes_;
  std::condition_variable changed_;
  bool ownerWoken_ = false, workerWoken_ = false;
  std::thread thread_;
};

} // namespace

std::unique_ptr<Worker> startSystemWorker(WorkerJob job) {
  auto worker = std::make_unique<PosixWorker>(std::move(job));
  try {
    worker->start();
  } catch (const std::system_error&) {
    return nullptr;
  }
  return worker;
}

} // namespace kalvora
