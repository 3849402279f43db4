#include "platform/system/quiet_process.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace orvendale::platform {
namespace {

// Whether descriptor `fd` is open on /dev/null.
bool IsNullDevice(int fd) {
  struct stat device {}, null {};
  return ::fstat(fd, &device) == 0 && ::stat("/dev/null", &null) == 0 && S_ISCHR(device.st_mode) &&
         device.st_rdev == null.st_rdev;
}

// Each case runs in a child process (a death test), whose standard error the test reads.
TEST(QuietProcessDeathTest, WhatLibrariesPrintReachesNothing) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        SilenceStandardStreams();
        std::fputs("a library's warning\n", stderr);
        std::fputs("a library's message\n", stdout);
        std::perror("a library's error");
        std::fflush(nullptr);
#ifdef ORVENDALE_SANITIZER_REPORTS
        std::_Exit(0);
#else
        (void)!::write(STDERR_FILENO, "raw\n", 4);
        std::_Exit(IsNullDevice(STDOUT_FILENO) && IsNullDevice(STDERR_FILENO) ? 0 : 1);
#endif
      },
      ::testing::ExitedWithCode(0), "^$");
}

// Standard error alone: what libraries print there reaches nothing, and standard output,
// which carries the findings, is where it was.
TEST(QuietProcessDeathTest, SilencingStandardErrorKeepsStandardOutput) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        std::FILE* const output = stdout;
        const bool outputWasNull = IsNullDevice(STDOUT_FILENO);
        SilenceStandardError();
        std::fputs("Fontconfig error: No writable cache directories\n", stderr);
        std::perror("a library's error");
        std::fflush(nullptr);
        bool kept = stdout == output && IsNullDevice(STDOUT_FILENO) == outputWasNull;
#ifndef ORVENDALE_SANITIZER_REPORTS
        (void)!::write(STDERR_FILENO, "raw\n", 4);
        kept = kept && IsNullDevice(STDERR_FILENO);
#endif
        std::_Exit(kept ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "^$");
}

TEST(QuietProcessDeathTest, ClosedStandardDescriptorsAreFilledSoNoFileBecomesOne) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::close(STDIN_FILENO);
        ::close(STDOUT_FILENO);
        ::close(STDERR_FILENO);
        SilenceStandardStreams();
        const int file = ::open("/dev/zero", O_RDONLY);
        const bool filled = IsNullDevice(STDIN_FILENO) && IsNullDevice(STDOUT_FILENO) &&
                            IsNullDevice(STDERR_FILENO);
        std::_Exit(filled && file > STDERR_FILENO ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

#ifdef ORVENDALE_SANITIZER_REPORTS
// The reports of both sanitizers still arrive on the original standard error.
TEST(QuietProcessDeathTest, AddressSanitizerReportsStillArrive) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        SilenceStandardStreams();
        char* block = new char[4];
        delete[] block;
        volatile char freed = *reinterpret_cast<volatile char*>(block);
        (void)freed;
      },
      "heap-use-after-free");
}

TEST(QuietProcessDeathTest, UndefinedBehaviourReportsStillArrive) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        SilenceStandardStreams();
        volatile int largest = 0x7FFFFFFF;
        volatile int sum = largest + 1;
        (void)sum;
        std::abort();  // not reached: the overflow ends the process
      },
      "signed integer overflow");
}
#endif

TEST(QuietProcessDeathTest, AWriteBeyondTheFileSizeLimitFailsInsteadOfEndingTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        IgnoreFileSizeLimitSignal();
        char path[] = "/tmp/orvendale-fsize-XXXXXX";
        const int file = ::mkstemp(path);
        if (file < 0) std::_Exit(2);
        ::unlink(path);
        struct rlimit limit {};
        limit.rlim_cur = 16;
        limit.rlim_max = 16;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        char bytes[64] = {};
        const ssize_t written = ::write(file, bytes, sizeof bytes);  // cut to the limit
        const ssize_t beyond = ::write(file, bytes, sizeof bytes);   // fails
        std::_Exit(written == 16 && beyond < 0 && errno == EFBIG ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace orvendale::platform
