#pragma once

#include "xm/xm_writer.h"

// The intro's tune, composed and synthesised here: six channels, 34 patterns played once each
// in order, coming back to the groove at order 2 after the last one.
namespace omra::tools::tune {

XmModule omraTune();

} // namespace omra::tools::tune
