// compose: the default module, written by code.
//
// A song in A minor at speed 6 and 125 BPM: 64-row patterns of 7.68 s,
// eight channels (kick, snare, hats, bass, two pads, lead, arpeggio and
// effects). Order position 0 is a lead-in, 1 to 24 follow the show's scenes:
// each scene starts a section with a chord loop of its own, drops where a
// scene starts, thinner or fading rows 48..63 where its pictures fade. From
// the final drop (22-23, the densest and loudest part) on, the song is a
// whole tone up, in B minor: 24 is the calm end, 25 the ending the show
// stops on; the song then loops to position 0.
// composemodule (assets.h) writes this song as XM bytes.
// Depends on: assets/music/xmwriter.h, assets/music/synth.h.
#pragma once

#include "assets/music/xmwriter.h"

namespace assets {

constexpr uint16_t songchannels = 8;
constexpr uint16_t songrows = 64;
constexpr uint32_t songpositions = 26;

// What each channel plays. The third of the pads gives its channel to the
// lead's echo where there is one; the last channel carries the arpeggio,
// the crashes and the risers.
enum tsongchannel : uint16_t { chkick, chsnare, chhats, chbass, chpad, chthird, chlead, chfx };

// The song as records, before it is written.
txmmodule composesong();

}  // namespace assets
