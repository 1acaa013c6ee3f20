#pragma once

#include "player/wave_device.h"

namespace omra {

// The Windows wave output (waveOut) on the default device.
WaveDevice& waveOutDevice();

} // namespace omra
