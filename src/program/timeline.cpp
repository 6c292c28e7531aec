// timeline: the show's passes, the scene loop and the steps it shares.
#include "program/timeline.h"

#include <cstdio>

#include "program/program.h"
#include "program/scenes/scenes.h"
#include "tarngr/tarngr.h"
#include "tarnpal/tarnpal.h"
#include "tools/display.h"

namespace program {

int currentscene = 0;

const tscene* const scenetable[15] = {
    &scenes::scene01, &scenes::scene02, &scenes::scene03, &scenes::scene04, &scenes::scene05,
    &scenes::scene06, &scenes::scene07, &scenes::scene08, &scenes::scene09, &scenes::scene10,
    &scenes::scene11, &scenes::scene12, &scenes::scene13, &scenes::scene14, &scenes::scene15,
};

// ---- steps shared by the loops ------------------------------------------------

void pollevent() { SDL_PollEvent(&event); }

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

bool fadeapplies(const tfaderule& rule) {
  if (rule.kind == tfadekind::none) return false;
  const bool position = rule.exactposition ? playstatus.position == rule.position : atleast(rule.position);
  return position && playstatus.row > rule.afterrow;
}

bool endreached(const tendrule& rule) {
  return rule.exactposition ? playstatus.position == rule.position : atleast(rule.position);
}

void clearframe(tarngr::tbitmap& bm) { tarngr::filldw(bm.pixels, 16000, 0); }
void clearcells(tarngr::tbitmap& bm) { tarngr::filldw(bm.pixels, 32160, 0); }
void allwhite() {
  for (int i = 0; i < 256; ++i) tarnpal::setcolor(static_cast<uint8_t>(i), 63, 63, 63);
}

// ---- the loop and the show ---------------------------------------------------------

namespace {
void fadestep(const tfaderule& rule) {
  if (!fadeapplies(rule)) return;
  if (rule.kind == tfadekind::down)
    tarnpal::fadedown();
  else
    tarnpal::fadeup();
}
}  // namespace

void runscene(const tscene& scene) {
  scene.timelinesetup();
  if (scene.setup) scene.setup();
  pollevent();
  for (;;) {
    quitcheck();
    scene.pass();
    if (scene.query == tquery::beforepresent) querystatus();
    if (scene.end.beforepresent && endreached(scene.end)) break;
    if (!scene.presentsitself) tools::present();
    if (scene.query == tquery::afterpresent) querystatus();
    fadestep(scene.fade);
    if (endreached(scene.end)) break;
    pollevent();
  }
}

void runshow() {
  for (;;) {
    MIDASsetPosition(playhandle, 1);
    for (int i = 0; i < 15; ++i) {
      currentscene = i + 1;
      runscene(*scenetable[i]);
    }
    if (!loopdemo) break;
  }
  shutdown();
}

}  // namespace program
