// pacing: frame deadlines.
#include "tools/pacing.h"

#include "runtime/runtime.h"
#include "tools/seam.h"

namespace tools {

uint32_t framecount = 0;
uint32_t framestart = 0;
float frametime = 0.0f;

void frameinit() {
  framecount = 0;
  frametime = 1000.0f / 60.0f;
  framestart = seam::current.getticks();
}

void framewait() {
  framecount = framecount + 1;
  const uint32_t now = seam::current.getticks();
  // Formed in extended precision, rounded half to even, used as 32 bits.
  const long double due = static_cast<long double>(framecount) * frametime + framestart;
  const uint32_t deadline = static_cast<uint32_t>(static_cast<uint64_t>(runtime::round(due)));
  if (deadline >= now) {
    seam::current.delay(deadline - now);
  } else {
    framecount = 0;
    framestart = seam::current.getticks();
  }
}

}  // namespace tools
