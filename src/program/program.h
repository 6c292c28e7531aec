// program: start-up, shutdown and the timeline of scenes.
//
// main() runs startup(), which never returns: the timeline runs the fifteen
// scenes in lockstep with the music until the last scene ends (without the
// loop option) or a quit request arrives, and both end in shutdown().
// Depends on: every unit of the show.
#pragma once

#include <SDL/SDL.h>

#include <cstdint>

#include "midas/midas.h"

namespace program {

// ---- globals ---------------------------------------------------------------

extern char params[6];   // first characters of arguments 1..6, upper case
extern bool loopdemo;    // option L
extern MIDASmodule module;
extern MIDASmodulePlayHandle playhandle;  // 0 until the music plays

// The last successful status query; the scenes follow its position and row.
extern MIDASplayStatus playstatus;
// The last polled event, refilled at most once per loop pass.
extern SDL_Event event;

// ---- operations ------------------------------------------------------------

// The whole start-up sequence, then the show; never returns.
[[noreturn]] void startup(int argc, char** argv);

// Stops and frees the music, closes the libraries, prints "Done!", exit 0.
[[noreturn]] void shutdown();

// The timeline: passes of the fifteen scenes; never returns.
[[noreturn]] void runshow();

}  // namespace program
