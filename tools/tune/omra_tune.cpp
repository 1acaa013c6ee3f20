#include "tune/omra_tune.h"

#include "tune/arrangement.h"
#include "tune/instruments.h"
#include "tune/phrase_operations.h"

namespace omra::tools::tune {

XmModule omraTune() {
    XmModule module;
    module.name = "omra";
    module.trackerName = "omra-tune";
    module.channels = TuneChannels;
    module.restartPosition = 2;
    module.linearFrequencies = true;
    module.speed = 5;
    module.bpm = 115;
    module.patterns = tunePatterns();
    for (std::size_t i = 0; i < module.patterns.size(); ++i) {
        module.orders.push_back(static_cast<std::uint8_t>(i));
    }
    module.instruments = tuneInstruments();
    return module;
}

} // namespace omra::tools::tune
