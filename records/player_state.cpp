#include "records/player_state.h"

namespace omra {

PlayerState player;
Instrument EmptyInstrument;
Sample EmptySample;

} // namespace omra
