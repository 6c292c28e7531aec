// Scenes 1-3 frame by frame on random tables and pictures, and their hot
// loops plain and fast. The star field presents through SDL's dummy driver
// on a clock that never waits; one iteration is one presented frame, all
// 450 star passes with the timeline's quit check and event poll included.
#include <benchmark/benchmark.h>

#include <SDL/SDL.h>

#include <cstdlib>
#include <cstring>

#include "program/program.h"
#include "program/benchsupport.h"
#include "program/scenes/scenes.h"
#include "program/scenes/tunnels.h"
#include "program/scene.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tarngr/plain.h"
#include "tarngr/tarngr.h"
#include "tools/display.h"
#include "tools/seam.h"
#include "tools/stores.h"

namespace {

namespace sc = program::scenes;

using benchsupport::randomfill;

// Pictures and tables of the right sizes with random content.
void prepare() {
  static bool done = false;
  if (done) return;
  done = true;
  tools::initmemory();
  runtime::randseed = 2024;
  tools::teil.width = 256;
  tools::teil.height = 254;
  randomfill(tools::teil.pixels, 65028);
  for (tarngr::tbitmap* bm : {&tools::qelm1, &tools::corporat, &tools::presents, &tools::proudly}) {
    bm->width = 100;
    bm->height = 30;
    randomfill(bm->pixels, 3000);
  }
  for (int i = 0; i < tables::framesize; ++i) {
    tables::polarmap[i] = tables::tunnelmap[i] = static_cast<int32_t>(runtime::random(65536));
    tables::polarshade[i] = static_cast<int32_t>(runtime::random(26));
    tables::tunnelshade[i] = static_cast<int32_t>(runtime::random(376));
  }
  for (tarngr::tbitmap* bm : {&tools::morvpic, &tools::morvdat}) {
    bm->width = 640;
    bm->height = 480;
    randomfill(bm->pixels, 640 * 480);
  }
  for (int n = 1; n < tables::pointcount; ++n) {
    const float x = static_cast<float>((runtime::randomreal() - 0.5L) / 2);
    const float y = static_cast<float>((runtime::randomreal() - 0.5L) / 2);
    tables::starfield[n] = {x, y, static_cast<float>(runtime::randomreal()), 0};
  }
  program::playstatus.position = 2;
}

void BM_radialframe(benchmark::State& state) {
  prepare();
  sc::radialsetup();
  for (auto _ : state) {
    sc::radialtunnel();
    sc::radiallogos();
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_radialframe);

void BM_tunnelframe(benchmark::State& state) {
  prepare();
  sc::tunnelsetup();
  for (auto _ : state) {
    sc::tunnelpass();
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_tunnelframe);

uint32_t noticks() { return 0; }
void nodelay(uint32_t) {}

void BM_starframe(benchmark::State& state) {
  prepare();
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    state.SkipWithError("no SDL video");
    return;
  }
  seam::current.getticks = noticks;
  seam::current.delay = nodelay;
  tools::fullscreen = false;
  tools::scaled = false;
  tools::openmode(640, 480);
  std::memcpy(tools::screen.pixels, tools::morvpic.pixels, 640 * 480);
  sc::starsetup();
  for (auto _ : state) {
    for (int i = 0; i < 450; ++i) {
      program::quitcheck();
      sc::starpass();
      program::pollevent();
    }
  }
  SDL_Quit();
}
BENCHMARK(BM_starframe);

void BM_texturemap(benchmark::State& state) {
  prepare();
  uint16_t shift = 0;
  for (auto _ : state) {
    sc::texturemap(tables::tunnelmap, tables::tunnelshade, shift, 320);
    shift = static_cast<uint16_t>(shift + 257);
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_texturemap);

template <void (*smooth)()>
void BM_smooth8(benchmark::State& state) {
  prepare();
  randomfill(tools::screen.pixels, 64002);
  for (auto _ : state) {
    smooth();
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_smooth8<sc::smooth8plain>)->Name("smooth8/plain");
BENCHMARK(BM_smooth8<sc::smooth8>)->Name("smooth8/fast");

template <void (*filter)(uint8_t*, uint16_t)>
void BM_blur(benchmark::State& state) {
  prepare();
  randomfill(tools::screen.pixels, 64002);
  for (auto _ : state) {
    filter(tools::screen.pixels, 63680);
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_blur<tarngr::plain::blur>)->Name("blur/plain");
BENCHMARK(BM_blur<tarngr::blur>)->Name("blur/fast");

}  // namespace
