// A second thread, and a lock with a wake-up for two threads, where the system offers them.
#pragma once

#include <functional>
#include <memory>

namespace jwcount {

// A lock and a wake-up shared by two threads.
class Handoff {
 public:
  Handoff();
  ~Handoff();
  Handoff(const Handoff&) = delete;
  Handoff& operator=(const Handoff&) = delete;

  void Lock();
  void Unlock();
  // With the lock held: lets go of it, sleeps until a WakeAll (or spuriously), and takes it again.
  void Wait();
  void WakeAll();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Holds a Handoff's lock for the scope.
class HandoffLock {
 public:
  explicit HandoffLock(Handoff& handoff) : handoff_(handoff) { handoff_.Lock(); }
  ~HandoffLock() { handoff_.Unlock(); }
  HandoffLock(const HandoffLock&) = delete;
  HandoffLock& operator=(const HandoffLock&) = delete;

 private:
  Handoff& handoff_;
};

// Work run on a second thread.
class SecondThread {
 public:
  SecondThread();
  // Waits for the work to end.
  ~SecondThread();
  SecondThread(const SecondThread&) = delete;
  SecondThread& operator=(const SecondThread&) = delete;

  // Starts the work; false, with nothing started, where no thread could be made.
  bool Start(std::function<void()> work);
  // Waits for the work to end; returns at once when none was started.
  void Join();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace jwcount
