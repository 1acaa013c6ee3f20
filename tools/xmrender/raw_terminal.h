#pragma once

#include <termios.h>
#include <vector>

namespace omra::tools {

enum class Key { Pause, Previous, Next, Quit };

// Standard input as a terminal that hands over each key at once, without echo, for as long as
// the object lives; then the terminal is as it was. Ctrl-C still raises its signal.
class RawTerminal {
public:
    RawTerminal();
    ~RawTerminal();
    RawTerminal(const RawTerminal&) = delete;
    RawTerminal& operator=(const RawTerminal&) = delete;

    // The keys pressed since the last call, without waiting; others are ignored.
    std::vector<Key> keys();

private:
    termios saved_{};
    bool raw_ = false;
};

} // namespace omra::tools
