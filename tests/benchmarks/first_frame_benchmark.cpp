// The native intro's start on a display: from process start to its first frame on screen, timed
// by the probe preloaded into it (first_frame_probe.c), the median of three starts. The intro's
// stderr is passed on; the figure is printed as a row of the figures table scripts/benchmarks.sh
// shows. The environment (display, SDL drivers) is the caller's.
//
//   omra_first_frame_benchmark INTRO PROBE
#include "benchmarks/table_row.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int Starts = 3;
// A start that has drawn nothing by then counts as failed: llvmpipe on a loaded machine is slow,
// but not that slow.
constexpr auto FrameDeadline = std::chrono::seconds(300);

// Starts the intro with the probe, reads its stderr until the probe's line, then stops it.
std::optional<double> timeOneStart(const char* intro, const char* probe) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        std::perror("pipe");
        return std::nullopt;
    }
    const pid_t child = fork();
    if (child < 0) {
        std::perror("fork");
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        return std::nullopt;
    }
    if (child == 0) {
        // Gone with the benchmark, however it ends.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        dup2(pipeEnds[1], STDERR_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        setenv("LD_PRELOAD", probe, 1);
        execl(intro, intro, static_cast<char*>(nullptr));
        std::perror(intro);
        _exit(127);
    }
    close(pipeEnds[1]);
    const std::string mark = "first frame after ";
    const auto deadline = std::chrono::steady_clock::now() + FrameDeadline;
    std::optional<double> figure;
    std::string text;
    while (!figure) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd reading{pipeEnds[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&reading, 1, static_cast<int>(left.count())) <= 0) {
            std::fprintf(stderr, "%s: no frame within %lld s\n", intro,
                         static_cast<long long>(FrameDeadline.count()));
            break;
        }
        char chunk[4096];
        const ssize_t got = read(pipeEnds[0], chunk, sizeof chunk);
        if (got <= 0) {
            std::fprintf(stderr, "%s: ended before its first frame\n", intro);
            break;
        }
        std::fwrite(chunk, 1, static_cast<std::size_t>(got), stderr);
        text.append(chunk, static_cast<std::size_t>(got));
        const std::size_t at = text.find(mark);
        if (at != std::string::npos && text.find('\n', at) != std::string::npos) {
            figure = std::strtod(text.c_str() + at + mark.size(), nullptr);
        }
    }
    close(pipeEnds[0]);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return figure;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s INTRO PROBE\n", argv[0]);
        return 2;
    }
    std::vector<double> times;
    for (int start = 0; start < Starts; ++start) {
        if (const std::optional<double> took = timeOneStart(argv[1], argv[2])) {
            times.push_back(*took);
        }
    }
    std::optional<double> median;
    if (times.size() == Starts) {
        std::sort(times.begin(), times.end());
        median = times[Starts / 2];
    }
    using omra::benchmark::printFigureRow, omra::benchmark::Target;
    printFigureRow("intro: process start to first frame on screen", median, "ms",
                   Target::atMost(300));
    return median ? 0 : 1;
}
