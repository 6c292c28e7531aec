// bench: start-up steps and per-scene frame times.
#include "render/bench.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "program/timeline.h"

namespace render {

namespace {

using clock = std::chrono::steady_clock;

clock::time_point begun, last;
std::vector<std::pair<std::string, clock::time_point>> steps;
std::vector<double> frametimes[16];  // ms, per scene

double ms(clock::time_point a, clock::time_point b) { return std::chrono::duration<double, std::milli>(b - a).count(); }

// The time between two start-up lines, by their first words.
double between(const char* from, const char* to) {
  clock::time_point a{}, b{};
  bool havea = false, haveb = false;
  for (const auto& [line, at] : steps) {
    if (!havea && line.rfind(from, 0) == 0) a = at, havea = true;
    if (!haveb && line.rfind(to, 0) == 0) b = at, haveb = true;
  }
  return havea && haveb ? ms(a, b) : 0.0;
}

double percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  const size_t i = std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size() - 1) + 0.5));
  return v[i];
}

}  // namespace

void benchstart() { begun = last = clock::now(); }

void benchmilestone(const char* line) {
  last = clock::now();
  steps.emplace_back(line, last);
}

void benchframe(int scene) {
  const clock::time_point now = clock::now();
  if (scene >= 1 && scene <= 15) frametimes[scene].push_back(ms(last, now));
  last = now;
}

void benchreport(uint64_t showms) {
  const double wall = ms(begun, clock::now());
  std::printf("\nstart-up                      ms\n");
  std::printf("  archive                %8.2f\n", between(" \u25A0 Init Verovo", "Loading Pictures"));
  std::printf("  pictures               %8.2f\n", between("Loading Pictures", "Precalculating Tables"));
  std::printf("  tables                 %8.2f\n", between("Precalculating Tables", "Initializing Sound"));
  std::printf("  sound and video        %8.2f\n", between("Initializing Sound", "Starting Demonstration"));
  std::printf("\n%-2s  %-20s %7s %10s %10s %10s\n", "", "scene", "frames", "median ms", "p99 ms", "worst ms");
  size_t total = 0;
  for (int s = 1; s <= 15; ++s) {
    const std::vector<double>& t = frametimes[s];
    total += t.size();
    std::printf("%2d  %-20s %7zu %10.3f %10.3f %10.3f\n", s, program::scenetable[s - 1]->name, t.size(),
                percentile(t, 0.5), percentile(t, 0.99), t.empty() ? 0.0 : *std::max_element(t.begin(), t.end()));
  }
  std::printf("\n%zu frames, %.1f s of show in %.2f s: %.1f times real time\n", total, showms / 1000.0, wall / 1000.0,
              wall > 0 ? showms / wall : 0.0);
}

}  // namespace render
