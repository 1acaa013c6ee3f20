#include "records/player_state.h"

#include "records/oddities.h"

namespace omra {

PlayerState player;
Instrument EmptyInstrument;
Sample EmptySample;
OddityWatch oddityWatch;

} // namespace omra
