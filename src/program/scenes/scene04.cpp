// Scene 4: the code credits in relief over the scroller.
//
// The four credit lines are drawn once into work2 and become the relief.
// Every frame the doubled scroll1 picture moves up a row: work2 gets the
// plain window, work3 the same window once at byte f and again ten bytes
// per row further on, so it drifts sideways; the halfsine band, mirrored
// into the four quadrants, shows work3 in the grey ramp (entries 20..40).
// Then work2 is jittered in place and refracted through the relief into
// screen. The palette fades in toward scroll1's over 62 frames; the
// timeline fades out from row 49 of position 7 and ends at position 8,
// querying the music after the present.
#include <cstdint>

#include "program/scenes/relief.h"
#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/display.h"
#include "tools/stores.h"
#include "tools/text.h"

namespace program::scenes {

uint32_t codescroll = 0;
uint32_t codewave = 0;

namespace {

void timelinesetup() {
  tarnpal::clearpalette();
  clearframe(tools::screen);
  tarnpal::clearpalette();
  tools::setmode();
  clearframe(tools::screen);
  clearframe(tools::work2);
  clearframe(tools::work3);
  clearcells(tools::work5);
  tarngr::transcolor = 255;
}

// The wrap of the jitter index in this scene.
constexpr uint16_t codejitterwrap = 63998;

}  // namespace

void codesetup() {
  tools::drawtext(tools::work2, 45, 40, "C o d e", 2, 10, 129);
  tools::drawtext(tools::work2, 20, 70, "T o r - V i n n", 2, 10, 129);
  tools::drawtext(tools::work2, 170, 105, "C o d e", 2, 10, 129);
  tools::drawtext(tools::work2, 100, 130, "D r. Z o r b l e c k", 2, 10, 129);
  buildrelief();
  fadecounter = 0;
  codewave = 0;
  codescroll = 0;
}

void codewindows() {
  codescroll = codescroll + 1;
  if (codescroll > 1800) codescroll = 0;
  // The first copy survives only below byte 10f; what the last one puts
  // past work3's pixels stays in its spare store.
  const uint32_t from = codescroll * 320;
  scrollwindow(tools::work3.pixels + codescroll, from);
  scrollwindow(tools::work2.pixels, from);
  scrollwindow(tools::work3.pixels + 10 * codescroll, from);
}

void codepass() {
  fadeinstep(tools::scroll1pal, 63);
  codewindows();
  reliefframe(tables::halfsine, codewave, codejitterwrap);
}

const tscene scene04 = {
    .name = "code credits",
    .timelinesetup = timelinesetup,
    .setup = codesetup,
    .pass = codepass,
    .query = tquery::afterpresent,
    .fade = {.kind = tfadekind::down, .position = 7, .afterrow = 48},
    .end = {.position = 8},
};

}  // namespace program::scenes
