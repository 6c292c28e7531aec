// musicwatch: whether the music can still bring the show to its end.
//
// Each scene waits for an order position of the module (scenes 1 and 15
// for one exact position). A module that loops back to its start before
// that position plays (fewer than 26 orders, a jump over a position) or
// stops playing leaves the show waiting in that scene for good. The live
// show keeps waiting, as the user ends it with Escape; the renderer asks
// the watch after every frame and stops instead of rendering forever, and
// --check-music walks a module through the scenes' end tests beforehand.
// Depends on: midas (the status record and, for the check, the calls),
// program (the scenes' end tests and names), runtime.
#pragma once

#include <cstdint>
#include <string>

#include "midas/midas.h"

namespace render {

// ---- the watch -------------------------------------------------------------

enum class tmusicfate : uint8_t {
  playing,
  looped,   // the song loop count rose: the module went back to its start
  stopped,  // no new row for as long as an order would take
};

struct tmusicwatch {
  bool started = false;
  uint32_t loops = 0;       // song loop count at the first frame
  uint32_t position = 0;    // the place seen last
  uint32_t row = 0;
  uint32_t furthest = 0;    // the highest position seen
  uint64_t still = 0;       // frames since the place last changed
  uint64_t longestrow = 0;  // the most frames one place has lasted so far
};

// A row of an XM module lasts at most 31 ticks, repeated 16 times by a
// pattern delay, at 32 BPM (2.5 / 32 s a tick): 38.75 s, 2325 frames.
constexpr uint64_t longestxmrow = 2325;

// Frames without a new place after which the music counts as stopped: a
// whole order (64 rows) at the slowest pace seen so far, and never less
// than the longest row a module can have.
uint64_t stilllimit(const tmusicwatch& watch);

// One presented frame and the status the show read for it.
tmusicfate watchmusic(tmusicwatch& watch, const MIDASplayStatus& status);

// ---- the scenes' positions ---------------------------------------------------

// The position scene n (1..15) waits for to end, and whether only exactly
// that one ends it; the show's last scene ends the show.
uint32_t endposition(int scene);
bool endsexactly(int scene);

// The sentence for a show stuck in scene n: what the music did, the scene
// and the position it waits for.
std::string stucksentence(tmusicfate fate, const tmusicwatch& watch, int scene);

constexpr const char* moduleneeds = "A module needs at least 26 orders played straight through (positions 1 to 25)";

// ---- --check-music -------------------------------------------------------------

// Plays the module in lockstep, once per frame as the show does from order
// position 1, through every scene's end test, and prints each scene's start
// position and whether (and when) the music reaches it. 0 when the show
// would end, 1 when it would wait in some scene or the module cannot be
// loaded.
int checkmusic(const std::string& file);

}  // namespace render
