#pragma once

#include "player/wave_device.h"

namespace omra {

// SDL's audio output in place of the Windows wave output.
WaveDevice& sdlWaveDevice();

} // namespace omra
