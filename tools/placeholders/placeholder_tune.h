#pragma once

#include "xm/xm_writer.h"

namespace omra::tools {

// A short stand-in tune: four channels, one looped instrument with a volume envelope, two
// patterns of a bass line and an arpeggiated melody.
XmModule placeholderTune();

} // namespace omra::tools
