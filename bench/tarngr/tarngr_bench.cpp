// The per-frame whole-buffer operations on full 320x200 frames, the fast
// versions beside the plain rules they replace.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "tarngr/plain.h"
#include "tarngr/tarngr.h"

namespace {

// A frame store as the show sizes it: 320x200 plus the row and byte the
// filters read past it.
struct tframe {
  std::vector<uint8_t> store;
  tarngr::tbitmap bm{};
  tframe(uint16_t w, uint16_t h) : store(static_cast<size_t>(w) * h + 321) {
    uint32_t seed = 12345;
    for (auto& b : store) b = static_cast<uint8_t>((seed = seed * 134775813u + 1u) >> 24);
    tarngr::initbitmap(bm, w, h, store.data());
  }
};

template <void (*filter)(uint8_t*, uint16_t)>
void bmfilter(benchmark::State& state) {
  tframe f(320, 200);
  for (auto _ : state) {
    filter(f.store.data(), 63680);
    benchmark::DoNotOptimize(f.store.data());
  }
}
BENCHMARK(bmfilter<tarngr::blur>)->Name("blur");
BENCHMARK(bmfilter<tarngr::plain::blur>)->Name("plain/blur");
BENCHMARK(bmfilter<tarngr::blurfade>)->Name("blurfade");
BENCHMARK(bmfilter<tarngr::plain::blurfade>)->Name("plain/blurfade");

template <void (*blit)(const tarngr::tbitmap&, int32_t, int32_t, int32_t, int32_t, tarngr::tbitmap&)>
void bmscale(benchmark::State& state) {
  tframe src(320, 200), dst(640, 480);
  tarngr::transcolor = 0;
  for (auto _ : state) {
    blit(src.bm, 0, 0, 640, 480, dst.bm);
    benchmark::DoNotOptimize(dst.store.data());
  }
}
BENCHMARK(bmscale<tarngr::scalecopy>)->Name("scalecopy 320x200 to 640x480");
BENCHMARK(bmscale<tarngr::plain::scalecopy>)->Name("plain/scalecopy 320x200 to 640x480");
BENCHMARK(bmscale<tarngr::scaleblit>)->Name("scaleblit 320x200 to 640x480");
BENCHMARK(bmscale<tarngr::plain::scaleblit>)->Name("plain/scaleblit 320x200 to 640x480");

template <void (*blit)(int32_t, int32_t, const tarngr::tbitmap&, tarngr::tbitmap&)>
void bmsprite(benchmark::State& state) {
  tframe src(320, 200), dst(320, 200);
  tarngr::transcolor = 0;
  for (auto _ : state) {
    blit(0, 0, src.bm, dst.bm);
    benchmark::DoNotOptimize(dst.store.data());
  }
}
BENCHMARK(bmsprite<tarngr::spriteblit>)->Name("spriteblit 320x200");
BENCHMARK(bmsprite<tarngr::plain::spriteblit>)->Name("plain/spriteblit 320x200");

void bmcopydw(benchmark::State& state) {
  tframe src(320, 200), dst(320, 200);
  for (auto _ : state) {
    tarngr::copydw(src.store.data(), dst.store.data(), 16000);
    benchmark::DoNotOptimize(dst.store.data());
  }
}
BENCHMARK(bmcopydw)->Name("copydw 16000 words");

void bmfilldw(benchmark::State& state) {
  tframe dst(320, 200);
  for (auto _ : state) {
    tarngr::filldw(dst.store.data(), 16000, 0x01020304u);
    benchmark::DoNotOptimize(dst.store.data());
  }
}
BENCHMARK(bmfilldw)->Name("filldw 16000 words");

}  // namespace
