// Start-up table building and the per-frame lens remap.
#include <benchmark/benchmark.h>

#include <cstring>

#include "runtime/runtime.h"
#include "tables/tables.h"
#include "tools/lens.h"
#include "tools/plasma.h"
#include "tools/stores.h"

namespace {

// Pictures at their real sizes with some content, as the loader leaves them.
void loadpictures() {
  static bool done = false;
  if (done) return;
  done = true;
  tools::initmemory();
  uint32_t salt = 0;
  for (const tools::tpicture& p : tools::pictures) {
    ++salt;
    uint16_t w = 320, h = 200;
    if (p.bitmap == &tools::teil) w = 256, h = 254;
    if (p.storesize == 3004) w = 100, h = 30;
    if (p.storesize == 307204) w = 640, h = 480;
    if (p.bitmap == &tools::scroll1) h = 1000;
    if (p.bitmap == &tools::counter) w = 200, h = 30;
    p.bitmap->width = w;
    p.bitmap->height = h;
    for (uint32_t k = 0; k < uint32_t{w} * h; ++k) p.bitmap->pixels[k] = static_cast<uint8_t>(k * 7 + salt);
    for (int i = 0; i < 256; ++i)
      p.palette->entry[i] = {static_cast<uint8_t>((i + salt) % 64), static_cast<uint8_t>(i % 64),
                             static_cast<uint8_t>((i * 3) % 64), 0};
  }
  runtime::fixedseed = 12345;
}

void BM_buildtables(benchmark::State& state) {
  loadpictures();
  for (auto _ : state) tables::buildtables();
}
BENCHMARK(BM_buildtables)->Unit(benchmark::kMillisecond);

void BM_polarmap(benchmark::State& state) {
  for (int i = 0; i < 256; ++i) tables::polardepth[i] = i;
  for (auto _ : state) tables::buildmap(160, 100, tables::polardepth, false, tables::polarmap, tables::polarshade);
}
BENCHMARK(BM_polarmap)->Unit(benchmark::kMillisecond);

void BM_polarmapplain(benchmark::State& state) {
  for (int i = 0; i < 256; ++i) tables::polardepth[i] = i;
  for (auto _ : state)
    tables::buildmapplain(160, 100, tables::polardepth, false, tables::polarmap, tables::polarshade);
}
BENCHMARK(BM_polarmapplain)->Unit(benchmark::kMillisecond);

void BM_plasma(benchmark::State& state) {
  runtime::randseed = 1;
  for (auto _ : state) tools::plasma(1000);
}
BENCHMARK(BM_plasma)->Unit(benchmark::kMillisecond);

void BM_lensremap(benchmark::State& state) {
  tools::initmemory();
  auto* w = reinterpret_cast<int16_t*>(tools::work4.pixels);
  for (int k = 0; k < 320 * 201; ++k) w[k] = static_cast<int16_t>((k % 320 < 160) ? 258 : (k * 37) % 1000);
  for (int k = 0; k < 64000; ++k) tools::work2.pixels[k] = static_cast<uint8_t>(k);
  for (auto _ : state) {
    tools::lensremap();
    benchmark::DoNotOptimize(tools::screen.pixels[12345]);
  }
}
BENCHMARK(BM_lensremap)->Unit(benchmark::kMicrosecond);

void BM_lensremapplain(benchmark::State& state) {
  tools::initmemory();
  for (auto _ : state) {
    tools::lensremapplain();
    benchmark::DoNotOptimize(tools::screen.pixels[12345]);
  }
}
BENCHMARK(BM_lensremapplain)->Unit(benchmark::kMicrosecond);

void BM_lensinit(benchmark::State& state) {
  for (auto _ : state) {
    tools::lenssize = static_cast<int32_t>(state.range(0));
    tools::lensradius = tools::lenssize / 2;
    tools::lensinit();
    benchmark::DoNotOptimize(tools::lenstable[100]);
  }
}
BENCHMARK(BM_lensinit)->Arg(160)->Arg(100)->Unit(benchmark::kMicrosecond);

void BM_lensinitplain(benchmark::State& state) {
  for (auto _ : state) {
    tools::lenssize = 160;
    tools::lensradius = 80;
    tools::lensinitplain();
    benchmark::DoNotOptimize(tools::lenstable[100]);
  }
}
BENCHMARK(BM_lensinitplain)->Unit(benchmark::kMicrosecond);

}  // namespace
