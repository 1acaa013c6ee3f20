#include "sequencer/tick_driver.h"

#include "records/player_state.h"
#include "sequencer/row_processing.h"

namespace omra {

namespace {

TickObserver tickObserver = nullptr;
void* tickObserverContext = nullptr;

// Applies the jump a row asked for, or the natural advance; a request that lands outside the
// song or past the pattern's rows starts from its beginning instead.
void moveToRequestedRow(Song& song) {
    if (song.nextOrder >= 0) {
        song.orderPosition = song.nextOrder < song.songLength ? song.nextOrder : 0;
    }
    if (song.nextRow >= 0) {
        song.row = song.nextRow;
    }
    if (song.row >= currentPatternRows(song)) {
        song.row = 0;
    }
}

// Where the next row tick goes when no effect of this row asked for a jump.
void planNaturalAdvance(Song& song) {
    if (song.nextRow != -1) {
        return;
    }
    song.nextRow = song.row + 1;
    if (song.nextRow >= currentPatternRows(song)) {
        song.nextOrder = song.orderPosition + 1;
        if (song.nextOrder >= song.songLength) {
            song.nextOrder = song.restartPosition;
        }
        song.nextRow = 0;
    }
}

} // namespace

void setTickObserver(TickObserver observer, void* context) {
    tickObserver = observer;
    tickObserverContext = context;
}

void advanceTick(Song& song) {
    PlayerState& state = *song.player;
    if (song.tick == 0) {
        moveToRequestedRow(song);
        processRow(song, state);
        planNaturalAdvance(song);
    } else {
        processTick(song, state);
    }
    if (tickObserver != nullptr) {
        tickObserver(song, tickObserverContext);
    }
    // A pattern delay stretches the row by whole rows' worth of ticks.
    song.tick += 1;
    if (song.tick >= song.speed + song.patternDelay) {
        song.patternDelay = 0;
        song.tick = 0;
    }
}

} // namespace omra
