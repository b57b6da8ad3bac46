// bench-device: plays the test bench's measuring device on a pseudo-terminal, so the recorder
// can be tried and measured without the hardware. See --help.
#include "Options.h"
#include "PtyDevice.h"
#include "Session.h"

#include <csignal>
#include <cstdio>
#include <string>

namespace {

volatile std::sig_atomic_t g_stop = 0;

void onSignal(int)
{
    g_stop = 1;
}

// Without SA_RESTART, so that a blocking poll returns at once.
void installSignals()
{
    struct sigaction action{};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    // A reader of our standard output that went away must not end the device.
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace

int main(int argc, char **argv)
{
    BenchOptions options;
    std::string error;
    switch (parseOptions(argc, argv, options, error)) {
    case ParseResult::Help:
        std::fputs(helpText(), stdout);
        return 0;
    case ParseResult::Version:
        std::printf("bench-device %s\n", ROTAVOLT_VERSION);
        return 0;
    case ParseResult::Error:
        std::fprintf(stderr, "bench-device: %s\n", error.c_str());
        return 2;
    case ParseResult::Run:
        break;
    }

    installSignals();
    PtyDevice device;
    if (!device.open(error) || (!options.link.empty() && !device.makeLink(options.link, error))) {
        std::fprintf(stderr, "bench-device: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", device.slavePath().c_str());
    std::fflush(stdout);

    Session session(options, device, g_stop);
    session.run();
    device.close();
    std::fprintf(stderr, "%s\n", session.summary().c_str());
    return 0;
}
