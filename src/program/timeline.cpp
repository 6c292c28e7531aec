// timeline: the show's passes, the fifteen scene loops and their set-ups.
//
// Every scene ends when the music reaches its order position (scenes 1 and
// 15 only on the exact position), so the picture follows the music rather
// than a clock. What the timeline clears and loads before each loop, and the
// palette fades it gates on the music, are here; what a scene draws is in
// scenes/.
#include "program/timeline.h"

#include <cstdio>

#include "program/program.h"
#include "program/scenes/scenes.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/display.h"
#include "tools/stores.h"

namespace program {

int currentscene = 0;

// ---- steps shared by the loops ------------------------------------------------

void pollevent() {
  // SDL 1.2 answers 0 or 1, never -1: the loop never leaves here.
  SDL_PollEvent(&event);
}

void quitcheck() {
  if (event.type == SDL_QUIT) shutdown();
  if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) shutdown();
}

void querystatus() {
  MIDASplayStatus status;
  if (MIDASgetPlayStatus(playhandle, &status))
    playstatus = status;
  else
    std::printf("getplaystatus fucked up!\n");
}

bool atleast(uint32_t position) { return playstatus.position >= position; }
bool pastrow(uint32_t position, uint32_t row) { return playstatus.position >= position && playstatus.row > row; }

void runscene(const tscene& scene) {
  scene.timelinesetup();
  if (scene.setup) scene.setup();
  pollevent();
  for (;;) {
    quitcheck();
    if (scene.pass) scene.pass();
    if (scene.query == tquery::beforepresent) querystatus();
    if (scene.endbeforepresent && scene.ended()) break;
    if (!scene.presentsitself) tools::present();
    if (scene.query == tquery::afterpresent) querystatus();
    if (scene.musicsteps) scene.musicsteps();
    if (scene.ended()) break;
    pollevent();
  }
}

void runshow() {
  for (;;) {
    MIDASsetPosition(playhandle, 1);
    for (int i = 0; i < 15; ++i) {
      currentscene = i + 1;
      runscene(scenetable[i]);
    }
    if (!loopdemo) break;
  }
  shutdown();
}

// ---- the timeline's set-ups ------------------------------------------------------

namespace {

using tarngr::filldw;
using tarnpal::clearpalette;
using tarnpal::setpalette;
using tools::screen;

void clear(tarngr::tbitmap& bm) { filldw(bm.pixels, 16000, 0); }
void clearcells(tarngr::tbitmap& bm) { filldw(bm.pixels, 32160, 0); }  // 320x201 16-bit cells
void allwhite() {
  for (int i = 0; i < 256; ++i) tarnpal::setcolor(static_cast<uint8_t>(i), 63, 63, 63);
}

void setup1() {
  clear(screen);
  clearpalette();
  clear(screen);
  setpalette(tables::polarpal);
  tarngr::transcolor = 68;
}

void setup2() {
  clear(screen);
  tools::present();  // the cleared screen, under the palette scene 1 left
  clearpalette();
  clear(screen);
}

void setup3() {
  clearpalette();
  clear(screen);
  clearpalette();
  tarngr::copydw(tools::morvpic.pixels, screen.pixels, 640 * 480 / 4);
  tools::morvpicpal.entry[0].red = 0;
  tools::morvpicpal.entry[0].green = 0;
  tools::morvpicpal.entry[0].blue = 0;
  clearpalette();
  tarngr::transcolor = 0;
  if (!tools::scaled) tools::openmode(640, 480);
}

void setup4() {
  clearpalette();
  clear(screen);
  clearpalette();
  tools::setmode();
  clear(screen);
  clear(tools::work2);
  clear(tools::work3);
  clearcells(tools::work5);
  tarngr::transcolor = 255;
}

void setup5() {
  clear(screen);
  clearpalette();
  clear(tools::work1);
  clear(screen);
  clear(tools::work2);
}

void setup6() {
  clear(screen);
  clearpalette();
  clear(tools::work2);
}

void setup7() {
  clear(screen);
  allwhite();
  clear(tools::work2);
  tarngr::copydw(tools::eye1.pixels, screen.pixels, 16000);
  allwhite();
}

void setup8() {
  clear(screen);
  clear(screen);
  clear(tools::work2);
  allwhite();
  tools::present();
}

void setup9() {
  clear(screen);
  clearpalette();
  setpalette(tools::counterpal);
  clear(tools::work1);
  clear(tools::work3);
}

void setup10() {
  clear(screen);
  clearpalette();
  clear(screen);
  clear(tools::work2);
  clear(tools::work3);
  clearcells(tools::work5);
}

void setup11() {
  clearpalette();
  clear(screen);
  tarnpal::setcolor(0, 0, 0, 0);
  tarngr::transcolor = 180;
}

void setup12() {
  clear(screen);
  clearpalette();
  clear(screen);
  clear(tools::work2);
  tarngr::transcolor = 255;
}

void setup13() {
  clearpalette();
  clear(screen);
  clear(tools::work2);
  tools::present();
  setpalette(tables::firepal);
}

void setup14() {
  clear(screen);
  setpalette(tools::scroll2pal);
  tarngr::transcolor = 60;
}

void setup15() {
  filldw(screen.pixels, 16000, 0xFFFFFFFFu);
  for (int i = 0; i <= 64; ++i) tarnpal::setcolor(static_cast<uint8_t>(i), static_cast<uint8_t>(i),
                                                   static_cast<uint8_t>(i), static_cast<uint8_t>(i));
}

// ---- the music-gated steps and the end tests ---------------------------------------

void fadeafter2() { if (pastrow(2, 48)) tarnpal::fadedown(); }
void fadeafter3() { if (pastrow(3, 50)) tarnpal::fadedown(); }
void fadeafter7() { if (pastrow(7, 48)) tarnpal::fadedown(); }
void fadeafter10() { if (pastrow(10, 48)) tarnpal::fadedown(); }
void whiteafter11() { if (pastrow(11, 53)) tarnpal::fadeup(); }
void fadeafter12() { if (pastrow(12, 48)) tarnpal::fadedown(); }
void fadeafter14() { if (pastrow(14, 48)) tarnpal::fadedown(); }
void fadeafter16() { if (pastrow(16, 48)) tarnpal::fadedown(); }
void fadeafter18() { if (pastrow(18, 48)) tarnpal::fadedown(); }
void fadeafter19() { if (pastrow(19, 48)) tarnpal::fadedown(); }
void fadein21() { if (playstatus.position == 21 && playstatus.row > 53) tarnpal::fadedown(); }

bool endon3() { return playstatus.position == 3; }
bool endat4() { return atleast(4); }
bool endat5() { return atleast(5); }
bool endat8() { return atleast(8); }
bool endat10() { return atleast(10); }
bool endat11() { return atleast(11); }
bool endat12() { return atleast(12); }
bool endat13() { return atleast(13); }
bool endat15() { return atleast(15); }
bool endat17() { return atleast(17); }
bool endat19() { return atleast(19); }
bool endat20() { return atleast(20); }
bool endat22() { return atleast(22); }
bool endat24() { return atleast(24); }
bool endon25() { return playstatus.position == 25; }

constexpr tquery inpass = tquery::inpass;
constexpr tquery before = tquery::beforepresent;
constexpr tquery after = tquery::afterpresent;

}  // namespace

// Until a scene's own drawing exists its loop draws nothing: the set-ups,
// fades, music queries and end tests already run as they will.
const tscene scenetable[15] = {
    {"radial tunnel", setup1, scenes::radialsetup, scenes::radialpass, fadeafter2, endon3, inpass, false, false},
    {"rotating tunnel", setup2, scenes::tunnelsetup, scenes::tunnelpass, fadeafter3, endat4, before, true, false},
    {"star field", setup3, scenes::starsetup, scenes::starpass, nullptr, endat5, before, false, true},
    {"code credits", setup4, nullptr, nullptr, fadeafter7, endat8, after, false, false},
    {"point cloud", setup5, nullptr, nullptr, nullptr, endat10, before, false, false},
    {"interlaced plasma", setup6, nullptr, nullptr, fadeafter10, endat11, before, false, false},
    {"eye lens", setup7, nullptr, nullptr, whiteafter11, endat12, before, false, false},
    {"sine plasma", setup8, nullptr, nullptr, fadeafter12, endat13, after, false, false},
    {"light band", setup9, nullptr, nullptr, fadeafter14, endat15, before, false, false},
    {"graphics credits", setup10, nullptr, nullptr, fadeafter16, endat17, after, false, false},
    {"swirl tunnel", setup11, nullptr, nullptr, fadeafter18, endat19, before, false, false},
    {"squeezed picture", setup12, nullptr, nullptr, fadeafter19, endat20, before, false, false},
    {"drifting dots", setup13, nullptr, nullptr, fadein21, endat22, before, false, false},
    {"floor scroller", setup14, nullptr, nullptr, nullptr, endat24, after, false, false},
    {"end text", setup15, nullptr, nullptr, nullptr, endon25, after, false, false},
};

}  // namespace program
