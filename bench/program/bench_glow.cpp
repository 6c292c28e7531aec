// Scenes 6, 7 and 12 frame by frame on random tables and pictures (the
// music query left out), their hot loops, and the glowing text they share.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>

#include "program/program.h"
#include "program/scenes/glow.h"
#include "program/benchsupport.h"
#include "program/scenes/scenes.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tools/lens.h"
#include "tools/stores.h"

namespace {

namespace sc = program::scenes;

using benchsupport::randomfill;

void prepare() {
  static bool done = false;
  if (done) return;
  done = true;
  tools::initmemory();
  runtime::randseed = 6712;
  for (int i = 0; i < 512; ++i) tables::sinus63[i] = static_cast<uint8_t>(runtime::random(128));
  for (int i = 0; i < 256; ++i) tables::sinus27[i] = static_cast<uint8_t>(100 + runtime::random(56));
  for (tarngr::tbitmap* bm : {&tools::eye1, &tools::eye2}) {
    bm->width = 320;
    bm->height = 200;
  }
  randomfill(tools::eye1.pixels, 64000);
  randomfill(tools::eye2.pixels, 64000, 2);  // half the lens square masked
  randomfill(tools::teilfull.pixels, 64000);
  // Each row a squeezed copy of itself, as the real map is.
  for (uint32_t r = 0; r < 200; ++r) {
    const uint32_t w = 159 + runtime::random(161), c = (319 - w) >> 1;
    for (uint32_t x = 0; x < 320; ++x)
      tables::squeezemap[r * 320 + x] = static_cast<uint16_t>(r * 320 + c + x * w / 320);
  }
  std::memset(tools::work2.pixels, 0, tools::work2storesize);
}

void BM_plasmaframe(benchmark::State& state) {
  prepare();
  sc::plasmasetup();
  for (auto _ : state) {
    sc::plasmadraw();
    sc::glowtext(sc::plasmaglow);
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_plasmaframe);

// The lens at its full size, rebuilt every frame as the scene does.
void BM_eyeframe(benchmark::State& state) {
  prepare();
  sc::eyesetup();
  program::playstatus.position = 11;
  program::playstatus.row = 40;
  for (auto _ : state) {
    sc::eyepicture();
    sc::glowtext(sc::eyeglow);
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
  state.counters["size"] = tools::lenssize;
}
BENCHMARK(BM_eyeframe);

void BM_squeezeframe(benchmark::State& state) {
  prepare();
  sc::squeezesetup();
  for (auto _ : state) {
    sc::squeezedraw();
    sc::glowtext(sc::squeezeglow);
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_squeezeframe);

void BM_squeezeremap(benchmark::State& state) {
  prepare();
  sc::squeezeoffset = 0;
  for (auto _ : state) {
    sc::squeezeremap();
    sc::squeezeoffset = (sc::squeezeoffset + 320) % static_cast<int32_t>(sc::squeezefold);
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_squeezeremap);

// Blur, cut-off and sprite over a layer with text in it.
void BM_glowshow(benchmark::State& state) {
  prepare();
  randomfill(tools::work2.pixels, 64000);
  for (auto _ : state) {
    sc::glowshow(sc::squeezeglow);
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_glowshow);

}  // namespace
