#include "tempfile/Thread.h"

#ifdef _WIN32
#include <process.h>
#include <windows.h>

#include <cstdint>
#else
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#endif

namespace jwcount {

#ifdef _WIN32
// The window and the CLI are built without the C++ thread library on Windows: the system's own slim lock,
// condition variable and thread serve.
struct Handoff::State {
  SRWLOCK Lock = SRWLOCK_INIT;
  CONDITION_VARIABLE Wake = CONDITION_VARIABLE_INIT;
};

void Handoff::Lock() {
  AcquireSRWLockExclusive(&state_->Lock);
}
void Handoff::Unlock() {
  ReleaseSRWLockExclusive(&state_->Lock);
}
void Handoff::Wait() {
  SleepConditionVariableSRW(&state_->Wake, &state_->Lock, INFINITE, 0);
}
void Handoff::WakeAll() {
  WakeAllConditionVariable(&state_->Wake);
}

struct SecondThread::State {
  std::function<void()> Work;
  HANDLE Thread = nullptr;

  static unsigned __stdcall Run(void* state) {
    static_cast<State*>(state)->Work();
    return 0;
  }
};

bool SecondThread::Start(std::function<void()> work) {
  Join();
  state_->Work = std::move(work);
  // Started through the C runtime, as the work reads the file with it.
  const uintptr_t thread = _beginthreadex(nullptr, 0, &State::Run, state_.get(), 0, nullptr);
  state_->Thread = reinterpret_cast<HANDLE>(thread);
  return state_->Thread != nullptr;
}

void SecondThread::Join() {
  if (state_->Thread == nullptr) return;
  WaitForSingleObject(state_->Thread, INFINITE);
  CloseHandle(state_->Thread);
  state_->Thread = nullptr;
}
#else
struct Handoff::State {
  std::mutex Mutex;
  std::condition_variable Wake;
};

void Handoff::Lock() {
  state_->Mutex.lock();
}
void Handoff::Unlock() {
  state_->Mutex.unlock();
}
void Handoff::Wait() {
  std::unique_lock lock(state_->Mutex, std::adopt_lock);
  state_->Wake.wait(lock);
  lock.release();  // still held, by the caller
}
void Handoff::WakeAll() {
  state_->Wake.notify_all();
}

struct SecondThread::State {
  std::thread Thread;
};

bool SecondThread::Start(std::function<void()> work) {
  Join();
  try {
    state_->Thread = std::thread(std::move(work));
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void SecondThread::Join() {
  if (state_->Thread.joinable()) state_->Thread.join();
}
#endif

Handoff::Handoff() : state_(std::make_unique<State>()) {}
Handoff::~Handoff() = default;

SecondThread::SecondThread() : state_(std::make_unique<State>()) {}
SecondThread::~SecondThread() {
  Join();
}

}  // namespace jwcount
