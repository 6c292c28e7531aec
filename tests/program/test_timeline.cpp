// The timeline in-process, on a virtual clock and the synthetic row clock:
// a failing status query never ends a scene, and loop mode starts the show
// over at position 1 with scene 1.
#include <gtest/gtest.h>

#include <SDL/SDL.h>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "midas/midas.h"
#include "midas/midasoffline.h"
#include "program/program.h"
#include "program/scenes/scenes.h"
#include "program/scenes/state.h"
#include "program/timeline.h"
#include "runtime/runtime.h"
#include "tables/tables.h"
#include "support/process.h"
#include "tools/display.h"
#include "tools/pacing.h"
#include "tools/seam.h"
#include "tools/stores.h"

namespace {

uint32_t virtualms = 0;
uint32_t ticks() { return virtualms; }
void delay(uint32_t ms) { virtualms += ms; }

uint64_t presented = 0;
void (*onframe)() = nullptr;
void sink(const uint8_t*, uint16_t, uint16_t, const tarnpal::tpalentry*) {
  ++presented;
  midasoffline::framepresented();
  if (onframe) onframe();
}

// The show's start-up for these tests: stores, a 320x200 dummy display and
// the default module on the synthetic row clock (one frame per row).
void startshow() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  seam::current.getticks = ticks;
  seam::current.delay = delay;
  seam::current.framesink = sink;
  tools::initmemory();
  midasoffline::usesyntheticrows(1);
  ASSERT_TRUE(MIDASstartup());
  ASSERT_TRUE(MIDASinit());
  ASSERT_TRUE(MIDASstartBackgroundPlay(0));
  program::module = MIDASloadModule(testsupport::datapath("morvanta.xm").c_str());
  ASSERT_NE(program::module, nullptr) << MIDASgetErrorMessage(MIDASgetLastError());
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
  tools::fullscreen = false;
  tools::scaled = false;
  tools::openmode(320, 200);
  program::playhandle = MIDASplayModule(program::module, true);
  ASSERT_NE(program::playhandle, 0u);
  tools::frameinit();
}

MIDASmodulePlayHandle goodhandle = 0;
void restoreafter150() {
  if (presented == 150) program::playhandle = goodhandle;
}

TEST(Timeline, AFailingStatusQueryNeverEndsAScene) {
  startshow();
  // Scene 4 ends at position 8; the music starts at 7 and is past 8 after 64
  // frames, but every query fails until frame 150.
  MIDASsetPosition(program::playhandle, 7);
  presented = 0;
  program::playstatus = {};
  goodhandle = program::playhandle;
  program::playhandle = goodhandle + 1000;
  onframe = restoreafter150;
  testing::internal::CaptureStdout();
  program::runscene(*program::scenetable[3]);
  const std::string out = testing::internal::GetCapturedStdout();
  onframe = nullptr;
  EXPECT_EQ(presented, 150u);  // the first successful query ends it
  EXPECT_EQ(program::playstatus.position, 7u + 150u / 64u);
  size_t failures = 0;
  for (size_t at = out.find("getplaystatus fucked up!\n"); at != std::string::npos;
       at = out.find("getplaystatus fucked up!\n", at + 1))
    ++failures;
  EXPECT_EQ(failures, 149u);  // scene 4 queries after each present
}

// In a forked child: exits 3 once scene 1 runs again at position 1 after
// scene 15, 4 if anything else happens first.
int lastscene = 0;
void watchloop() {
  const int scene = program::currentscene;
  if (lastscene == 15 && scene == 1) std::_Exit(program::playstatus.position <= 1 ? 3 : 4);
  if (scene < lastscene) std::_Exit(4);
  lastscene = scene;
}

TEST(Timeline, LoopModeStartsOverAtPositionOne) {
  EXPECT_EXIT(
      {
        startshow();
        program::loopdemo = true;
        onframe = watchloop;
        program::runshow();
      },
      testing::ExitedWithCode(3), "");
}

// ---- two passes of the real show ------------------------------------------------------

// What the show moves in place and never rebuilds: the cloud, the pixels of
// the burst, the drifting dots, the star field, and the jitter index.
struct tcarried {
  std::vector<uint8_t> bytes;
  uint16_t jitter = 0;
  static tcarried now() {
    tcarried c;
    auto add = [&](const void* p, size_t n) {
      const auto* b = static_cast<const uint8_t*>(p);
      c.bytes.insert(c.bytes.end(), b, b + n);
    };
    add(tables::cloud1, sizeof tables::cloud1);
    add(tables::pixelcloud, sizeof tables::pixelcloud);
    add(tables::driftdots, sizeof tables::driftdots);
    add(tables::starfield, sizeof tables::starfield);
    c.jitter = program::scenes::jitterindex;
    return c;
  }
  bool operator==(const tcarried&) const = default;
};

tcarried firstframe, lastofpass;
int passes = 0, previousscene = 0;
bool sawbig = false;

[[noreturn]] void loopfailed(const char* why) {
  std::fprintf(stderr, "loop: %s\n", why);
  std::_Exit(4);
}

// Watches the frames of a looping show: at the first frame of the second
// pass the carried state must be what the first pass left, not what
// start-up built.
void watchcarry(const uint8_t*, uint16_t width, uint16_t, const tarnpal::tpalentry*) {
  midasoffline::framepresented();
  const int scene = program::currentscene;
  if (scene == 3 && width == 640) sawbig = true;
  if (scene == 1 && previousscene != 1) {
    ++passes;
    if (passes == 1) firstframe = tcarried::now();
    if (passes == 2) {
      const tcarried now = tcarried::now();
      if (!(now == lastofpass)) loopfailed("the second pass did not start from what the first left");
      if (now.bytes == firstframe.bytes) loopfailed("the first pass moved nothing it carries");
      if (now.jitter == firstframe.jitter) loopfailed("the jitter index did not move");
      if (program::playstatus.position != 1) loopfailed("the second pass did not start at position 1");
      if (program::scenes::radialframes != 1) loopfailed("scene 1's set-up did not run again");
      if (!sawbig) loopfailed("scene 3 did not switch to 640x480 in the first pass");
      sawbig = false;
    }
  }
  if (passes == 2 && scene == 4) {
    if (!sawbig) loopfailed("scene 3 did not switch to 640x480 in the second pass");
    if (width != 320) loopfailed("scene 4 did not return to 320x200");
    std::fprintf(stderr, "loop: carried\n");
    std::_Exit(3);
  }
  if (scene == 15) lastofpass = tcarried::now();
  previousscene = scene;
}

// The whole start-up of the show on the default data, the synthetic row
// clock at one frame per row and a fixed seed, with the loop option.
[[noreturn]] void loopingshow() {
  if (chdir(testsupport::datapath("").c_str()) != 0) std::_Exit(5);
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  seam::current.getticks = ticks;
  seam::current.delay = delay;
  seam::current.framesink = watchcarry;
  seam::current.forcescaled = false;
  runtime::fixedseed = 11;
  midasoffline::usesyntheticrows(1);
  if (std::freopen("/dev/null", "w", stdout) == nullptr) std::_Exit(5);
  char name[] = "morvanta", loop[] = "l";
  char* argv[] = {name, loop, nullptr};
  program::startup(2, argv);
}

TEST(Timeline, ASecondPassStartsOverAndCarriesWhatTheFirstMoved) {
  // A fresh process: the other tests leave the music library started.
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(loopingshow(), testing::ExitedWithCode(3), "loop: carried");
}

// Queues a key event as SDL would for a key press or release.
void pushkey(Uint8 type, SDLKey key) {
  SDL_Event e{};
  e.type = type;
  e.key.type = type;
  e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
  e.key.keysym.sym = key;
  SDL_PushEvent(&e);
}

// Other keys and an Escape release at frame 5 do nothing; an Escape press
// at frame 20 ends the show before another frame is presented.
void presskeys() {
  if (presented == 5) {
    pushkey(SDL_KEYDOWN, SDLK_a);
    pushkey(SDL_KEYUP, SDLK_ESCAPE);
    pushkey(SDL_KEYUP, SDLK_a);
  }
  if (presented == 20) pushkey(SDL_KEYDOWN, SDLK_ESCAPE);
  if (presented == 21) std::_Exit(5);
}
// shutdown's last step: a quit before the Escape press is a failure.
void quitonlyafterescape() {
  if (presented != 20) std::_Exit(6);
}

TEST(Timeline, EscapeEndsTheShowWithinOneFrameOtherKeysDoNothing) {
  EXPECT_EXIT(
      {
        startshow();
        presented = 0;
        onframe = presskeys;
        seam::current.finish = quitonlyafterescape;
        program::runshow();
      },
      testing::ExitedWithCode(0), "");
}

}  // namespace
