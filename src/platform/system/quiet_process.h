#pragma once
// A plain run shows nothing and prints nothing, also where a library it uses would print
// (fontconfig warns on standard error when its cache is stale, cannot be written, or the
// disk is full). These two calls make the process so; the program calls them first thing
// in main(), before any library has run.

namespace orvendale::platform {

// Points standard output and standard error at /dev/null for the rest of the process, so
// that nothing any library writes to them reaches a terminal or a log. Descriptors 0 to
// 2 that were closed at start are opened on /dev/null too, so no file the run opens can
// become one of them. When /dev/null cannot be opened, the streams stay as they are.
// In a build with the sanitizers, whose reports go straight to descriptor 2, only the C
// streams `stdout` and `stderr` (through which libraries print) are pointed at
// /dev/null, and the descriptors stay, so the reports are never hidden. Call it only for
// a run that is meant to print nothing (never before printing help or findings).
void SilenceStandardStreams();

// The same for standard error alone, for a run whose standard output carries what it was
// asked for (the findings of --check): libraries' messages do not mix into it. Anything
// the caller still has to say must go to standard output, or be said before.
void SilenceStandardError();

// A write beyond the file-size limit (RLIMIT_FSIZE, `ulimit -f`) then fails with an error,
// as a full disk does, instead of ending the process with SIGXFSZ: the run's atomic output
// cleans up after the failed write, and the exit code stays the program's own.
void IgnoreFileSizeLimitSignal();

}  // namespace orvendale::platform
