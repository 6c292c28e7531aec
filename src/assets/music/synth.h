// synth: the default module's instruments, synthesised.
//
// Pitched instruments are sums of sines with a whole number of cycles per
// loop, so every loop point joins seamlessly; they sound at their written
// pitch (C-4 = 261.63 Hz). Drums are one-shots that start and end at zero,
// made from a seeded noise generator so the bytes never change.
// Depends on: assets/music/xmwriter.h.
#pragma once

#include <cstdint>
#include <vector>

#include "assets/music/xmwriter.h"

namespace assets {

// ---- building blocks -------------------------------------------------------

// Seeded white noise (xorshift32); the same seed gives the same noise.
struct tnoise {
  uint32_t state = 0x9e3779b9u;
};
double nextnoise(tnoise& noise);  // in [-1, 1)

// One sine component: cycles whole periods over the loop, amplitude, phase.
struct tpartial {
  uint32_t cycles = 1;
  double amplitude = 1.0;
  double phase = 0.0;
};
std::vector<double> additive(size_t length, const std::vector<tpartial>& partials);

// Scales to the given peak (fraction of full scale) and rounds to 16 bits.
std::vector<int16_t> normalise(const std::vector<double>& wave, double peak);

// ---- the instruments ---------------------------------------------------------

txminstrument makekick();
txminstrument makesnare();
txminstrument makeclosedhat();
txminstrument makeopenhat();
txminstrument makecrash();
txminstrument makeriser();  // a 1.92 s noise sweep: the length of 16 rows
txminstrument makebass();
txminstrument makepadfifths();  // root, fifth and octave in one sample
txminstrument makepad();        // one chorused voice
txminstrument makelead();
txminstrument makearpeggio();

}  // namespace assets
