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

// ---- calls -------------------------------------------------------------------

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
