#include "platform/system/quiet_process.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdio>

namespace orvendale::platform {

namespace {

enum class Streams : bool { kErrorOnly, kOutputAndError };

void Silence(Streams streams) {
  const bool output = streams == Streams::kOutputAndError;
  // Opening /dev/null takes the lowest free descriptor: when 0, 1 or 2 was closed, it is
  // that one, and the copies below fill the others.
  const int null = ::open("/dev/null", O_RDWR);
  if (null < 0) return;
  for (int standard = STDIN_FILENO; standard <= STDERR_FILENO; ++standard) {
    if (standard != null && ::fcntl(standard, F_GETFD) < 0) ::dup2(null, standard);
  }
#ifdef ORVENDALE_SANITIZER_REPORTS
  // The sanitizers write their reports straight to descriptor 2 (the address and the
  // undefined-behaviour sanitizer each from a runtime of its own, which no single call
  // redirects), so it stays as it is, and only the C streams through which libraries
  // print are pointed at /dev/null.
  if (std::FILE* sink = ::fdopen(null > STDERR_FILENO ? null : ::dup(null), "w")) {
    if (output) stdout = sink;
    stderr = sink;
  }
#else
  if (output) ::dup2(null, STDOUT_FILENO);
  ::dup2(null, STDERR_FILENO);
  if (null > STDERR_FILENO) ::close(null);
#endif
}

}  // namespace

void SilenceStandardStreams() { Silence(Streams::kOutputAndError); }

void SilenceStandardError() { Silence(Streams::kErrorOnly); }

void IgnoreFileSizeLimitSignal() {
  struct sigaction action {};
  action.sa_handler = SIG_IGN;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGXFSZ, &action, nullptr);
}

}  // namespace orvendale::platform
