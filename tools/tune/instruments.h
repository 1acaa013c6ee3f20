#pragma once

#include "xm/xm_writer.h"

#include <vector>

// The tune's ten instruments, synthesised here. In pattern notation they are:
//   01 kick    02 snare    03 hi-hat   04 bass   05 pad (power chord)   06 lead
//   07 pluck (arpeggios)   08 sweep (noise effects)   09, 0A names only, no samples
// Pitched instruments sound at the written note: C-4 is middle C.
namespace omra::tools::tune {

std::vector<XmInstrument> tuneInstruments();

} // namespace omra::tools::tune
