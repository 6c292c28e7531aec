// glow: the flickering text layer of scenes 6, 7 and 12.
#include "program/scenes/glow.h"

#include "program/scene.h"
#include "runtime/runtime.h"
#include "tarngr/tarngr.h"
#include "tools/stores.h"
#include "tools/text.h"

namespace program::scenes {

void glowdraw(const tglow& glow) {
  // The draw is taken every frame, text or not: it decides which numbers
  // later draws get.
  if (runtime::random(4) != 1) return;
  const tglowline& line = pastrow(glow.secondposition, glow.secondrow) ? glow.second : glow.first;
  tools::drawtext(tools::work2, line.x, line.y, line.text, glowscale, glowadvance, glow.colour);
}

namespace {
// In work2 itself: a glow cut here stays cut in the next frame's blur.
void glowcutoff(uint8_t level) {
  uint8_t* p = tools::work2.pixels;
  for (uint32_t i = 0; i < 64000; ++i) p[i] = p[i] <= level ? 0 : p[i];
}
}  // namespace

void glowshow(const tglow& glow) {
  tarngr::blur(tools::work2.pixels, glow.blurcount);
  if (glow.cutoff != 0) glowcutoff(glow.cutoff);
  tarngr::transcolor = 0;
  tarngr::spriteblit(0, 0, tools::work2, tools::screen);
}

void glowtext(const tglow& glow) {
  glowdraw(glow);
  glowshow(glow);
}

}  // namespace program::scenes
