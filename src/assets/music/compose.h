// compose: the default module, written by code.
//
// A song in A minor at speed 6 and 125 BPM: 64-row patterns of 7.68 s,
// eight channels (kick, snare, hats, bass, two pads, lead, arpeggio and
// effects). Order position 0 is a lead-in, 1 to 24 follow the show's scenes
// (drops where a scene starts, thinner rows 48..63 where its pictures fade),
// 25 is the ending the show stops on; the song then loops to position 0.
// composemodule (assets.h) writes this song as XM bytes.
// Depends on: assets/music/xmwriter.h, assets/music/synth.h.
#pragma once

#include "assets/music/xmwriter.h"

namespace assets {

constexpr uint16_t songchannels = 8;
constexpr uint16_t songrows = 64;
constexpr uint32_t songpositions = 26;

// The song as records, before it is written.
txmmodule composesong();

}  // namespace assets
