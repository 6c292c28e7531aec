// musicwatch: the loop and stop rules, and the module check.
#include "render/musicwatch.h"

#include <algorithm>
#include <cstdio>

#include "midas/midasoffline.h"
#include "program/timeline.h"
#include "runtime/runtime.h"

namespace render {

// ---- the watch -------------------------------------------------------------

uint64_t stilllimit(const tmusicwatch& watch) { return std::max<uint64_t>(64 * watch.longestrow, longestxmrow); }

tmusicfate watchmusic(tmusicwatch& watch, const MIDASplayStatus& status) {
  if (!watch.started) {
    watch = tmusicwatch{};
    watch.started = true;
    watch.loops = status.songLoopCount;
    watch.position = watch.furthest = status.position;
    watch.row = status.row;
    watch.still = 1;
    return tmusicfate::playing;
  }
  if (status.songLoopCount > watch.loops) return tmusicfate::looped;
  if (status.position != watch.position || status.row != watch.row) {
    watch.longestrow = std::max(watch.longestrow, watch.still);
    watch.still = 1;
    watch.position = status.position;
    watch.row = status.row;
    watch.furthest = std::max(watch.furthest, status.position);
    return tmusicfate::playing;
  }
  ++watch.still;
  return watch.still > stilllimit(watch) ? tmusicfate::stopped : tmusicfate::playing;
}

// ---- the scenes' positions ---------------------------------------------------

uint32_t endposition(int scene) { return program::scenetable[scene - 1]->end.position; }
bool endsexactly(int scene) { return program::scenetable[scene - 1]->end.exactposition; }

namespace {

bool endreached(int scene, const MIDASplayStatus& status) {
  return endsexactly(scene) ? status.position == endposition(scene) : status.position >= endposition(scene);
}

}  // namespace

std::string stucksentence(tmusicfate fate, const tmusicwatch& watch, int scene) {
  std::string what =
      fate == tmusicfate::looped
          ? "the music went back to its start after order position " + std::to_string(watch.furthest)
          : "the music stopped at order position " + std::to_string(watch.position) + ", row " +
                std::to_string(watch.row) + " (no new row for " + std::to_string(watch.still) + " frames)";
  const std::string waits = "scene " + std::to_string(scene) + " (" + program::scenetable[scene - 1]->name +
                            ") waits for position " + std::to_string(endposition(scene)) +
                            (endsexactly(scene) ? " exactly" : "");
  return what + " while " + waits + ", so the show would never end.";
}

// ---- --check-music -------------------------------------------------------------

namespace {

// An hour of music without an end: no show waits that long for a scene.
constexpr uint64_t longestwalkms = 3600000;

std::string clock(uint64_t ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%llu:%02llu.%02llu", static_cast<unsigned long long>(ms / 60000),
                static_cast<unsigned long long>(ms / 1000 % 60), static_cast<unsigned long long>(ms / 10 % 100));
  return text;
}

// Virtual time of presented frame k, as the frame pacing schedules it.
uint64_t framems(uint64_t k) {
  const long double due = static_cast<long double>(k) * (1000.0f / 60.0f);
  return static_cast<uint64_t>(runtime::round(due));
}

}  // namespace

int checkmusic(const std::string& file) {
  midasoffline::uselockstep(nullptr, nullptr);
  MIDASstartup();
  MIDASmodule module = nullptr;
  MIDASmodulePlayHandle handle = 0;
  if (MIDASinit() && MIDASstartBackgroundPlay(0)) module = MIDASloadModule(file.c_str());
  if (module != nullptr) handle = MIDASplayModule(module, true);
  if (handle == 0) {
    std::fprintf(stderr, "morvanta-render: %s\n", MIDASgetErrorMessage(MIDASgetLastError()));
    MIDASclose();
    return 1;
  }
  MIDASsetPosition(handle, 1);

  // started[n]: when scene n began (scene 16: the show's end), in ms.
  uint64_t started[17] = {};
  int scene = 1;
  tmusicwatch watch;
  tmusicfate fate = tmusicfate::playing;
  bool overlong = false;
  for (uint64_t k = 1; scene <= 15; ++k) {
    const uint64_t ms = framems(k);
    if (ms > longestwalkms) {
      overlong = true;
      break;
    }
    midasoffline::advanceto(ms);
    MIDASplayStatus status{};
    if (!MIDASgetPlayStatus(handle, &status)) break;
    fate = watchmusic(watch, status);
    if (fate != tmusicfate::playing) break;
    if (endreached(scene, status)) started[++scene] = ms;
  }
  MIDASstopModule(handle);
  MIDASfreeModule(module);
  MIDASstopBackgroundPlay();
  MIDASclose();

  std::printf("%s, played from order position 1 as the show plays it:\n", file.c_str());
  for (int n = 1; n <= 16; ++n) {
    const uint32_t position = n == 1 ? 1 : endposition(n - 1);
    const std::string what = n <= 15 ? "scene " + std::to_string(n) + " (" + program::scenetable[n - 1]->name + ") starts"
                                     : std::string("the show ends");
    std::printf("  %-36s at position %2u%s  %s\n", what.c_str(), position,
                n >= 2 && endsexactly(n - 1) ? " exactly" : "        ",
                n <= scene ? ("reached at " + clock(started[n])).c_str() : "not reached");
  }
  if (scene > 15) return 0;
  if (overlong)
    std::printf("After an hour of music the show still waits in scene %d for position %u.\n", scene,
                endposition(scene));
  else if (fate != tmusicfate::playing)
    std::printf("%s\n%s.\n", stucksentence(fate, watch, scene).c_str(), moduleneeds);
  else
    std::printf("The play status could not be read.\n");
  return 1;
}

}  // namespace render
