// stores: every bitmap of the show and the static memory behind it.
//
// All pixel memory is static, sized once here and never freed; initmemory()
// points each bitmap at its store (start-up's "Initializing Memory..."). What
// the show writes past a bitmap's own pixels stays there: several effects
// read a row past their area, scene 3 copies a 640x480 picture over
// screen's whole store, and the filters read one row and a byte beyond.
// Depends on: tarngr, tarnpal.
#pragma once

#include <cstdint>

#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"

namespace tools {

using tarngr::tbitmap;
using tarnpal::tpalette;

// ---- store sizes in bytes ------------------------------------------------------

// A 320x200 store: the pixels, a spare row and one byte (filters read them).
constexpr uint32_t framestoresize = 64000 + 320 + 1;
constexpr uint32_t screenstoresize = 640 * 480;  // scene 3 shows a 640x480 picture
constexpr uint32_t work2storesize = 65536;       // lensremap reads it at any 16-bit index
constexpr uint32_t work3storesize = 82000;       // scene 4 copies a frame at offsets up to 18,000
constexpr uint32_t cellstoresize = 320 * 201 * 2;  // work4, work5: 320x201 16-bit cells
constexpr uint32_t digitcellstoresize = 20 * 30;
constexpr uint32_t linebufstoresize = 320;
constexpr uint32_t bigscreenstoresize = 640 * 480;

// ---- work bitmaps --------------------------------------------------------------

extern tbitmap screen;     // the frame every scene draws and present shows
extern tbitmap work1, work2, work3, work4, work5;
extern tbitmap digitcell;  // one digit of the row counter
extern tbitmap linebuf;    // one picture row (perspective scroller)
extern tbitmap teilfull;   // teil scaled to the screen (built with the tables)
extern tbitmap bigscreen;  // the 640x480 target of the scaled presentation

// screen's store has one zero byte in front of it: the one read of the show
// that falls before any store (the eight-neighbour smoothing at its first
// pixel) reads it.
extern uint8_t screenstore[1 + screenstoresize];

// ---- pictures -------------------------------------------------------------------

struct tpicture {
  const char* entry;   // archive entry name, "GRAPH\stem.im"
  tbitmap* bitmap;
  tpalette* palette;
  uint32_t storesize;  // bytes behind bitmap->pixels
};

extern tbitmap teil, qelm1, proudly, presents, corporat, morvpic, geoboard, scroll1, text, eye1, eye2,
    morvdat, counter, scroll2;
extern tpalette teilpal, qelm1pal, proudlypal, presentspal, corporatpal, morvpicpal, geoboardpal,
    scroll1pal, textpal, eye1pal, eye2pal, morvdatpal, counterpal, scroll2pal;

// The fourteen pictures in loading order.
constexpr int picturecount = 14;
extern const tpicture pictures[picturecount];

// ---- operations -------------------------------------------------------------------

// Gives every bitmap its store, width and height; points each picture record
// at its store. Cannot fail.
void initmemory();

}  // namespace tools
