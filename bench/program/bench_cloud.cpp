// Scenes 5 and 9 frame by frame on random clouds, boards, pixel records,
// fire and tables: the cloud before and during its burst, the light band,
// the band's whole-frame loops one by one, and the burst and the band
// plain and fast.
#include <benchmark/benchmark.h>

#include <cstring>

#include "Eng3D/Eng3D.h"
#include "program/program.h"
#include "program/benchsupport.h"
#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tools/clouds.h"
#include "tools/stores.h"

namespace {

namespace sc = program::scenes;

using benchsupport::randomfill;

void prepare() {
  static bool done = false;
  if (done) return;
  done = true;
  tools::initmemory();
  runtime::randseed = 2025;
  // Scene 5: a cube morphing towards a coil, a board of its own colours,
  // pixel records anywhere on the screen.
  tools::cubecloud(tables::cloud1);
  tools::tcloud coil;
  tools::helixcloud(coil);
  for (int n = 0; n < tables::pointcount; ++n)
    tables::morphstep[n] = {(coil[n].x - tables::cloud1[n].x) / 400, (coil[n].y - tables::cloud1[n].y) / 400,
                            (coil[n].z - tables::cloud1[n].z) / 400};
  tools::geoboard.width = 320;
  tools::geoboard.height = 200;
  randomfill(tools::geoboard.pixels, 64004, 13, 192);
  for (int32_t& o : tables::circleofs)
    o = (static_cast<int32_t>(runtime::random(21)) - 10) * 320 + static_cast<int32_t>(runtime::random(21)) - 10;
  for (auto& f : tables::pixelcloud)
    f = {0, static_cast<int32_t>(runtime::random(320)), static_cast<int32_t>(runtime::random(200)),
         static_cast<int8_t>(static_cast<int32_t>(runtime::random(4)) - 2),
         static_cast<int8_t>(static_cast<int32_t>(runtime::random(4)) - 2)};
  // Scene 9: the random tables, a fountain in flow, digits with their
  // transparent colour.
  for (auto& s : tables::randsign) s = static_cast<int8_t>(static_cast<int32_t>(runtime::random(3)) - 1);
  randomfill(tables::randbit, tables::randcount, 2);
  for (uint16_t n = 1; n <= Eng3D::fountaincount; ++n) tools::spawnparticle(n);
  for (auto& v : tables::fountainlaunch) v = tools::launchvelocity();
  tools::counter.width = 200;
  tools::counter.height = 30;
  randomfill(tools::counter.pixels, 6000, 6, 64);
}

void BM_cloudframe(benchmark::State& state) {
  prepare();
  randomfill(tools::work1.pixels, 64000);
  sc::cloudsetup();
  program::playstatus = {8, 0, 50, 0, 0};
  for (auto _ : state) {
    sc::clouddraw();
    sc::cloudmusicsteps();
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_cloudframe);

void BM_cloudburst(benchmark::State& state) {
  prepare();
  sc::cloudsetup();
  program::playstatus = {9, 0, 50, 0, 0};
  for (auto _ : state) {
    sc::clouddraw();
    sc::cloudmusicsteps();
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_cloudburst);

// The burst alone, on a frame of random colours, plain and fast.
template <void (*burst)()>
void BM_burst(benchmark::State& state) {
  prepare();
  randomfill(tools::screen.pixels, 64000);
  for (auto _ : state) {
    burst();
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_burst<sc::burstplain>)->Name("burst/plain");
BENCHMARK(BM_burst<sc::burst>)->Name("burst/fast");

void BM_bandframe(benchmark::State& state) {
  prepare();
  randomfill(tools::work1.pixels, 64000);
  randomfill(tools::work3.pixels, 64001, 48);
  sc::bandsetup();
  program::playstatus = {13, 0, 37, 0, 0};
  for (auto _ : state) {
    sc::banddraw();
    sc::bandcounter();
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_bandframe);

template <void (*step)()>
void BM_bandstep(benchmark::State& state) {
  prepare();
  randomfill(tools::work1.pixels, 64000);
  randomfill(tools::work3.pixels, 64001, 48);
  randomfill(tools::screen.pixels, 64000, 64, 128);
  sc::bandsetup();
  for (auto _ : state) {
    step();
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_bandstep<sc::fire>)->Name("band/fire");
BENCHMARK(BM_bandstep<sc::lightbandplain>)->Name("band/lightband/plain");
BENCHMARK(BM_bandstep<sc::lightband>)->Name("band/lightband/fast");
BENCHMARK(BM_bandstep<sc::bandjitterplain>)->Name("band/jitter/plain");
BENCHMARK(BM_bandstep<sc::bandjitter>)->Name("band/jitter/fast");
BENCHMARK(BM_bandstep<sc::fountain>)->Name("band/fountain");
BENCHMARK(BM_bandstep<sc::glowcompose>)->Name("band/glowcompose");

}  // namespace
