// midasoffline: how the offline renderer drives the music library.
//
// Chosen once, before MIDASinit. In both modes no sound device is opened.
//  - lockstep: the module is rendered only when midasofflineadvance asks,
//    so the status at virtual time t is the module's own at exactly t; the
//    rendered samples (48 kHz, 16-bit stereo, interleaved) go to the sink.
//  - synthetic rows: no module is rendered; with c frames presented since the
//    last MIDASsetPosition(p): position = p + c div (64 F),
//    row = (c div F) mod 64, pattern = position, sync 0, loop count 0.
#pragma once

#include <cstddef>
#include <cstdint>

namespace midasoffline {

using tsamplesink = void (*)(const int16_t* frames, size_t count, void* user);

// Lockstep mode; sink may be null (samples are then dropped).
void uselockstep(tsamplesink sink, void* user);
// Renders the module up to virtual time ms (since MIDASplayModule); a time
// earlier than the last one does nothing.
void advanceto(uint64_t ms);

// Synthetic row clock with F frames per row.
void usesyntheticrows(uint32_t framesperrow);
// Called once per presented frame (synthetic mode counts them).
void framepresented();

constexpr uint32_t samplerate = 48000;

}  // namespace midasoffline
