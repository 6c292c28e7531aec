// render: the show offline, deterministic, to dumps, pictures, video and
// sound, and timed per scene.
//
// morvanta-render runs the very start-up, tables, timeline and scenes of
// the live show; only the seam differs: a virtual clock that each frame's
// delay advances (1/60 s per presented frame), SDL's dummy video driver, no
// sound device (the module is rendered in lockstep with the virtual clock,
// or a synthetic row clock stands in for it), a fixed seed for Randomize,
// and a frame sink that writes what was asked for.
// Depends on: program, tools, midas, pngio, runtime.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace render {

// ---- types -------------------------------------------------------------------

struct toptions {
  std::string datadir = ".";        // holds morvanta.dat and morvanta.xm
  std::optional<uint32_t> seed;     // every Randomize uses it
  std::optional<uint32_t> rows;     // synthetic music: frames per row
  std::optional<uint64_t> frames;   // shut down after this many frames
  std::string dump;                 // frame records
  std::string pngdir;               // every `every`-th frame as PNG
  uint32_t every = 1;
  std::string sheet;                // contact sheet PNG
  std::string video;                // Y4M, 640x480 at 60 fps
  std::string wav;                  // the music, 48 kHz 16-bit stereo
  std::string mp4;                  // both muxed by ffmpeg
  bool bench = false;               // time start-up and scenes, write nothing
  std::string checkmusic;           // only check which positions this module reaches
  bool scaled = false;              // present through the scaled display
  bool plain = false;               // the hot loops' plain readings, not their fast paths
  bool help = false;
};

// ---- operations --------------------------------------------------------------

// Reads the command line; false with a message on any bad argument.
bool parseoptions(int argc, char** argv, toptions& options, std::string& error);

// The usage text.
const char* usage();

// Checks the data and the outputs, sets the seam and runs the show; never
// returns. Exit code 0 when the show ended (or --frames was reached) and
// every output was written, non-zero with a message otherwise.
[[noreturn]] void run(const toptions& options);

}  // namespace render
