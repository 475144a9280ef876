#pragma once
// The worker threads of the running system (Win32Worker.cpp, PosixWorker.cpp),
// for the platforms' startWorker.
#include "platform/Worker.h"

namespace kalvora {

// None when no thread could be started.
std::unique_ptr<Worker> startSystemWorker(WorkerJob job);

} // namespace kalvora
