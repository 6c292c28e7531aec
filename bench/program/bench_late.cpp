// Scenes 8, 11, 13, 14 and 15 frame by frame on random tables and pictures,
// and the hot loops with a plain reading, plain and fast: the sine plasma,
// the floor's roll and the radial smear.
#include <benchmark/benchmark.h>

#include <cstring>

#include "program/benchsupport.h"
#include "program/scenes/scenes.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tarngr/tarngr.h"
#include "tools/plasma.h"
#include "tools/stores.h"

namespace {

namespace sc = program::scenes;

using benchsupport::randomfill;

void prepare() {
  static bool done = false;
  if (done) return;
  done = true;
  tools::initmemory();
  runtime::randseed = 1414;
  tools::teil.width = 256;
  tools::teil.height = 254;
  randomfill(tools::teil.pixels, 65028);
  tools::text.width = 320;
  tools::text.height = 200;
  randomfill(tools::text.pixels, 64000);
  for (int i = 0; i < 64000; i += 3) tools::text.pixels[i] = 180;  // a third transparent
  tools::scroll2.width = 320;
  tools::scroll2.height = 200;
  randomfill(tools::scroll2.pixels, 64000, 64);
  for (int i = 0; i < tables::framesize; ++i) tables::swirlmap[i] = static_cast<int32_t>(runtime::random(65536));
  randomfill(tools::plasmabuf, sizeof tools::plasmabuf);
  for (tables::tdot& d : tables::driftdots) {
    d.x = static_cast<uint16_t>(runtime::random(319));
    d.y = static_cast<uint8_t>(runtime::random(199));
    d.dx = static_cast<int8_t>(runtime::random(2)) - 1;
    d.dy = static_cast<int8_t>(runtime::random(2)) - 1;
  }
  for (int i = 0; i < 200; ++i) tables::widthramp[i] = static_cast<int16_t>(runtime::round(i * 310 / 200.0L + 10));
}

template <void (*setup)(), void (*pass)()>
void BM_frame(benchmark::State& state) {
  prepare();
  std::memset(tools::screen.pixels, 0, 64000);
  setup();
  for (auto _ : state) {
    pass();
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
void nosetup() {}
BENCHMARK(BM_frame<sc::sinesetup, sc::sinepass>)->Name("sineplasma/frame");
BENCHMARK(BM_frame<sc::swirlsetup, sc::swirlpass>)->Name("swirltunnel/frame");
BENCHMARK(BM_frame<nosetup, sc::dotspass>)->Name("driftingdots/frame");
BENCHMARK(BM_frame<sc::floorsetup, sc::floorpass>)->Name("floorscroller/frame");
BENCHMARK(BM_frame<sc::endsetup, sc::endpass>)->Name("endtext/frame");
BENCHMARK(BM_frame<nosetup, sc::rollfloorplain>)->Name("floorroll/plain");
BENCHMARK(BM_frame<nosetup, sc::rollfloor>)->Name("floorroll/fast");

template <void (*plasma)()>
void BM_sineplasma(benchmark::State& state) {
  prepare();
  sc::sinephase = 0.0f;
  for (auto _ : state) {
    sc::sinephase = static_cast<float>(sc::sinephase + 0.05L);
    plasma();
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_sineplasma<sc::sineplasmaplain>)->Name("sineplasma/plain");
BENCHMARK(BM_sineplasma<sc::sineplasma>)->Name("sineplasma/fast");

template <void (*smear)()>
void BM_smear(benchmark::State& state) {
  prepare();
  randomfill(tools::screen.pixels, 64000, 64);
  sc::floorsetup();
  for (auto _ : state) {
    sc::pulsesmear();
    smear();
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_smear<sc::radialsmearplain>)->Name("radialsmear/plain");
BENCHMARK(BM_smear<sc::radialsmear>)->Name("radialsmear/fast");

}  // namespace
