#include "app/cli/Interrupt.h"

#include <csignal>

namespace jwcount {
namespace {

// The one piece of program-wide state: a signal handler can reach nothing else.
volatile std::sig_atomic_t interruptRequested = 0;

void OnInterrupt(int) {
  interruptRequested = 1;
}

}  // namespace

InterruptAsEscape::InterruptAsEscape() {
  interruptRequested = 0;
  std::signal(SIGINT, OnInterrupt);
}

InterruptAsEscape::~InterruptAsEscape() {
  std::signal(SIGINT, SIG_DFL);
}

bool InterruptAsEscape::Requested() {
  return interruptRequested != 0;
}

}  // namespace jwcount
