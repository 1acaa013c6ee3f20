#include "core/frame_state.h"

namespace omra {

FrameState frameState;

} // namespace omra
