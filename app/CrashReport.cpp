// A last word on standard error when the program dies of a fatal signal or an unhandled error.
#include "app/CrashReport.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <initializer_list>

#ifdef __GLIBC__
#include <execinfo.h>
#endif
#include <unistd.h>

namespace {

constexpr int kMaxFrames = 64;

void writeText(const char *text)
{
    ssize_t ignored = ::write(STDERR_FILENO, text, std::strlen(text));
    (void)ignored;
}

void writeBacktrace()
{
#ifdef __GLIBC__
    void *frames[kMaxFrames];
    const int n = backtrace(frames, kMaxFrames);
    backtrace_symbols_fd(frames, n, STDERR_FILENO);
#endif
}

// Only async-signal-safe calls here; then the default action, so the system sees the crash.
void onFatalSignal(int signal)
{
    writeText("rotavolt-recorder: fatal signal ");
    writeText(strsignal(signal));
    writeText("\n");
    writeBacktrace();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void onTerminate()
{
    writeText("rotavolt-recorder: terminated by an unhandled error\n");
    writeBacktrace();
    std::abort();
}

} // namespace

void InstallCrashReport()
{
    for (int s : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT})
        std::signal(s, onFatalSignal);
    std::set_terminate(onTerminate);
}
