// Scene 10: the graphics credits in relief over the mirrored scroller.
//
// The two credit lines are drawn once into work2 and become the relief.
// Every frame the doubled scroll1 picture moves up a row: work3 gets the
// plain window and work2 the window eleven bytes per row further on, so it
// slides sideways as it scrolls; the atancurve band, mirrored into the four
// quadrants, shows the plain window 20 entries brighter. Then work2 is
// jittered in place and refracted through the relief into screen. The
// palette fades in toward scrollpal over 62 frames; the timeline fades out
// from row 49 of position 16 and ends at position 17, querying the music
// after the present.
#include <cstdint>

#include "program/scenes/relief.h"
#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/stores.h"
#include "tools/text.h"

namespace program::scenes {

uint32_t graphscroll = 0;
uint32_t graphwave = 0;

namespace {

void timelinesetup() {
  clearframe(tools::screen);
  tarnpal::clearpalette();
  clearframe(tools::screen);
  clearframe(tools::work2);
  clearframe(tools::work3);
  clearcells(tools::work5);
}

// The wrap of the jitter index in this scene: one later than scene 4's.
constexpr uint16_t graphjitterwrap = 63999;

}  // namespace

void graphsetup() {
  tools::drawtext(tools::work2, 30, 30, "G r a p h", 2, 10, 129);
  tools::drawtext(tools::work2, 60, 60, "L u n a r o", 2, 10, 129);
  buildrelief();
  fadecounter = 0;
  graphwave = 0;
  graphscroll = 0;
}

void graphwindows() {
  graphscroll = graphscroll + 1;
  if (graphscroll > 1800) graphscroll = 0;
  // From s = 1741 on the sliding window runs past the picture's end; the
  // rest of it is black.
  scrollwindow(tools::work2.pixels, graphscroll * 320 + graphscroll * 11);
  scrollwindow(tools::work3.pixels, graphscroll * 320);
}

void graphpass() {
  fadeinstep(tables::scrollpal, 63);
  graphwindows();
  reliefframe(tables::atancurve, graphwave, graphjitterwrap);
}

const tscene scene10 = {
    .name = "graphics credits",
    .timelinesetup = timelinesetup,
    .setup = graphsetup,
    .pass = graphpass,
    .query = tquery::afterpresent,
    .fade = {.kind = tfadekind::down, .position = 16, .afterrow = 48},
    .end = {.position = 17},
};

}  // namespace program::scenes
