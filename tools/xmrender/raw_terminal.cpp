#include "xmrender/raw_terminal.h"

#include <unistd.h>

namespace omra::tools {

namespace {

constexpr char Escape = '\x1b';

} // namespace

RawTerminal::RawTerminal() {
    if (tcgetattr(STDIN_FILENO, &saved_) != 0) {
        return;
    }
    termios raw = saved_;
    raw.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
    // A read returns at once with whatever has been typed.
    raw.c_cc[VMIN] = 0;
    raw.c_cc[VTIME] = 0;
    raw_ = tcsetattr(STDIN_FILENO, TCSANOW, &raw) == 0;
}

RawTerminal::~RawTerminal() {
    if (raw_) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
    }
}

std::vector<Key> RawTerminal::keys() {
    char typed[64];
    const ssize_t count = read(STDIN_FILENO, typed, sizeof typed);
    std::vector<Key> keys;
    for (ssize_t i = 0; i < count; ++i) {
        if (typed[i] == ' ') {
            keys.push_back(Key::Pause);
        } else if (typed[i] == 'q' || typed[i] == 'Q') {
            keys.push_back(Key::Quit);
        } else if (typed[i] == Escape && i + 2 < count && typed[i + 1] == '[') {
            // An arrow key arrives as Escape [ and a letter, all in one read.
            if (typed[i + 2] == 'C') {
                keys.push_back(Key::Next);
            } else if (typed[i + 2] == 'D') {
                keys.push_back(Key::Previous);
            }
            i += 2;
        } else if (typed[i] == Escape && (i + 1 == count || typed[i + 1] == Escape)) {
            keys.push_back(Key::Quit);
        }
    }
    return keys;
}

} // namespace omra::tools
