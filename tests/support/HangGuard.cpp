// The hang guard: a thread that ends the program when the scope it guards is not left in time.
#include "support/HangGuard.h"

#include <cstdio>

namespace {
constexpr UINT kHangExitCode = 3;
}  // namespace

HangGuard::HangGuard(std::string what, DWORD limitMs)
    : left_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      watcher_([event = left_.get(), what = std::move(what), limitMs] {
          if (WaitForSingleObject(event, limitMs) != WAIT_TIMEOUT) return;
          // The hung work holds this process's threads: nothing but leaving is safe now.
          std::fprintf(stderr, "HANG: %s did not end within %lu s\n", what.c_str(), limitMs / 1000);
          std::fflush(stderr);
          TerminateProcess(GetCurrentProcess(), kHangExitCode);
      }) {}

HangGuard::~HangGuard() {
    SetEvent(left_.get());
    watcher_.join();
}
