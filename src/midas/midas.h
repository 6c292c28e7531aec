// midas: the show's music library: the MIDAS calls over libopenmpt (XM
// playback) and SDL 1.2 audio (output on a background thread).
//
// The show only uses the calls below, in the order of its start-up and
// shutdown. Every call returns false (or a null module / zero handle) on
// failure and leaves an error code for MIDASgetLastError; nothing throws and
// nothing crashes on a wrong handle or a call out of order.
//
// Besides live playback the library has two offline modes for the renderer
// (chosen before MIDASinit, see midasoffline.h): the module rendered in
// lockstep with a virtual clock, or a synthetic row clock.
// Depends on: libopenmpt, SDL audio.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

// ---- types -------------------------------------------------------------------

using MIDASmodule = struct midasmodulerec*;
using MIDASmodulePlayHandle = uint32_t;

struct MIDASplayStatus {
  uint32_t position;       // order position
  uint32_t pattern;        // pattern number
  uint32_t row;            // row within the pattern
  uint32_t syncInfo;       // last sync command (always 0: XM has none we use)
  uint32_t songLoopCount;  // completed passes of the song
};

// The library's error codes (MIDASgetLastError). The message of the last
// error names what went wrong, and the file where there is one.
enum MIDASerror : int {
  MIDAS_OK = 0,
  MIDAS_NOT_STARTED,          // MIDASstartup has not run
  MIDAS_NOT_INITIALISED,      // MIDASinit has not run
  MIDAS_ALREADY_INITIALISED,  // a call that must come before MIDASinit
  MIDAS_BACKGROUND_STATE,     // background play already running, or not running
  MIDAS_CONFIG,               // the sound set-up got no or a wrong answer
  MIDAS_FILE_NOT_FOUND,
  MIDAS_FILE_READ,
  MIDAS_BAD_MODULE,           // not a whole, playable XM module
  MIDAS_BAD_MODULE_HANDLE,
  MIDAS_BAD_PLAY_HANDLE,
  MIDAS_MODULE_PLAYING,       // a module plays already, or is freed while playing
  MIDAS_BAD_POSITION,
  MIDAS_BAD_ARGUMENT,
  MIDAS_OUT_OF_MEMORY,
};

// ---- calls -------------------------------------------------------------------
// For the program's thread only; the library's own thread never calls back.

bool MIDASstartup();
// Interactive sound set-up on the console (option M); false on end of input
// or an invalid answer. The choices hold for the later MIDASinit.
bool MIDASconfig();
bool MIDASinit();
bool MIDASstartBackgroundPlay(uint32_t rate);
MIDASmodule MIDASloadModule(const char* filename);
MIDASmodulePlayHandle MIDASplayModule(MIDASmodule module, bool loopsong);
bool MIDASsetPosition(MIDASmodulePlayHandle handle, int position);
bool MIDASgetPlayStatus(MIDASmodulePlayHandle handle, MIDASplayStatus* status);
bool MIDASstopModule(MIDASmodulePlayHandle handle);
bool MIDASfreeModule(MIDASmodule module);
bool MIDASstopBackgroundPlay();
bool MIDASclose();
int MIDASgetLastError();
const char* MIDASgetErrorMessage(int errorcode);

namespace midas {

// The set-up behind MIDASconfig, asking on out and reading answers from in:
// the output (sound device or none), the mixing rate and the buffer length,
// each with a default that an empty answer takes.
bool configure(std::FILE* in, std::FILE* out);

// What MIDASinit set up: a sound device, or the silent real-time clock
// (device false); the mixing rate, the buffer (the power of two nearest to
// the length chosen, as SDL 1.2 asks for) and the frames a device holds
// between the callback and the ear. All zero while not initialised.
// `wanted`: the live output was to be a sound device (not the set-up's "no
// sound", not an offline mode); when none opened, `nodevice` says why.
struct toutputinfo {
  bool device = false;
  bool wanted = false;
  std::string nodevice;
  uint32_t rate = 0;
  uint32_t bufferframes = 0;
  uint32_t queuedframes = 0;
};
toutputinfo outputinfo();

// The mixing rates and buffer lengths the set-up accepts.
constexpr uint32_t minrate = 8000;
constexpr uint32_t maxrate = 48000;
constexpr uint32_t minbufferms = 5;
constexpr uint32_t maxbufferms = 100;

}  // namespace midas
