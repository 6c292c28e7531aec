// Scenes 4 and 10 frame by frame on a random picture, random jitter and
// random curves in the ranges of the real ones, and the hot loops they
// share, plain and fast.
#include <benchmark/benchmark.h>

#include <cstring>

#include "program/program.h"
#include "program/scenes/relief.h"
#include "program/scenes/scenes.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tools/stores.h"

namespace {

namespace sc = program::scenes;

void prepare() {
  static bool done = false;
  if (done) return;
  done = true;
  tools::initmemory();
  runtime::randseed = 1995;
  tools::scroll1.width = 320;
  tools::scroll1.height = 1000;
  for (uint32_t i = 0; i < sc::scrollbytes; ++i) tools::scroll1.pixels[i] = static_cast<uint8_t>(1 + runtime::random(20));
  for (int8_t& r : tables::randsign) r = static_cast<int8_t>(static_cast<int32_t>(runtime::random(3)) - 1);
  for (int i = 0; i < 256; ++i) {
    tables::halfsine[i] = static_cast<int16_t>(runtime::random(257));
    tables::atancurve[i] = static_cast<int16_t>(runtime::random(196));
  }
  program::playstatus.position = 5;
}

// One frame as the timeline runs it, without the present.
template <void (*setup)(), void (*pass)()>
void BM_frame(benchmark::State& state) {
  prepare();
  std::memset(tools::work2.pixels, 0, 64000);
  setup();
  for (auto _ : state) {
    pass();
    benchmark::DoNotOptimize(tools::screen.pixels[32000]);
  }
}
BENCHMARK(BM_frame<sc::codesetup, sc::codepass>)->Name("codecredits/frame");
BENCHMARK(BM_frame<sc::graphsetup, sc::graphpass>)->Name("graphcredits/frame");

template <void (*band)(const int16_t (&)[256], uint32_t)>
void BM_waveband(benchmark::State& state) {
  prepare();
  uint32_t phase = 0;
  for (auto _ : state) {
    band(tables::halfsine, phase);
    phase = (phase + 1) % 255;
    benchmark::DoNotOptimize(tools::work2.pixels[32000]);
  }
}
BENCHMARK(BM_waveband<sc::wavebandplain>)->Name("waveband/plain");
BENCHMARK(BM_waveband<sc::waveband>)->Name("waveband/fast");

template <void (*shake)(uint16_t)>
void BM_jitter(benchmark::State& state) {
  prepare();
  for (uint32_t i = 0; i < 64000; ++i) tools::work2.pixels[i] = static_cast<uint8_t>(runtime::random(256));
  for (auto _ : state) {
    shake(63998);
    benchmark::DoNotOptimize(tools::work2.pixels[32000]);
  }
}
BENCHMARK(BM_jitter<sc::jitterplain>)->Name("jitter/plain");
BENCHMARK(BM_jitter<sc::jitter>)->Name("jitter/fast");

void BM_buildrelief(benchmark::State& state) {
  prepare();
  for (auto _ : state) {
    sc::buildrelief();
    benchmark::DoNotOptimize(tools::work4.pixels[32000]);
  }
}
BENCHMARK(BM_buildrelief);

}  // namespace
