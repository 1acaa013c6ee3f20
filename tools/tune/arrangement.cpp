#include "tune/arrangement.h"

#include "tune/parts.h"

namespace omra::tools::tune {

namespace {

const Progression& Main = MainProgression;
const Progression& Breakdown = BreakdownProgression;

// Channels: drums, hats (or sweep), bass, pad, lead, pluck (or sweep).
XmPattern pattern(Phrase drums, Phrase hats, Phrase bass, Phrase pad, Phrase lead, Phrase pluck) {
    return patternOf({std::move(drums), std::move(hats), std::move(bass), std::move(pad),
                      std::move(lead), std::move(pluck)});
}

Phrase hatsAfterWhoosh() {
    return overwritten(hatsSixteenths(false), 0, sweepDown());
}

void intro(std::vector<XmPattern>& song) {
    song.push_back(
        pattern(silence(64), sweepWind(), silence(64), padFadeIn(Main), silence(64), arpEchoes()));
    song.push_back(pattern(drumsFourToTheFloor(true), sweepRiser(), bassHeld(Main), padChords(Main),
                           silence(64), arpBroken(Main)));
}

void groove(std::vector<XmPattern>& song) {
    song.push_back(pattern(drumsGroove(Fill::None), hatsEighths(), bassDriving(Main),
                           padChords(Main), silence(64), silence(64)));
    song.push_back(pattern(drumsGroove(Fill::Pickup), hatsEighths(), bassDriving(Main),
                           padChords(Main), silence(64), arpEchoes()));
    song.push_back(pattern(drumsGroove(Fill::None), hatsSixteenths(false), bassDriving(Main),
                           padChords(Main), silence(64), arpBroken(Main)));
    song.push_back(pattern(drumsGroove(Fill::Flam), hatsSixteenths(true), bassDriving(Main),
                           padChords(Main), silence(64), arpBroken(Main)));
}

void build(std::vector<XmPattern>& song) {
    song.push_back(pattern(drumsGroove(Fill::None), hatsSixteenths(false), bassDriving(Main),
                           padChords(Main), leadTeaser(), arpStabs(Main)));
    song.push_back(pattern(drumsGroove(Fill::Pickup), hatsSixteenths(true), bassDriving(Main),
                           padChords(Main), leadTeaser(), arpStabs(Main)));
    song.push_back(pattern(drumsGroove(Fill::Flam), hatsSixteenths(true), bassPumping(Main),
                           padChords(Main), silence(64), arpBroken(Main)));
    song.push_back(pattern(drumsRoll(false), sweepRiser(), bassPumping(Main), padChords(Main),
                           silence(64), arpBroken(Main)));
}

void theme(std::vector<XmPattern>& song) {
    song.push_back(pattern(drumsGroove(Fill::None), hatsAfterWhoosh(), bassDriving(Main),
                           padChords(Main), leadThemeCall(), arpStabs(Main)));
    song.push_back(pattern(drumsGroove(Fill::Pickup), hatsSixteenths(true), bassDriving(Main),
                           padChords(Main), leadThemeAnswer(), arpStabs(Main)));
    song.push_back(pattern(drumsGroove(Fill::None), hatsSixteenths(false), bassDriving(Main),
                           padChords(Main), leadThemeCallOrnamented(), arpBroken(Main)));
    song.push_back(pattern(drumsGroove(Fill::Flam), hatsSixteenths(true), bassDriving(Main),
                           padChords(Main), leadThemeAnswerOrnamented(), arpBroken(Main)));
    song.push_back(pattern(drumsGroove(Fill::None), hatsSixteenths(false), bassDriving(Main),
                           padChords(Main), leadSecondThemeCall(), arpStabs(Main)));
    song.push_back(pattern(drumsGroove(Fill::Roll), hatsSixteenths(true), bassDriving(Main),
                           padChords(Main), leadSecondThemeAnswer(), arpStabs(Main)));
    song.push_back(pattern(drumsGroove(Fill::None), hatsSixteenths(false), bassDriving(Main),
                           padChords(Main), leadThemeCall(), echoOf(leadThemeCall(), 3)));
    song.push_back(pattern(drumsGroove(Fill::Pickup), hatsSixteenths(true), bassDriving(Main),
                           padChords(Main), leadThemeAnswer(), echoOf(leadThemeAnswer(), 3)));
}

void breakdown(std::vector<XmPattern>& song) {
    song.push_back(pattern(silence(64), sweepWind(), bassHeld(Breakdown), padTremolo(Breakdown),
                           silence(64), arpDrifting(Breakdown)));
    song.push_back(pattern(silence(64), sweepWind(), bassHeld(Breakdown), padTremolo(Breakdown),
                           leadBreakdown(0), arpDrifting(Breakdown)));
    song.push_back(pattern(drumsBoom(), silence(64), bassHeld(Breakdown), padChords(Breakdown),
                           leadBreakdown(1), arpDrifting(Breakdown)));
    song.push_back(pattern(drumsBoom(), hatsOffbeats(), bassHeld(Breakdown), padTremolo(Breakdown),
                           leadBreakdown(0), arpStabs(Breakdown)));
    song.push_back(pattern(drumsFourToTheFloor(false), hatsEighths(), bassPumping(Breakdown),
                           padChords(Breakdown), leadBreakdown(1), arpStabs(Breakdown)));
    // The last bar is cut in half: a pattern break after its first two beats drops straight
    // into the second build.
    song.push_back(pattern(drumsGroove(Fill::Roll), hatsSixteenths(false), bassDriving(Breakdown),
                           padChords(Breakdown),
                           overwritten(silence(64), 55, phrase("--- .. .. D00")),
                           arpBroken(Breakdown)));
}

void secondBuild(std::vector<XmPattern>& song) {
    song.push_back(pattern(drumsFourToTheFloor(false), hatsSixteenths(true), bassPumping(Main),
                           padChords(Main), leadTeaser(), arpBroken(Main)));
    song.push_back(pattern(drumsRoll(true), sweepRiser(), bassPumping(Main), padChords(Main),
                           silence(64), arpStabs(Main)));
}

void comeback(std::vector<XmPattern>& song) {
    song.push_back(pattern(drumsGroove(Fill::None), hatsAfterWhoosh(), bassDriving(Main),
                           padChords(Main), leadThemeCall(), echoOf(leadThemeCall(), 3)));
    song.push_back(pattern(drumsGroove(Fill::Pickup), hatsSixteenths(true), bassDriving(Main),
                           padChords(Main), leadThemeAnswer(), echoOf(leadThemeAnswer(), 3)));
    song.push_back(pattern(drumsGroove(Fill::Flam), hatsSixteenths(false), bassDriving(Main),
                           padChords(Main), leadSecondThemeCall(), arpStabs(Main)));
    song.push_back(pattern(drumsGroove(Fill::Roll), hatsSixteenths(true), bassDriving(Main),
                           padChords(Main), leadSecondThemeAnswer(), arpStabs(Main)));
    song.push_back(pattern(drumsGroove(Fill::None), hatsAfterWhoosh(), bassDriving(Main),
                           padChords(Main), leadThemeCallOrnamented(), arpBroken(Main)));
    song.push_back(pattern(drumsGroove(Fill::Pickup), hatsSixteenths(true), bassDriving(Main),
                           padChords(Main), leadThemeAnswerOrnamented(), arpBroken(Main)));
    song.push_back(pattern(drumsGroove(Fill::Flam), hatsSixteenths(false), bassDriving(Main),
                           padChords(Main), leadThemeCall(), arpStabs(Main)));
    song.push_back(pattern(drumsGroove(Fill::Roll), hatsSixteenths(true), bassDriving(Main),
                           padChords(Main), leadThemeAnswer(), echoOf(leadThemeAnswer(), 3)));
}

} // namespace

std::vector<XmPattern> tunePatterns() {
    std::vector<XmPattern> song;
    intro(song);
    groove(song);
    build(song);
    theme(song);
    breakdown(song);
    secondBuild(song);
    comeback(song);
    return song;
}

} // namespace omra::tools::tune
