#include "common/stop_signals.h"

#include <csignal>

namespace omra::tools {

namespace {

// Windows has no hangup signal.
constexpr int StopSignals[] = {SIGINT, SIGTERM,
#ifdef SIGHUP
                               SIGHUP
#endif
};

volatile std::sig_atomic_t stopSignal = 0;

extern "C" void noteStopSignal(int signal) {
    stopSignal = signal;
}

} // namespace

void stopOnSignals() {
    for (const int signal : StopSignals) {
        if (std::signal(signal, noteStopSignal) == SIG_IGN) {
            std::signal(signal, SIG_IGN);
        }
    }
}

void stopIfAsked() {
    if (stopSignal != 0) {
        throw Interrupted();
    }
}

int stoppedExitCode() {
    return 128 + stopSignal;
}

} // namespace omra::tools
