#include "platform/system/quiet_process.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdint>

#ifdef ORVENDALE_SANITIZER_REPORTS
#include <sanitizer/common_interface_defs.h>
#endif

namespace orvendale::platform {

void SilenceStandardStreams() {
#ifdef ORVENDALE_SANITIZER_REPORTS
  // The sanitizers write their reports to a copy of standard error, kept above the
  // standard descriptors and closed on exec.
  const int reports = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
  if (reports >= 0) __sanitizer_set_report_fd(reinterpret_cast<void*>(static_cast<std::intptr_t>(reports)));
#endif
  // Opening /dev/null takes the lowest free descriptor: when 0, 1 or 2 was closed, it is
  // that one, and the copies below fill the others.
  const int null = ::open("/dev/null", O_RDWR);
  if (null < 0) return;
  if (null != STDIN_FILENO && ::fcntl(STDIN_FILENO, F_GETFD) < 0) ::dup2(null, STDIN_FILENO);
  ::dup2(null, STDOUT_FILENO);
  ::dup2(null, STDERR_FILENO);
  if (null > STDERR_FILENO) ::close(null);
}

void IgnoreFileSizeLimitSignal() {
  struct sigaction action {};
  action.sa_handler = SIG_IGN;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGXFSZ, &action, nullptr);
}

}  // namespace orvendale::platform
