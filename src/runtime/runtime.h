// runtime: the language helpers every unit shares.
//
// The one process-wide random generator (a 32-bit linear congruential
// generator), its clock seeding, and the rounding rules the show's
// arithmetic is written against:
//   Round  rounds half to even (the FPU's default mode),
//   Trunc  rounds toward zero,
//   div    is C++'s integer division (also toward zero).
// Reals that are stored are float; intermediates are long double (x87
// extended precision), and literals inside them are written 1.48L.
// Depends on: nothing.
#pragma once

#include <cmath>
#include <cstdint>
#include <optional>

namespace runtime {

// ---- globals -------------------------------------------------------------

// The generator's state. Written by randomize and by every draw.
extern uint32_t randseed;

// When set, randomize() seeds with this value instead of the clock. The
// offline renderer sets it once at start-up (--seed); nothing else does.
extern std::optional<uint32_t> fixedseed;

// When set, every hot loop of the show runs its plain reading instead of its
// fast path: the same bytes, many times slower. The offline renderer sets it
// once at start-up (--plain), to check the fast paths against the rules and
// to measure what they gain; nothing else does.
extern bool plainpaths;

// ---- operations ----------------------------------------------------------

// seed := seed * 134775813 + 1 (mod 2^32)
inline uint32_t nextseed() {
  randseed = randseed * 134775813u + 1u;
  return randseed;
}

// An integer in 0..n-1: the high 32 bits of the 64-bit product of the new
// seed and n. random(0) is 0.
inline uint32_t random(uint32_t n) {
  return static_cast<uint32_t>((static_cast<uint64_t>(nextseed()) * n) >> 32);
}

// A real in [0, 1): the new seed divided by 2^32 (exact in long double).
inline long double randomreal() {
  return static_cast<long double>(nextseed()) / 4294967296.0L;
}

// Seeds from the time of day in milliseconds, or from fixedseed.
void randomize();

// The clock reading randomize uses: ((h*60+m)*60+s)*1000+ms of local time.
uint32_t timeofdayms();

// Round half to even, as the FPU does in its default rounding mode.
int64_t round(long double x);

// Round toward zero, for |x| < 2^63. A plain conversion switches the FPU's
// rounding mode there and back on every call (a costly control word
// load); rounding to nearest in the current mode and stepping back
// toward zero where that went past gives the same integer without it.
inline int64_t trunc(long double x) {
  const int64_t r = std::llrintl(x);
  const long double back = static_cast<long double>(r);
  if (x >= 0) return back > x ? r - 1 : r;
  return back < x ? r + 1 : r;
}
// The plain conversion, which the one above must equal.
inline int64_t truncplain(long double x) { return static_cast<int64_t>(x); }

}  // namespace runtime
