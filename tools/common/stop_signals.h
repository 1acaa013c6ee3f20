#pragma once

#include <stdexcept>

// Ctrl-C (SIGINT), SIGTERM and, where there is one, SIGHUP ask a long-running tool to stop rather
// than end it where it stands: the tool stops at the next point that checks, by an exception, so
// that its half-written outputs are removed on the way out (AtomicFile, AtomicFolder), and then
// exits with 128 + the signal's number, as a shell expects of a program a signal ended.
namespace omra::tools {

struct Interrupted : std::runtime_error {
    Interrupted() : std::runtime_error("interrupted") {}
};

// From now on those signals only ask to stop; one the tool was started ignoring (SIGINT in
// a background job) stays ignored.
void stopOnSignals();

// Throws Interrupted once a signal has asked to stop.
void stopIfAsked();

// The exit code for a run that a signal stopped: 128 + its number.
int stoppedExitCode();

} // namespace omra::tools
